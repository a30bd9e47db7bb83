// The file-system port on the Windows file system (kernel32, ANSI calls).
#pragma once

#include "platform/file_system.h"

namespace quorvane::win32 {

class Win32FileSystem : public FileSystem {
 public:
  uint32_t GetFileAttributes(const std::string& name) override;
  unsigned GetDriveType(const std::string& root) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  bool SetFileAttributes(const std::string& path, uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  std::string GetShortPathName(const std::string& path) override;
  // Written to a temporary file beside `path` that then replaces it, so a
  // failure part-way never leaves a shortened file under `path`.
  void SaveLines(const std::string& path, const std::vector<std::string>& lines) override;
  std::vector<std::string> LoadLines(const std::string& path) override;
  void AppendLine(const std::string& path, const std::string& text) override;
};

}  // namespace quorvane::win32
