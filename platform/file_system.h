// File-system port: the attribute and drive queries of the existence test,
// the directory search and file changes of the backup page, and whole-file
// reads and writes of the program's own files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr uint32_t kFileAttributeReadOnly = 0x01u;
inline constexpr uint32_t kFileAttributeHidden = 0x02u;
inline constexpr uint32_t kFileAttributeSystem = 0x04u;
inline constexpr uint32_t kFileAttributeDirectory = 0x10u;
inline constexpr uint32_t kFileAttributeArchive = 0x20u;
inline constexpr uint32_t kFileAttributeNormal = 0x80u;

enum DriveType : unsigned {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdrom = 5,
  kDriveRamdisk = 6,
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // GetFileAttributesA: kInvalidFileAttributes when nothing has that name.
  virtual uint32_t GetFileAttributes(const std::string& name) = 0;
  // GetDriveTypeA of a root text.
  virtual unsigned GetDriveType(const std::string& root) = 0;

  // Long names (without folder) of the files matching a wildcard pattern
  // such as "C:\dir\UNDO-????????-??????.REG", in the order found.
  virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
  virtual bool SetFileAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // GetShortPathNameA into a 260-byte buffer; empty when there is none.
  virtual std::string GetShortPathName(const std::string& path) = 0;

  // Creates or replaces the file with every line followed by CR LF. The
  // file is complete and flushed when this returns; on any failure nothing
  // is left under `path` and EFCreateError("Cannot create file <path>") is
  // thrown.
  virtual void SaveLines(const std::string& path, const std::vector<std::string>& lines) = 0;
  // Lines of a text file; lines end at CR, LF or CR LF. Throws EFOpenError
  // when the file cannot be opened or read.
  virtual std::vector<std::string> LoadLines(const std::string& path) = 0;
  // Opens for appending ("a+"), writes the text up to its first NUL and
  // CR LF, closes. Silent on every failure.
  virtual void AppendLine(const std::string& path, const std::string& text) = 0;
};

}  // namespace quorvane
