#include "platform/win32/file_system_backend.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"
#include "platform/text.h"

namespace quorvane::win32 {

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!IsValid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t chunk = std::min<size_t>(bytes.size() - done, 1u << 20);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

// The folder part of a path, with its final separator; empty for a bare
// name, which lives in the current folder.
std::string FolderOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Creates a new, empty file in `folder` under a name nothing else uses and
// gives that name; `name` stays empty when no such file could be made.
HANDLE CreateTemporaryBeside(const std::string& folder, std::string& name) {
  const std::string stem = folder + "~quorvane-" + IntToHex(GetCurrentProcessId(), 8) + "-";
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = stem + IntToHex(++counter, 4) + ".tmp";
    const HANDLE file = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      name = candidate;
      return file;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

// Under Wine a read-only file can be replaced by a rename and, for the root
// user, opened for writing; Windows refuses both. Asked first, so a
// read-only file is left alone everywhere.
bool IsReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

uint32_t Win32FileSystem::GetFileAttributes(const std::string& name) {
  return GetFileAttributesA(name.c_str());
}

unsigned Win32FileSystem::GetDriveType(const std::string& root) { return GetDriveTypeA(root.c_str()); }

std::vector<std::string> Win32FileSystem::FindFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    // Only files: a folder that happens to match is no file to list.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.emplace_back(found.cFileName, strnlen(found.cFileName, sizeof found.cFileName));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool Win32FileSystem::SetFileAttributes(const std::string& path, uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::string Win32FileSystem::GetShortPathName(const std::string& path) {
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    const DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    // A result that does not fit gives the size it needs instead.
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(static_cast<size_t>(length) + 1, '\0');
  }
  return std::string();
}

void Win32FileSystem::SaveLines(const std::string& path, const std::vector<std::string>& lines) {
  if (IsReadOnlyFile(path)) throw EFCreateError("Cannot create file " + path);
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  std::string temporary;
  FileHandle file(CreateTemporaryBeside(FolderOf(path), temporary));
  bool saved = file.IsValid() && WriteAll(file.Get(), content) && FlushFileBuffers(file.Get());
  saved = file.Close() && saved;
  saved = saved && MoveFileExA(temporary.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!saved) {
    if (!temporary.empty()) DeleteFileA(temporary.c_str());
    throw EFCreateError("Cannot create file " + path);
  }
}

std::vector<std::string> Win32FileSystem::LoadLines(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) throw EFOpenError("Cannot open file \"" + path + "\"");
  std::string text;
  char chunk[65536];
  while (true) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr))
      throw EFOpenError("Cannot open file \"" + path + "\"");
    if (read == 0) break;
    text.append(chunk, read);
  }
  return SplitLines(text);
}

void Win32FileSystem::AppendLine(const std::string& path, const std::string& text) {
  if (IsReadOnlyFile(path)) return;
  // FILE_APPEND_DATA alone sends every write to the end of the file, as the
  // stream mode "a+" does; binary, so the CR LF is written as it is.
  FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return;
  WriteAll(file.Get(), std::string(text.c_str()) + "\r\n");
}

}  // namespace quorvane::win32
