#include "platform/fake/fake_internet.h"

#include <algorithm>
#include <cstring>

#include "platform/fake/unexpected_call.h"

namespace quorvane::fake {

FetchResult FakeInternet::Fetch(const std::string& url, char* buffer, size_t size, unsigned timeout_ms) {
  calls.push_back(FetchCall{url, size, timeout_ms});
  if (replies.empty()) {
    ReportUnexpectedCall("Fetch(\"" + url + "\") with no scripted reply");
    return FetchResult{};
  }
  const ScriptedReply reply = std::move(replies.front());
  replies.pop_front();
  if (!reply.read) return FetchResult{};
  // Like the platform's read: at most `size` bytes, the rest of the buffer untouched.
  std::memcpy(buffer, reply.body.data(), std::min(size, reply.body.size()));
  return FetchResult{true, reply.status};
}

}  // namespace quorvane::fake
