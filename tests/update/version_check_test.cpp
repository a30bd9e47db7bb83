#include "update/version_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/credits.h"
#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

using fake::ScriptedReply;

const std::string kCurrentText = "Em uso a \xFAltima vers\xE3o dispon\xEDvel.";
const std::string kNewerText = "Nova vers\xE3o dispon\xEDvel.";
const std::string kFailedText = "Erro ao obter informa\xE7\xF5" "es da Internet.";

std::string Printable(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out.size() > 80 ? out.substr(0, 80) + "... (" + std::to_string(bytes.size()) + " bytes)" : out;
}

class VersionCheck : public ::testing::Test {
 protected:
  int Compare(ScriptedReply reply) {
    program.internet.Reply(std::move(reply));
    return CompararVersao(kVersionFileAddress, kVersion);
  }
  testing::FakeProgram program;
};

struct ReplyCase {
  std::string body;
  int expected;
};

TEST_F(VersionCheck, RepliesComparedWithTheRunningVersion) {
  const std::vector<ReplyCase> cases = {
      {"3.81", kVersionCurrent},
      // As numbers, part by part: the fraction is a decimal fraction.
      {"3.9", kVersionNewer},
      {"4.0", kVersionNewer},
      {"3.82", kVersionNewer},
      {"10.0", kVersionNewer},
      {"3.80", kVersionCurrent},
      {"3.8", kVersionCurrent},
      {"3.7", kVersionCurrent},
      {"2.99", kVersionCurrent},
      {"3.810", kVersionCurrent},
      {"3.811", kVersionNewer},
      {"03.81", kVersionCurrent},
      {"4", kVersionNewer},
      {"12", kVersionNewer},
      {"3", kVersionCurrent},
      {"", kVersionCurrent},
      // Line ends and blanks at the end are not part of the version.
      {"3.81\r\n", kVersionCurrent},
      {"3.81 ", kVersionCurrent},
      {"3.81\n\n \t\r\n", kVersionCurrent},
      {"3.9\r\n", kVersionNewer},
      {"3.8\n", kVersionCurrent},
      // Anything that is not a plain decimal number is compared as text.
      {"A", kVersionNewer},
      {"abc", kVersionNewer},
      {"<html><body>Not Found</body></html>", kVersionNewer},
      {"3.81a", kVersionNewer},
      {"3.8a", kVersionNewer},
      {"3.81.1", kVersionNewer},
      // The text ends at the first zero byte.
      {std::string("3.81\0" "9", 6), kVersionCurrent},
      {std::string("3.9\0garbage", 11), kVersionNewer},
      {std::string("\0" "4.0", 4), kVersionCurrent},
      // Bytes of 128 and above sort after every digit and are never trimmed.
      {"\xE9", kVersionNewer},
      {"\xFF", kVersionNewer},
      {"3.8\xB9", kVersionNewer},
      {"3.81\xA0", kVersionNewer},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE("reply \"" + Printable(c.body) + "\"");
    EXPECT_EQ(Compare(ScriptedReply::Body(c.body)), c.expected);
  }
}

TEST_F(VersionCheck, ReplyFillingTheWholeBuffer) {
  const std::vector<ReplyCase> cases = {
      {std::string(1024, '9'), kVersionNewer},
      {std::string(1024, 'A'), kVersionNewer},
      {std::string(1020, '0') + "3.81", kVersionCurrent},
      {std::string(1020, '0') + "3.82", kVersionNewer},
      {"3.81" + std::string(1020, ' '), kVersionCurrent},
      // Only the first 1024 bytes are read.
      {"3.81" + std::string(1020, ' ') + "9", kVersionCurrent},
      {"3.81" + std::string(1020, '0') + "1", kVersionCurrent},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE("reply \"" + Printable(c.body) + "\"");
    EXPECT_EQ(Compare(ScriptedReply::Body(c.body)), c.expected);
  }
}

TEST_F(VersionCheck, FailedFetchOrAnyStatusBut200IsAFailure) {
  EXPECT_EQ(Compare(ScriptedReply::Failure()), kVersionFetchFailed);
  for (unsigned status : {0u, 204u, 301u, 302u, 404u, 500u}) {
    SCOPED_TRACE("status " + std::to_string(status));
    EXPECT_EQ(Compare(ScriptedReply::Body("3.81", status)), kVersionFetchFailed);
    EXPECT_EQ(Compare(ScriptedReply::Body("<html>Error</html>", status)), kVersionFetchFailed);
  }
}

TEST_F(VersionCheck, OneFetchOfTheAddressIntoA1024ByteBufferWithTheDeadline) {
  EXPECT_EQ(Compare(ScriptedReply::Body("3.81")), kVersionCurrent);
  ASSERT_EQ(program.internet.calls.size(), 1u);
  EXPECT_EQ(program.internet.calls[0].url, kVersionFileAddress);
  EXPECT_EQ(program.internet.calls[0].size, 1024u);
  EXPECT_EQ(program.internet.calls[0].timeout_ms, kFetchTimeoutMs);
  EXPECT_EQ(kVersionFileAddress, kHomePage + "/quorvane_versao.txt");
}

TEST_F(VersionCheck, FetchZeroFillsTheCallersBuffer) {
  char buffer[16];
  std::memset(buffer, 'X', sizeof buffer);
  program.internet.Reply(ScriptedReply::Body("3.9"));
  EXPECT_TRUE(ObterArquivoInternet("http://host/v.txt", buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("3.9", 3) + std::string(13, '\0'));

  std::memset(buffer, 'X', sizeof buffer);
  program.internet.Reply(ScriptedReply::Failure());
  EXPECT_FALSE(ObterArquivoInternet("http://host/v.txt", buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(16, '\0'));
}

struct ClickCase {
  ScriptedReply reply;
  std::string message;
  bool opens_home_page;
};

TEST(VersionCheckClick, TellsTheUserAndOpensTheHomePageOnlyForANewerVersion) {
  const std::vector<ClickCase> cases = {
      {ScriptedReply::Body("3.81\r\n"), kCurrentText, false},
      {ScriptedReply::Body("3.9"), kNewerText, true},
      {ScriptedReply::Body("3.9", 404), kFailedText, false},
      {ScriptedReply::Failure(), kFailedText, false},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE("message \"" + Printable(c.message) + "\"");
    testing::FakeProgram click;
    click.internet.Reply(c.reply);
    click.dialogs.answers.push_back(kIdOk);
    std::vector<std::string> events;
    click.dialogs.on_show = [&](const fake::MessageBoxCall&) { events.push_back("box"); };
    click.shell.on_execute = [&](const fake::ShellCall&) {
      // The box has had its answer, so it is closed.
      events.push_back(click.dialogs.answers.empty() ? "open after close" : "open while shown");
    };

    click.form->BotaoChecaVersaoClick();

    ASSERT_EQ(click.internet.calls.size(), 1u);
    EXPECT_EQ(click.internet.calls[0].url, kVersionFileAddress);
    ASSERT_EQ(click.dialogs.calls.size(), 1u);
    EXPECT_EQ(click.dialogs.calls[0].text, c.message);
    EXPECT_EQ(click.dialogs.calls[0].caption, "By Durmont - " + kHomePage);
    EXPECT_EQ(click.dialogs.calls[0].caption, CreditCaption);
    EXPECT_EQ(click.dialogs.calls[0].style, 0u);
    if (c.opens_home_page) {
      EXPECT_EQ(events, (std::vector<std::string>{"box", "open after close"}));
      ASSERT_EQ(click.shell.calls.size(), 1u);
      EXPECT_EQ(click.shell.calls[0].operation, "open");
      EXPECT_EQ(click.shell.calls[0].file, kHomePage);
      EXPECT_EQ(click.shell.calls[0].parameters, "");
      EXPECT_EQ(click.shell.calls[0].directory, "");
      EXPECT_EQ(click.shell.calls[0].show, 1);
    } else {
      EXPECT_EQ(events, std::vector<std::string>{"box"});
      EXPECT_TRUE(click.shell.calls.empty());
    }
  }
}

}  // namespace
}  // namespace quorvane
