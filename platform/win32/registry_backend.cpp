#include "platform/win32/registry_backend.h"

#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <cwchar>
#include <vector>

#include "platform/exceptions.h"

namespace quorvane::win32 {

namespace {

// The registry's own form of a name listed through the code page.
std::wstring WidenName(const std::string& name) {
  if (name.empty()) return std::wstring();
  const int chars = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(chars > 0 ? chars : 0), L'\0');
  if (chars > 0) MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), chars);
  return wide;
}

// The text in the code page, or the empty text when the code page cannot
// hold every character of it exactly.
std::string NarrowExactly(const wchar_t* text, size_t chars) {
  if (chars == 0) return std::string();
  BOOL lossy = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, static_cast<int>(chars), nullptr, 0,
                                        nullptr, &lossy);
  if (bytes <= 0 || lossy) return std::string();
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, static_cast<int>(chars), narrow.data(), bytes, nullptr,
                      &lossy);
  return lossy ? std::string() : narrow;
}


// The predefined handle of a root. On 64-bit Windows the handle values are
// sign-extended, so they are taken from the system's own constants rather
// than from the 32-bit numbers of RootKey.
HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
    case RootKey::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

OpenFailure FailureOf(LSTATUS status) {
  switch (status) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return OpenFailure::NotFound;
    case ERROR_ACCESS_DENIED: return OpenFailure::AccessDenied;
    default: return OpenFailure::Other;
  }
}

// Wine's ANSI call converts the path into a buffer of MAX_PATH characters
// and answers ERROR_MORE_DATA for a longer one; the same conversion by the
// code page, done here, lets the wide call open it.
LSTATUS OpenLongPath(HKEY root, const char* path, HKEY& key) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (length <= 0) return ERROR_MORE_DATA;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
  return RegOpenKeyExW(root, wide.c_str(), 0, KEY_ALL_ACCESS, &key);
}

[[noreturn]] void ThrowInvalidType(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

// The longest subkey and value names, as the key reports them: the first
// size of the listing buffers.
struct KeyInfo {
  DWORD max_subkey_name = 0;
  DWORD max_value_name = 0;
};

bool QueryInfo(HKEY key, KeyInfo& info) {
  DWORD subkeys = 0, max_subkey = 0, values = 0, max_value = 0;
  const LSTATUS status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &max_subkey, nullptr,
                                          &values, &max_value, nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return false;
  info.max_subkey_name = max_subkey;
  info.max_value_name = max_value;
  return true;
}

// Lists names by index until the registry says there are no more. `call`
// fills the buffer and its length (in bytes, without the NUL) and returns
// the status; a name longer than the buffer grows it and is asked again.
template <typename Call>
std::vector<std::string> EnumerateNames(DWORD hint, Call call) {
  std::vector<std::string> names;
  // Names are at most 255 characters, but the sizes reported for ANSI
  // callers are not to be trusted to the byte, hence the margin.
  std::vector<char> buffer(static_cast<size_t>(hint) + 2, '\0');
  for (DWORD index = 0;; ++index) {
    while (true) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LSTATUS status = call(index, buffer.data(), &length);
      if (status == ERROR_SUCCESS) {
        names.emplace_back(buffer.data(), strnlen(buffer.data(), length));
        break;
      }
      if (status == ERROR_MORE_DATA && buffer.size() < 65536) {
        buffer.assign(buffer.size() * 2, '\0');
        continue;
      }
      return names;  // ERROR_NO_MORE_ITEMS, or the key went away
    }
  }
}

class Win32Key : public RegistryKey {
 public:
  // Takes ownership of `key`; a predefined root handle is never closed.
  Win32Key(HKEY key, HKEY root) : key_(key), owned_(key != root) {}
  ~Win32Key() override {
    if (key_ && owned_) RegCloseKey(key_);
  }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;
  Win32Key(Win32Key&& other) noexcept : key_(other.key_), owned_(other.owned_) { other.key_ = nullptr; }
  Win32Key& operator=(Win32Key&& other) noexcept {
    if (this != &other) {
      if (key_ && owned_) RegCloseKey(key_);
      key_ = other.key_;
      owned_ = other.owned_;
      other.key_ = nullptr;
    }
    return *this;
  }

  std::vector<std::string> SubkeyNames() override {
    KeyInfo info;
    if (!QueryInfo(key_, info)) return {};
    return EnumerateNames(info.max_subkey_name, [this](DWORD index, char* name, DWORD* length) {
      return RegEnumKeyExA(key_, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  std::vector<std::string> ValueNames() override {
    KeyInfo info;
    if (!QueryInfo(key_, info)) return {};
    return EnumerateNames(info.max_value_name, [this](DWORD index, char* name, DWORD* length) {
      return RegEnumValueA(key_, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  DataType GetDataType(const std::string& name) override {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return DataType::Other;
    switch (type) {
      case REG_SZ: return DataType::String;
      case REG_EXPAND_SZ: return DataType::ExpandString;
      // Only what ReadInteger can read is an integer: a REG_DWORD of any
      // other size counts as another type.
      case REG_DWORD: return size == sizeof(DWORD) ? DataType::Integer : DataType::Other;
      case REG_BINARY: return DataType::Binary;
      default: return DataType::Other;
    }
  }

  // The text is read in the registry's own (wide) form and turned into the
  // code page here, refusing best-fit guesses: a text the code page cannot
  // hold would otherwise be judged, deleted and restored as other text
  // ("?" or a look-alike letter in place of the real one). Such a value
  // reads as the empty text, as one that cannot be queried, and the scan
  // passes it over.
  std::string ReadString(const std::string& name) override {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) ThrowInvalidType(name);
    const std::wstring wide_name = WidenName(name);
    // The value may change between the two queries: grow while it says so.
    std::vector<wchar_t> data(static_cast<size_t>(size) / sizeof(wchar_t) + 2, L'\0');
    while (true) {
      DWORD length = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
      const LSTATUS status = RegQueryValueExW(key_, wide_name.c_str(), nullptr, &type,
                                              reinterpret_cast<BYTE*>(data.data()), &length);
      if (status == ERROR_MORE_DATA && data.size() < (size_t{1} << 29)) {
        data.assign(std::max<size_t>(static_cast<size_t>(length) / sizeof(wchar_t) + 2, data.size() * 2), L'\0');
        continue;
      }
      if (status != ERROR_SUCCESS) return std::string();
      if (type != REG_SZ && type != REG_EXPAND_SZ) ThrowInvalidType(name);
      const size_t chars = wcsnlen(data.data(), static_cast<size_t>(length) / sizeof(wchar_t));
      return NarrowExactly(data.data(), chars);
    }
  }

  int32_t ReadInteger(const std::string& name) override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status =
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) ThrowInvalidType(name);
    return static_cast<int32_t>(value);
  }

  DeleteOutcome DeleteValue(const std::string& name) override {
    switch (RegDeleteValueA(key_, name.c_str())) {
      case ERROR_SUCCESS: return DeleteOutcome::Deleted;
      case ERROR_FILE_NOT_FOUND:
      case ERROR_KEY_DELETED: return DeleteOutcome::NotFound;
      default: return DeleteOutcome::Denied;
    }
  }

 private:
  HKEY key_;
  bool owned_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RootKey root, const std::string& path,
                                                    OpenFailure& failure) {
  const HKEY root_handle = RootHandle(root);
  if (!root_handle) {
    failure = OpenFailure::Other;
    return nullptr;
  }
  const char* subkey = path.c_str();
  if (*subkey == '\\') ++subkey;
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExA(root_handle, subkey, 0, KEY_ALL_ACCESS, &key);
  if (status == ERROR_MORE_DATA) status = OpenLongPath(root_handle, subkey, key);
  if (status != ERROR_SUCCESS) {
    failure = FailureOf(status);
    return nullptr;
  }
  failure = OpenFailure::None;
  return std::make_unique<Win32Key>(key, root_handle);
}

}  // namespace quorvane::win32
