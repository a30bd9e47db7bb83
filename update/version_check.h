// The new-version check: fetch the published version text, compare it with
// the running version, tell the user, and open the home page when a newer
// release exists.
#pragma once

#include <cstddef>
#include <string>

#ifndef QUORVANE_FETCH_TIMEOUT_MS
#define QUORVANE_FETCH_TIMEOUT_MS 30000
#endif

namespace quorvane {

// The reply buffer: one read of at most this many bytes.
inline constexpr size_t kVersionReplySize = 1024;
// The whole fetch, from opening the session to the end of the read.
inline constexpr unsigned kFetchTimeoutMs = QUORVANE_FETCH_TIMEOUT_MS;

// Results of CompararVersao.
inline constexpr int kVersionCurrent = 0;
inline constexpr int kVersionNewer = 1;
inline constexpr int kVersionFetchFailed = 2;

inline constexpr const char* kMessageCurrent = "Em uso a última versão disponível.";
inline constexpr const char* kMessageNewer = "Nova versão disponível.";
inline constexpr const char* kMessageFetchFailed = "Erro ao obter informações da Internet.";

// One HTTP GET of `address` into `buffer`, zero-filled first. True only when
// the read succeeded in time and the reply's status is 200.
bool ObterArquivoInternet(const std::string& address, char* buffer, size_t size);

// Fetches `address` and compares the reply with `running_version`:
// kVersionCurrent, kVersionNewer or kVersionFetchFailed.
int CompararVersao(const std::string& address, const std::string& running_version);

// Runs the comparison and tells the user in a box with `caption` (no owner
// window, OK only); for a newer release then opens the home page.
void ChecarNovaVersao(const std::string& caption, const std::string& address, const std::string& running_version);

}  // namespace quorvane
