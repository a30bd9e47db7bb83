// libFuzzer target for the path clean-up and the existence test: arbitrary
// value text, cleaned and tested against a small fake file system with
// tracing on. Build and run with clang from the source folder:
//
//   mkdir -p build/fuzz && clang++ -std=c++20 -g -O1 \
//     -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I. \
//     fuzz/path_fuzz.cpp scan/path_exists.cpp scan/path_cleanup.cpp \
//     scan/file_tests.cpp app/trace_log.cpp app/program_state.cpp \
//     platform/text.cpp platform/fake/fake_file_system.cpp \
//     platform/fake/unexpected_call.cpp -o build/fuzz/path_fuzz
//   build/fuzz/path_fuzz -max_total_time=60 -max_len=512
//
// The sources it builds hold no text beyond ASCII, so clang's UTF-8-only
// execution character set changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/program_state.h"
#include "platform/fake/fake_file_system.h"
#include "platform/text.h"
#include "scan/path_cleanup.h"
#include "scan/path_exists.h"

using quorvane::fake::FakeFileSystem;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// One candidate tested from scratch: the call tree stays within its bound
// and the empty text always exists.
bool Judge(FakeFileSystem& files, const std::string& candidate) {
  files.drive_type_queries = 0;
  const bool found = quorvane::PathExiste(candidate);
  // Four separators, each cut at most once per call: 1 + 1 + 2 + 4 + 8.
  Require(files.drive_type_queries <= 16);
  if (candidate.empty()) Require(found && files.drive_type_queries == 0);
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  FakeFileSystem files;
  files.AddFile("C:\\Program Files\\My App\\app.exe");
  files.AddFile("C:\\Windows\\system32\\shell32.dll");
  files.AddFolder("C:\\Apps\\[Setup]");
  files.AddFile("C:\\Quorvane\\debug.txt");
  files.SetDriveType('D', quorvane::kDriveCdrom);
  files.SetDriveType('E', quorvane::kDriveRemovable);
  files.SetDriveType('N', quorvane::kDriveRemote);
  quorvane::Platform.files = &files;
  quorvane::State.TracePath = "C:\\Quorvane\\debug.txt";
  quorvane::State.TraceEnabled = true;

  const std::string cleaned = quorvane::RemoveAspas(text);
  // Only the ends are touched: the result is a piece of the trimmed input,
  // and never begins or ends with a blank.
  Require(quorvane::Trim(text).find(cleaned) != std::string::npos);
  Require(cleaned.empty() || (static_cast<unsigned char>(cleaned.front()) > 32 &&
                              static_cast<unsigned char>(cleaned.back()) > 32));

  Judge(files, text);
  Judge(files, cleaned);

  quorvane::Platform.files = nullptr;
  quorvane::State = quorvane::ProgramState{};
  return 0;
}
