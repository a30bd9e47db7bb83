// The version check through WinINet against a small HTTP server of the
// test's own on 127.0.0.1: the real fetch, statuses, long replies, a server
// that hangs up and one that never answers.
#include "platform/win32/windows_api.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/program_state.h"
#include "platform/win32/wininet_internet.h"
#include "update/version_check.h"

namespace quorvane {
namespace {

std::string Reply(const std::string& status_line, const std::string& body, const std::string& headers = "") {
  return "HTTP/1.1 " + status_line + "\r\nContent-Type: text/plain\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

// "3.81" and blanks up to the buffer's end, then digits that would make the
// reply newer if more than 1024 bytes were read.
const std::string kLongBody = "3.81" + std::string(1020, ' ') + std::string(2000, '9');

// One listening socket on a free port of 127.0.0.1, answering one connection
// at a time by the request's path. Lives for one test.
class TestHttpServer {
 public:
  enum class Behaviour { kAnswer, kHangUp, kSilent, kTrickle };
  struct Handling {
    Behaviour behaviour;
    std::string reply;
  };
  static Handling Answer(std::string reply) { return {Behaviour::kAnswer, std::move(reply)}; }
  static Handling Just(Behaviour behaviour) { return {behaviour, std::string()}; }

  explicit TestHttpServer(std::map<std::string, Handling> routes) : routes_(std::move(routes)) {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "test server cannot listen: " << WSAGetLastError();
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~TestHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (SOCKET held : held_) closesocket(held);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (started_) WSACleanup();
  }

  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  int requests() const { return requests_; }
  // Connections left unanswered that the client has since closed.
  int held_closed_by_client() const { return held_closed_by_client_; }
  bool trickle_finished() const { return trickle_finished_; }

 private:
  void Serve() {
    while (!stop_) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(listener_, &readable);
      for (SOCKET held : held_) FD_SET(held, &readable);
      timeval wait{0, 50000};
      if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
      DropHeldConnectionsClosedByClient(readable);
      if (!FD_ISSET(listener_, &readable)) continue;
      const SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      Respond(client);
    }
  }

  void DropHeldConnectionsClosedByClient(fd_set& readable) {
    for (auto it = held_.begin(); it != held_.end();) {
      char byte;
      if (FD_ISSET(*it, &readable) && recv(*it, &byte, 1, 0) <= 0) {
        closesocket(*it);
        it = held_.erase(it);
        ++held_closed_by_client_;
      } else {
        ++it;
      }
    }
  }

  static std::string RequestPath(SOCKET client) {
    DWORD timeout_ms = 5000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout_ms), sizeof timeout_ms);
    std::string request;
    char chunk[512];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
      const int got = recv(client, chunk, sizeof chunk, 0);
      if (got <= 0) break;
      request.append(chunk, got);
    }
    const size_t start = request.find(' ');
    const size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
    return end == std::string::npos ? std::string() : request.substr(start + 1, end - start - 1);
  }

  void Respond(SOCKET client) {
    const std::string path = RequestPath(client);
    ++requests_;
    const auto route = routes_.find(path);
    if (route != routes_.end() && route->second.behaviour == Behaviour::kSilent) {
      held_.push_back(client);  // answered by nothing until the server stops
      return;
    }
    if (route != routes_.end() && route->second.behaviour == Behaviour::kTrickle) {
      // A header that never ends, one byte every 100 ms: every single receive
      // gets data in time, so only a deadline on the whole fetch ends it.
      const std::string start = "HTTP/1.1 200 OK\r\nX-Padding: ";
      send(client, start.data(), static_cast<int>(start.size()), 0);
      int sent = 0;
      while (sent < 600 && !stop_ && send(client, "a", 1, 0) == 1) {
        ++sent;
        Sleep(100);
      }
      trickle_finished_ = !stop_;
    } else if (route == routes_.end()) {
      const std::string reply = Reply("500 No Route", "no route for " + path);
      send(client, reply.data(), static_cast<int>(reply.size()), 0);
    } else if (route->second.behaviour == Behaviour::kAnswer) {
      const std::string& reply = route->second.reply;
      send(client, reply.data(), static_cast<int>(reply.size()), 0);
    }
    shutdown(client, SD_SEND);
    closesocket(client);
  }

  bool started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  const std::map<std::string, Handling> routes_;
  std::vector<SOCKET> held_;              // touched by the server thread only, until it is joined
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::atomic<int> held_closed_by_client_{0};
  std::atomic<bool> trickle_finished_{false};
  std::thread thread_;
};

// A port of 127.0.0.1 on which nothing listens.
unsigned short UnusedPort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(probe);
  WSACleanup();
  return ntohs(address.sin_port);
}

class VersionCheckWine : public ::testing::Test {
 protected:
  using Server = TestHttpServer;

  void SetUp() override {
    saved_ = Platform;
    Platform.internet = &internet_;
  }
  void TearDown() override { Platform = saved_; }

  int Compare(const std::string& path) { return CompararVersao(server_.Url(path), "3.81"); }

  win32::WinInetInternet internet_;
  TestHttpServer server_{{
      {"/current", Server::Answer(Reply("200 OK", "3.81"))},
      {"/current-crlf", Server::Answer(Reply("200 OK", "3.81\r\n"))},
      {"/newer", Server::Answer(Reply("200 OK", "3.9"))},
      {"/long", Server::Answer(Reply("200 OK", kLongBody))},
      {"/missing", Server::Answer(Reply("404 Not Found", "3.81"))},
      {"/error-page", Server::Answer(Reply("500 Internal Server Error", "<html>Erro</html>"))},
      {"/moved", Server::Answer(Reply("302 Found", "", "Location: /newer\r\n"))},
      {"/nul", Server::Answer(Reply("200 OK", std::string("3.81\0" "9.0", 8)))},
      {"/high", Server::Answer(Reply("200 OK", "\xE9\xFF"))},
      {"/hang-up", Server::Just(Server::Behaviour::kHangUp)},
      {"/silent", Server::Just(Server::Behaviour::kSilent)},
      {"/trickle", Server::Just(Server::Behaviour::kTrickle)},
  }};
  Services saved_;
};

TEST_F(VersionCheckWine, RepliesOfTheServer) {
  struct Case {
    const char* path;
    int expected;
  };
  const Case cases[] = {
      {"/current", kVersionCurrent},
      {"/current-crlf", kVersionCurrent},
      {"/newer", kVersionNewer},
      {"/long", kVersionCurrent},
      {"/missing", kVersionFetchFailed},
      {"/error-page", kVersionFetchFailed},
      {"/moved", kVersionNewer},  // WinINet follows the redirect; the final reply is a 200
      {"/nul", kVersionCurrent},  // the text ends at the zero byte
      {"/high", kVersionNewer},
      {"/hang-up", kVersionFetchFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(Compare(c.path), c.expected);
  }
}

TEST_F(VersionCheckWine, NoServerListening) {
  const std::string url = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/quorvane_versao.txt";
  EXPECT_EQ(CompararVersao(url, "3.81"), kVersionFetchFailed);
}

TEST_F(VersionCheckWine, ServerThatNeverAnswersEndsInAFailure) {
  EXPECT_EQ(Compare("/silent"), kVersionFetchFailed);
  EXPECT_EQ(server_.requests(), 1);
}

TEST_F(VersionCheckWine, BackendReadsOnceAtMostSizeBytesAndReportsTheStatus) {
  std::vector<char> buffer(1024 + 64, 'Z');
  FetchResult result = internet_.Fetch(server_.Url("/long"), buffer.data(), 1024, 10000);
  EXPECT_TRUE(result.read);
  EXPECT_EQ(result.status, 200u);
  EXPECT_EQ(std::string(buffer.data(), 4), "3.81");
  EXPECT_EQ(std::string(buffer.data() + 1024, 64), std::string(64, 'Z')) << "written past the size";

  std::vector<char> page(64, 0);
  result = internet_.Fetch(server_.Url("/missing"), page.data(), page.size(), 10000);
  EXPECT_TRUE(result.read);
  EXPECT_EQ(result.status, 404u);
  EXPECT_EQ(std::string(page.data()), "3.81");

  // Beyond the bytes delivered the buffer is as it was.
  std::vector<char> short_reply(16, 'Z');
  result = internet_.Fetch(server_.Url("/newer"), short_reply.data(), short_reply.size(), 10000);
  EXPECT_TRUE(result.read);
  EXPECT_EQ(std::string(short_reply.data(), short_reply.size()), "3.9" + std::string(13, 'Z'));
}

TEST_F(VersionCheckWine, BackendGivesUpAtTheDeadlineWithoutTouchingTheBuffer) {
  std::vector<char> buffer(32, 'Z');
  const FetchResult result = internet_.Fetch(server_.Url("/silent"), buffer.data(), buffer.size(), 500);
  EXPECT_FALSE(result.read);
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string(32, 'Z'));
  // The abandoned worker ends by itself and lets the connection go
  // (the guard only keeps a broken build from hanging).
  for (int i = 0; i < 300 && server_.held_closed_by_client() == 0; ++i) Sleep(100);
  EXPECT_EQ(server_.held_closed_by_client(), 1);
}

TEST_F(VersionCheckWine, BackendGivesUpAtTheDeadlineOnAServerThatTrickles) {
  std::vector<char> buffer(32, 'Z');
  const FetchResult result = internet_.Fetch(server_.Url("/trickle"), buffer.data(), buffer.size(), 1000);
  EXPECT_FALSE(result.read);
  EXPECT_FALSE(server_.trickle_finished()) << "the fetch waited for the server to give up";
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string(32, 'Z'));
}

}  // namespace
}  // namespace quorvane
