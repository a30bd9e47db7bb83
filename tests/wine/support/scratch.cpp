#include "tests/wine/support/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvane::wine_test {

namespace {
std::string ProcessTag() { return std::to_string(GetCurrentProcessId()); }
}  // namespace

ScratchFolder::ScratchFolder() {
  static int made = 0;
  path_ = "C:\\QuorvaneTest-" + ProcessTag() + "-" + std::to_string(++made);
  RemoveTree(path_);
  EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_ << " error " << GetLastError();
  path_ += "\\";
}

ScratchFolder::~ScratchFolder() {
  // A program started in the folder may still hold it for a moment.
  const std::string folder = path_.substr(0, path_.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    RemoveTree(folder);
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Sleep(100);
  }
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path << " error " << GetLastError();
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(ok && written == bytes.size()) << path;
}

std::string ReadBytes(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

void MakeFolder(const std::string& path) {
  EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path << " error " << GetLastError();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((pattern + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  for (const std::string& name : FolderEntries(path)) RemoveTree(path + "\\" + name);
  RemoveDirectoryA(path.c_str());
}

ScratchKey::ScratchKey() : relative_("Software\\QuorvaneTest-" + ProcessTag()) {
  RegDeleteTreeA(HKEY_CURRENT_USER, relative_.c_str());
  const LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, relative_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                         nullptr, &key_, nullptr);
  EXPECT_EQ(status, ERROR_SUCCESS) << relative_;
}

ScratchKey::~ScratchKey() {
  if (key_) RegCloseKey(key_);
  RegDeleteTreeA(HKEY_CURRENT_USER, relative_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, relative_.c_str());
}

std::string ToAnsi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), size, nullptr, nullptr);
  return ansi;
}

std::vector<std::string> SplitCrLf(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find("\r\n", start);
    if (end == std::string::npos) end = content.size();
    lines.push_back(content.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace quorvane::wine_test
