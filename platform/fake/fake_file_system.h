// An in-memory file system with drive letters. Names are normalised as
// Windows does before they are looked up: "/" separates like "\", repeated
// separators collapse, "." and ".." are resolved, a component followed by a
// separator loses one final dot, trailing blanks and dots of the name are
// dropped unless a separator ends it, a final "\" needs a folder, a bare "C:"
// names a folder, and "*", "?", "<", ">", "|" and '"' name nothing. Letters
// match without regard to case.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quorvane::fake {

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem();  // drive C: fixed, nothing else mounted

  void SetDriveType(char letter, unsigned type);  // kDriveNoRootDir unmounts
  // Creates the file (and its folders) with the given bytes.
  void AddFile(const std::string& path, const std::string& content = std::string(),
               uint32_t attributes = kFileAttributeArchive);
  void AddFolder(const std::string& path);
  void Remove(const std::string& path);  // a file, or a folder with everything in it

  bool Exists(const std::string& path) const;
  std::string Content(const std::string& path) const;  // empty when missing
  uint32_t Attributes(const std::string& path) const;

  // Failure injection.
  std::set<std::string> locked;       // normalised upper-case paths that cannot be opened or written
  std::set<std::string> undeletable;  // normalised upper-case paths DeleteFile refuses
  // SaveLines writes only this many bytes, then fails (disk full); -1: no limit.
  long long save_byte_limit = -1;
  // Short forms by normalised upper-case path; without one, an existing
  // path is its own short form and a missing one has none.
  std::map<std::string, std::string> short_names;

  // Attribute queries fail the test while this is set.
  bool forbid_attribute_queries = false;
  int attribute_queries = 0;
  int drive_type_queries = 0;
  std::vector<std::string> attribute_log;   // every name asked, as asked
  std::vector<std::string> drive_type_log;  // every root asked, as asked
  // Runs before every attribute query.
  std::function<void(const std::string& name)> before_attribute_query;

  // Normalised, upper-cased key of a path; empty when it names nothing.
  static std::string Key(const std::string& path, bool* needs_folder = nullptr);

  uint32_t GetFileAttributes(const std::string& name) override;
  unsigned GetDriveType(const std::string& root) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  bool SetFileAttributes(const std::string& path, uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  std::string GetShortPathName(const std::string& path) override;
  void SaveLines(const std::string& path, const std::vector<std::string>& lines) override;
  std::vector<std::string> LoadLines(const std::string& path) override;
  void AppendLine(const std::string& path, const std::string& text) override;

 private:
  struct Entry {
    std::string name;  // last component as created
    uint32_t attributes = kFileAttributeArchive;
    std::string content;
  };
  bool Mounted(const std::string& key) const;
  void EnsureFolders(const std::string& key);
  std::map<std::string, Entry> entries_;  // by normalised upper-case path
  std::map<char, unsigned> drives_;
};

}  // namespace quorvane::fake
