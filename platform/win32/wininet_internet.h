// The HTTP fetch through WinINet.
#pragma once

#include "platform/internet.h"

namespace quorvane::win32 {

// Each fetch runs on a worker thread of its own, so that a server that
// accepts and never answers cannot hold the caller past the deadline; the
// request also carries the deadline as its connect, send and receive
// time-outs, so that the worker ends by itself soon after.
class WinInetInternet : public Internet {
 public:
  FetchResult Fetch(const std::string& url, char* buffer, size_t size, unsigned timeout_ms) override;
};

}  // namespace quorvane::win32
