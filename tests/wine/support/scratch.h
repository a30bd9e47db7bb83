// Scratch places of one test in the real system: a folder under C:\ and a
// registry key under HKEY_CURRENT_USER\Software, both named after the test
// process and removed with everything in them when the test ends. Plain
// Win32 calls, so the tests do not check the backends with themselves.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>
#include <vector>

namespace quorvane::wine_test {

class ScratchFolder {
 public:
  ScratchFolder();  // fails the current test when it cannot be made
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, ending in "\".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Whole-file bytes; a failure to write fails the current test.
void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; "<unreadable>" when it cannot be read.
std::string ReadBytes(const std::string& path);
void MakeFolder(const std::string& path);
// Names in a folder (not "." and ".."), sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
// The lines of text whose every line ends in CR LF; a lone CR or LF stays
// inside its line, so a stray break shows.
std::vector<std::string> SplitCrLf(const std::string& content);
// Removes a file or a folder with everything in it, read-only marks too.
void RemoveTree(const std::string& path);

class ScratchKey {
 public:
  ScratchKey();  // HKCU\Software\QuorvaneTest-<pid>; fails the test when it cannot be made
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // Below HKEY_CURRENT_USER, without a leading "\".
  const std::string& Relative() const { return relative_; }
  HKEY Handle() const { return key_; }

 private:
  std::string relative_;
  HKEY key_ = nullptr;
};

// ANSI text of a wide registry name, by the ANSI code page.
std::string ToAnsi(const std::wstring& wide);

}  // namespace quorvane::wine_test
