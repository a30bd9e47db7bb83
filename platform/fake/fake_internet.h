// An in-memory Internet: each fetch takes the next scripted reply and is
// recorded. A fetch with nothing scripted fails the test.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/internet.h"

namespace quorvane::fake {

struct ScriptedReply {
  bool read = true;     // false: the session, the address or the read failed, or time ran out
  unsigned status = 200;
  std::string body;     // any bytes, NUL included; one read delivers at most the buffer's size

  static ScriptedReply Body(std::string body, unsigned status = 200) { return {true, status, std::move(body)}; }
  static ScriptedReply Failure() { return {false, 0, std::string()}; }
};

struct FetchCall {
  std::string url;
  size_t size;
  unsigned timeout_ms;
};

class FakeInternet : public Internet {
 public:
  std::deque<ScriptedReply> replies;
  std::vector<FetchCall> calls;

  void Reply(ScriptedReply reply) { replies.push_back(std::move(reply)); }
  FetchResult Fetch(const std::string& url, char* buffer, size_t size, unsigned timeout_ms) override;
};

}  // namespace quorvane::fake
