// Registry keys and string values. A key is opened with no more access than
// the caller needs, so reading the machine-wide key works without the right
// to change it.
#include "platform/win32/win32_registry.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "lists/app_error.h"
#include "platform/win32/win32_platform.h"

namespace scourly {
namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The registry takes paths relative to the root: no leading backslash.
std::wstring SubKey(const std::string& path) {
  size_t start = path.find_first_not_of('\\');
  return start == std::string::npos ? std::wstring() : Widen(path.substr(start));
}

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}

  std::optional<std::string> ReadString(const std::string& name) override {
    const std::wstring wname = Widen(name);
    std::vector<BYTE> data(256);
    DWORD type = 0;
    LONG status;
    for (;;) {
      DWORD size = static_cast<DWORD>(data.size());
      status = RegQueryValueExW(key_.get(), wname.c_str(), nullptr, &type, data.data(), &size);
      if (status == ERROR_MORE_DATA) {
        data.resize(size > data.size() ? size : data.size() * 2);
        continue;
      }
      data.resize(status == ERROR_SUCCESS ? size : 0);
      break;
    }
    if (status != ERROR_SUCCESS) return std::nullopt;  // no such value: reads empty
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw AppError(InvalidDataTypeText(name));
    // The stored text may or may not end in a zero; it ends at the first one.
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return Narrow(text);
  }

  void WriteString(const std::string& name, const std::string& text) override {
    const std::wstring wname = Widen(name);
    const std::wstring wtext = Widen(text);
    const DWORD bytes = static_cast<DWORD>((wtext.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(key_.get(), wname.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(wtext.c_str()), bytes) != ERROR_SUCCESS)
      throw AppError(FailedToSetDataText(name));
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return names;
    std::vector<wchar_t> buffer(longest + 1);
    for (DWORD index = 0;;) {
      DWORD length = static_cast<DWORD>(buffer.size());
      LONG status = RegEnumValueW(key_.get(), index, buffer.data(), &length, nullptr, nullptr,
                                  nullptr, nullptr);
      if (status == ERROR_MORE_DATA) {  // a longer name was added meanwhile
        buffer.resize(buffer.size() * 2);
        continue;
      }
      if (status != ERROR_SUCCESS) break;
      names.push_back(Narrow(std::wstring(buffer.data(), length)));
      ++index;
    }
    return names;
  }

  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueW(key_.get(), Widen(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  UniqueKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, const std::string& path,
                                                    KeyAccess access) {
  const REGSAM sam = access == KeyAccess::kRead ? KEY_READ : KEY_READ | KEY_SET_VALUE;
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootKey(root), SubKey(path).c_str(), 0, sam, &key) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(RegistryRoot root, const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(RootKey(root), SubKey(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32Key>(key);
}

}  // namespace scourly
