#include "platform/fake/fake_file_system.h"

#include "platform/exceptions.h"
#include "platform/fake/unexpected_call.h"
#include "platform/text.h"

namespace quorvane::fake {

namespace {

bool WildcardMatch(const std::string& pattern, size_t p, const std::string& name, size_t n) {
  while (p < pattern.size()) {
    if (pattern[p] == '*') {
      for (size_t k = n; k <= name.size(); ++k)
        if (WildcardMatch(pattern, p + 1, name, k)) return true;
      return false;
    }
    if (n >= name.size()) return false;
    if (pattern[p] != '?' && AnsiUpper(static_cast<unsigned char>(pattern[p])) !=
                                 AnsiUpper(static_cast<unsigned char>(name[n])))
      return false;
    ++p;
    ++n;
  }
  return n == name.size();
}

}  // namespace

FakeFileSystem::FakeFileSystem() { drives_['C'] = kDriveFixed; }

std::string FakeFileSystem::Key(const std::string& path, bool* needs_folder) {
  if (needs_folder) *needs_folder = false;
  std::string p = path;
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.size() < 3 || p[1] != ':' || p[2] != '\\') return std::string();
  const unsigned char letter = AnsiUpper(static_cast<unsigned char>(p[0]));
  if (letter < 'A' || letter > 'Z') return std::string();
  std::vector<std::string> parts;
  size_t start = 3;
  const bool trailing = p.size() > 3 && p.back() == '\\';
  while (start <= p.size()) {
    size_t cut = p.find('\\', start);
    if (cut == std::string::npos) cut = p.size();
    std::string part = p.substr(start, cut - start);
    start = cut + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    for (char c : part)
      if (c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '"' ||
          static_cast<unsigned char>(c) < 32)
        return std::string();
    // A component that a separator follows loses one final dot ("dir.\").
    if (cut < p.size() && part.back() == '.') part.pop_back();
    parts.push_back(part);
  }
  // Trailing blanks and dots go only when no separator ends the name: "dir \"
  // names a folder whose name ends in a blank.
  if (!parts.empty() && !trailing) {
    std::string& last = parts.back();
    while (!last.empty() && (last.back() == ' ' || last.back() == '.')) last.pop_back();
    if (last.empty()) parts.pop_back();
  }
  std::string key(1, static_cast<char>(letter));
  key += ":\\";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) key += '\\';
    key += AnsiUpperCase(parts[i]);
  }
  if (needs_folder) *needs_folder = trailing && !parts.empty();
  return key;
}

bool FakeFileSystem::Mounted(const std::string& key) const {
  if (key.empty()) return false;
  auto it = drives_.find(key[0]);
  return it != drives_.end() && it->second != kDriveNoRootDir;
}

void FakeFileSystem::SetDriveType(char letter, unsigned type) {
  drives_[static_cast<char>(AnsiUpper(static_cast<unsigned char>(letter)))] = type;
}

void FakeFileSystem::EnsureFolders(const std::string& key) {
  for (size_t cut = key.find('\\', 3); cut != std::string::npos; cut = key.find('\\', cut + 1)) {
    const std::string folder = key.substr(0, cut);
    if (!entries_.count(folder)) {
      const size_t name_at = folder.find_last_of('\\') + 1;
      entries_[folder] = Entry{folder.substr(name_at), kFileAttributeDirectory, {}};
    }
  }
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, uint32_t attributes) {
  const std::string key = Key(path);
  if (key.size() <= 3) return;
  EnsureFolders(key);
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  entries_[key] = Entry{name, attributes, content};
}

void FakeFileSystem::AddFolder(const std::string& path) {
  const std::string key = Key(path);
  if (key.size() <= 3) return;
  EnsureFolders(key);
  std::string trimmed = path;
  while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  entries_[key] = Entry{trimmed.substr(trimmed.find_last_of("\\/") + 1), kFileAttributeDirectory, {}};
}

void FakeFileSystem::Remove(const std::string& path) {
  const std::string key = Key(path);
  if (key.empty()) return;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first == key || StartsWith(it->first, key + "\\"))
      it = entries_.erase(it);
    else
      ++it;
  }
}

bool FakeFileSystem::Exists(const std::string& path) const { return entries_.count(Key(path)) > 0; }

std::string FakeFileSystem::Content(const std::string& path) const {
  auto it = entries_.find(Key(path));
  return it == entries_.end() ? std::string() : it->second.content;
}

uint32_t FakeFileSystem::Attributes(const std::string& path) const {
  auto it = entries_.find(Key(path));
  return it == entries_.end() ? kInvalidFileAttributes : it->second.attributes;
}

uint32_t FakeFileSystem::GetFileAttributes(const std::string& name) {
  ++attribute_queries;
  attribute_log.push_back(name);
  if (forbid_attribute_queries) ReportUnexpectedCall("GetFileAttributes(\"" + name + "\")");
  if (before_attribute_query) before_attribute_query(name);
  bool needs_folder = false;
  const std::string key = Key(name, &needs_folder);
  // A bare "C:" names the drive's current folder, which always exists.
  if (name.size() == 2 && name[1] == ':' && Mounted(Key(name + "\\")))
    return kFileAttributeDirectory;
  if (!Mounted(key)) return kInvalidFileAttributes;
  if (key.size() == 3) return kFileAttributeDirectory;  // the drive's root
  auto it = entries_.find(key);
  if (it == entries_.end()) return kInvalidFileAttributes;
  if (needs_folder && !(it->second.attributes & kFileAttributeDirectory)) return kInvalidFileAttributes;
  return it->second.attributes;
}

unsigned FakeFileSystem::GetDriveType(const std::string& root) {
  ++drive_type_queries;
  drive_type_log.push_back(root);
  // "C:\", "C:/" and a bare "C:" name the root; anything else names none.
  if (root.size() < 2 || root.size() > 3 || root[1] != ':') return kDriveNoRootDir;
  if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return kDriveNoRootDir;
  const unsigned char letter = AnsiUpper(static_cast<unsigned char>(root[0]));
  if (letter < 'A' || letter > 'Z') return kDriveNoRootDir;
  auto it = drives_.find(static_cast<char>(letter));
  return it == drives_.end() ? kDriveNoRootDir : it->second;
}

std::vector<std::string> FakeFileSystem::FindFiles(const std::string& pattern) {
  std::vector<std::string> found;
  const size_t cut = pattern.find_last_of("\\/");
  if (cut == std::string::npos) return found;
  const std::string folder = Key(pattern.substr(0, cut + 1));
  const std::string mask = pattern.substr(cut + 1);
  if (!Mounted(folder)) return found;
  const std::string prefix = folder.size() == 3 ? folder : folder + "\\";
  for (const auto& [key, entry] : entries_) {
    if (!StartsWith(key, prefix) || key.find('\\', prefix.size()) != std::string::npos) continue;
    if (entry.attributes & kFileAttributeDirectory) continue;  // files only: a folder is never listed
    if (WildcardMatch(mask, 0, entry.name, 0)) found.push_back(entry.name);
  }
  return found;
}

bool FakeFileSystem::SetFileAttributes(const std::string& path, uint32_t attributes) {
  auto it = entries_.find(Key(path));
  if (it == entries_.end()) return false;
  uint32_t kept = it->second.attributes & kFileAttributeDirectory;
  it->second.attributes = attributes == kFileAttributeNormal && !kept ? kFileAttributeNormal : (attributes | kept);
  return true;
}

bool FakeFileSystem::DeleteFile(const std::string& path) {
  const std::string key = Key(path);
  auto it = entries_.find(key);
  if (it == entries_.end() || (it->second.attributes & kFileAttributeDirectory)) return false;
  if ((it->second.attributes & kFileAttributeReadOnly) || undeletable.count(key) || locked.count(key))
    return false;
  entries_.erase(it);
  return true;
}

std::string FakeFileSystem::GetShortPathName(const std::string& path) {
  const std::string key = Key(path);
  auto named = short_names.find(key);
  if (named != short_names.end()) return entries_.count(key) ? named->second : std::string();
  return entries_.count(key) ? path : std::string();
}

void FakeFileSystem::SaveLines(const std::string& path, const std::vector<std::string>& lines) {
  const std::string key = Key(path);
  const size_t name_at = key.find_last_of('\\');
  const bool folder_ok = key.size() > 3 && Mounted(key) &&
                         (name_at == 2 || (entries_.count(key.substr(0, name_at)) &&
                                           entries_[key.substr(0, name_at)].attributes & kFileAttributeDirectory));
  auto existing = entries_.find(key);
  const bool blocked = existing != entries_.end() &&
                       ((existing->second.attributes & (kFileAttributeDirectory | kFileAttributeReadOnly)) != 0);
  if (!folder_ok || blocked || locked.count(key) || locked.count(key.substr(0, name_at)))
    throw EFCreateError("Cannot create file " + path);
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  if (save_byte_limit >= 0 && static_cast<long long>(content.size()) > save_byte_limit)
    throw EFCreateError("Cannot create file " + path);
  entries_[key] = Entry{path.substr(path.find_last_of("\\/") + 1), kFileAttributeArchive, content};
}

std::vector<std::string> FakeFileSystem::LoadLines(const std::string& path) {
  const std::string key = Key(path);
  auto it = entries_.find(key);
  if (it == entries_.end() || (it->second.attributes & kFileAttributeDirectory) || locked.count(key))
    throw EFOpenError("Cannot open file \"" + path + "\"");
  return SplitLines(it->second.content);
}

void FakeFileSystem::AppendLine(const std::string& path, const std::string& text) {
  const std::string key = Key(path);
  if (key.size() <= 3 || !Mounted(key) || locked.count(key)) return;
  const size_t name_at = key.find_last_of('\\');
  if (name_at > 2 && !entries_.count(key.substr(0, name_at))) return;
  auto it = entries_.find(key);
  if (it != entries_.end() && (it->second.attributes & (kFileAttributeDirectory | kFileAttributeReadOnly)))
    return;
  if (it == entries_.end())
    it = entries_.emplace(key, Entry{path.substr(path.find_last_of("\\/") + 1), kFileAttributeArchive, {}}).first;
  it->second.content += text.substr(0, text.find('\0'));
  it->second.content += "\r\n";
}

}  // namespace quorvane::fake
