// The application object: message processing, the end of the message loop,
// and the standard failure box.
#pragma once

#include <exception>
#include <string>

#include "platform/system.h"

namespace quorvane {

// What delivers window messages: the Win32 message queue in the product, a
// queue of scripted user actions in the native tests.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Handles every pending message, then returns.
  virtual void ProcessMessages() = 0;
  // Runs until Quit is called.
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

class TApplication {
 public:
  TApplication(MessagePump& pump, Dialogs& dialogs) : pump_(&pump), dialogs_(&dialogs) {}

  void Initialize() {}
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  void ProcessMessages() { pump_->ProcessMessages(); }
  void Run() { terminated_ = false; pump_->Run(); }
  void Terminate() { terminated_ = true; pump_->Quit(); }
  bool Terminated() const { return terminated_; }

  // The standard failure box: the error's message, the application title,
  // an OK button and the error icon.
  void ShowException(const std::exception& error);

  // Runs one event handler as the message loop does: an error of the
  // platform's family is shown with ShowException and the program goes on.
  template <typename Handler>
  void Dispatch(Handler&& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }

 private:
  MessagePump* pump_;
  Dialogs* dialogs_;
  std::string title_;
  bool terminated_ = false;
};

}  // namespace quorvane
