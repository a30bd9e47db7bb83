// Internet port: one plain HTTP GET.
#pragma once

#include <cstddef>
#include <string>

namespace quorvane {

class Internet {
 public:
  virtual ~Internet() = default;
  // One GET of `url` over a direct connection, no extra headers; one read of
  // at most `size` bytes into `buffer`. False when the session or the address
  // cannot be opened, the read fails, or the server does not answer in time.
  virtual bool Fetch(const std::string& url, char* buffer, size_t size) = 0;
};

}  // namespace quorvane
