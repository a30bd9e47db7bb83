#include "update/version_check.h"

#include <cstring>
#include <string_view>

#include "app/credits.h"
#include "app/main_form.h"
#include "app/program_state.h"
#include "platform/text.h"

namespace quorvane {

namespace {

// A version file is often saved with a line end, or padded by the server;
// neither is part of the version.
std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// Digits, optionally followed by one "." and more digits.
bool IsDecimalNumber(std::string_view text) {
  const size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  if (whole.empty() || !AllDigits(whole)) return false;
  if (dot == std::string_view::npos) return true;
  const std::string_view fraction = text.substr(dot + 1);
  return !fraction.empty() && AllDigits(fraction);
}

int Sign(int value) { return (value > 0) - (value < 0); }

// Compares two decimal numbers by value, of any length: "3.9" is above
// "3.81", "10.0" above "9.99", and "3.810" equals "3.81".
int CompareDecimalNumbers(std::string_view a, std::string_view b) {
  auto split = [](std::string_view text, std::string_view& whole, std::string_view& fraction) {
    const size_t dot = text.find('.');
    whole = text.substr(0, dot);
    fraction = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  };
  std::string_view a_whole, a_fraction, b_whole, b_fraction;
  split(a, a_whole, a_fraction);
  split(b, b_whole, b_fraction);
  if (a_whole.size() != b_whole.size()) return a_whole.size() < b_whole.size() ? -1 : 1;
  if (const int order = a_whole.compare(b_whole)) return Sign(order);
  // Without trailing zeros, fractions order as plain digit texts.
  return Sign(a_fraction.compare(b_fraction));
}

// Byte by byte, letters upper-cased, bytes unsigned; the end of a text
// counts as a byte of value 0.
int CompareAsText(std::string_view a, std::string_view b) {
  for (size_t i = 0;; ++i) {
    const unsigned char ca = i < a.size() ? AnsiUpper(static_cast<unsigned char>(a[i])) : 0;
    const unsigned char cb = i < b.size() ? AnsiUpper(static_cast<unsigned char>(b[i])) : 0;
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

}  // namespace

bool ObterArquivoInternet(const std::string& address, char* buffer, size_t size) {
  std::memset(buffer, 0, size);
  const FetchResult result = Platform.internet->Fetch(address, buffer, size, kFetchTimeoutMs);
  // An error page is not the version file, whatever its body says.
  return result.read && result.status == 200;
}

int CompararVersao(const std::string& address, const std::string& running_version) {
  char reply[kVersionReplySize];
  if (!ObterArquivoInternet(address, reply, sizeof reply)) return kVersionFetchFailed;
  // The text ends at the first zero byte, or with the buffer when the read filled it.
  const void* end = std::memchr(reply, 0, sizeof reply);
  const size_t length = end ? static_cast<const char*>(end) - reply : sizeof reply;
  const std::string_view received = WithoutTrailingBlanks(std::string_view(reply, length));
  const int order = IsDecimalNumber(received) && IsDecimalNumber(running_version)
                        ? CompareDecimalNumbers(received, running_version)
                        : CompareAsText(received, running_version);
  return order > 0 ? kVersionNewer : kVersionCurrent;
}

void ChecarNovaVersao(const std::string& caption, const std::string& address, const std::string& running_version) {
  switch (CompararVersao(address, running_version)) {
    case kVersionCurrent:
      Platform.dialogs->MessageBox(kMessageCurrent, caption, kMbOk);
      break;
    case kVersionNewer:
      Platform.dialogs->MessageBox(kMessageNewer, caption, kMbOk);
      // Only once the user has closed the box.
      Platform.shell->Execute("open", kHomePage, "", "", kSwShowNormal);
      break;
    default:
      Platform.dialogs->MessageBox(kMessageFetchFailed, caption, kMbOk);
      break;
  }
}

void TForm1::BotaoChecaVersaoClick() { ChecarNovaVersao(CreditCaption, kVersionFileAddress, kVersion); }

}  // namespace quorvane
