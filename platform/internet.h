// Internet port: one plain HTTP GET.
#pragma once

#include <cstddef>
#include <string>

namespace quorvane {

// What one fetch brought back.
struct FetchResult {
  // The session and the address opened and the one read succeeded, all
  // before the deadline.
  bool read = false;
  // The reply's HTTP status code (after any redirect the platform followed);
  // 0 when no reply came.
  unsigned status = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;
  // One GET of `url` over a direct connection, no extra headers; one read of
  // at most `size` bytes into `buffer`, which is left as it was beyond the
  // bytes delivered. Gives up after `timeout_ms` milliseconds for the whole
  // fetch; the buffer is then not touched.
  virtual FetchResult Fetch(const std::string& url, char* buffer, size_t size, unsigned timeout_ms) = 0;
};

}  // namespace quorvane
