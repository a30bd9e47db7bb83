#include "platform/win32/wininet_internet.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/win32/windows_api.h"

namespace quorvane::win32 {

namespace {

// Closes its handle when it goes; declared in opening order, so the request
// closes first and the Internet handle last.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

// Shared by the caller and the worker: the worker may outlive a caller that
// gave up waiting, so it reads into bytes of its own, never the caller's.
struct FetchJob {
  std::string url;
  DWORD timeout_ms = 0;
  std::vector<char> bytes;
  DWORD delivered = 0;

  std::mutex mutex;
  std::condition_variable finished_changed;
  bool finished = false;
  FetchResult result;
};

void SetTimeouts(HINTERNET handle, DWORD timeout_ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionA(handle, option, &timeout_ms, sizeof timeout_ms);
}

std::string Component(const char* text, DWORD length) { return text ? std::string(text, length) : std::string(); }

FetchResult RunFetch(FetchJob& job) {
  // Pointers into the address itself (no buffers of ours), with lengths.
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(job.url.c_str(), 0, 0, &parts)) return FetchResult{};
  DWORD flags = 0;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS)
    flags = INTERNET_FLAG_SECURE;
  else if (parts.nScheme != INTERNET_SCHEME_HTTP)
    return FetchResult{};
  const std::string host = Component(parts.lpszHostName, parts.dwHostNameLength);
  std::string object = Component(parts.lpszUrlPath, parts.dwUrlPathLength) +
                       Component(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (object.empty()) object.push_back('/');

  InternetHandle internet(InternetOpenA(nullptr, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!internet) return FetchResult{};
  SetTimeouts(internet.get(), job.timeout_ms);
  InternetHandle connection(
      InternetConnectA(internet.get(), host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return FetchResult{};
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!request) return FetchResult{};
  // Wine reads the time-outs from the request handle only.
  SetTimeouts(request.get(), job.timeout_ms);
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return FetchResult{};

  FetchResult result;
  DWORD status = 0;
  DWORD status_size = sizeof status;
  if (HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &status_size, nullptr))
    result.status = status;
  // One read: whatever it delivers is the reply.
  DWORD delivered = 0;
  result.read = InternetReadFile(request.get(), job.bytes.data(), static_cast<DWORD>(job.bytes.size()), &delivered) != FALSE;
  job.delivered = std::min<DWORD>(delivered, static_cast<DWORD>(job.bytes.size()));
  return result;
}

}  // namespace

FetchResult WinInetInternet::Fetch(const std::string& url, char* buffer, size_t size, unsigned timeout_ms) {
  auto job = std::make_shared<FetchJob>();
  job->url = url;
  job->timeout_ms = timeout_ms;
  job->bytes.assign(std::min<size_t>(size, 0x7FFFFFFF), 0);
  try {
    std::thread([job] {
      FetchResult result;
      try {
        result = RunFetch(*job);
      } catch (...) {
        result = FetchResult{};
      }
      std::lock_guard<std::mutex> lock(job->mutex);
      job->result = result;
      job->finished = true;
      job->finished_changed.notify_all();
    }).detach();
  } catch (const std::exception&) {
    return FetchResult{};  // no thread to be had
  }

  std::unique_lock<std::mutex> lock(job->mutex);
  if (!job->finished_changed.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return job->finished; }))
    return FetchResult{};  // out of time; the worker finishes on its own
  if (job->result.read && job->delivered > 0) std::memcpy(buffer, job->bytes.data(), job->delivered);
  return job->result;
}

}  // namespace quorvane::win32
