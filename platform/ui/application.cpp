#include "platform/ui/application.h"

namespace quorvane {

void TApplication::ShowException(const std::exception& error) {
  std::string message = error.what();
  if (!message.empty() && message.back() != '.') message += '.';
  dialogs_->MessageBox(message, title_, kMbOk | kMbIconError);
}

}  // namespace quorvane
