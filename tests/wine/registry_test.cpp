// The registry service against the real registry of the test prefix, under
// keys of the test's own that are removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "lists/app_error.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_registry.h"

namespace scourly {
namespace {

using Texts = std::vector<std::string>;

class RegistryService : public testing::Test {
 protected:
  RegistryService() : path_("Software\\ScourlyTest-" + std::to_string(GetCurrentProcessId())) {}
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path_).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(path_).c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, Widen(path_).c_str());
  }
  // Sets a value behind the service's back.
  void RawSet(const std::string& name, DWORD type, const void* data, DWORD bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path_).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
  }
  // The value names as the registry enumerates them (creation order on
  // Windows, name order under Wine).
  Texts RawNames() {
    Texts names;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path_).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      names.push_back(Narrow(std::wstring(name, length)));
    }
    RegCloseKey(key);
    return names;
  }
  std::wstring RawText(HKEY root, const std::string& name) {
    wchar_t data[256] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, Widen(path_).c_str(), Widen(name).c_str(), RRF_RT_REG_SZ, nullptr,
                     data, &bytes) != ERROR_SUCCESS)
      return L"<missing>";
    return data;
  }

  std::string path_;
  Win32Registry registry;
};

TEST_F(RegistryService, CreatesWritesListsReadsAndDeletesValues) {
  EXPECT_EQ(registry.OpenKey(RegistryRoot::kCurrentUser, "\\" + path_, KeyAccess::kRead), nullptr);
  {
    auto key = registry.CreateKey(RegistryRoot::kCurrentUser, "\\" + path_);
    ASSERT_NE(key, nullptr);
    key->WriteString("url2", "http://b.test/");
    key->WriteString("url1", "C:\\Grüße\\日本");
    key->WriteString("empty", "");
  }
  EXPECT_EQ(RawText(HKEY_CURRENT_USER, "url1"), L"C:\\Grüße\\日本");
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser, "\\" + path_, KeyAccess::kReadWrite);
  ASSERT_NE(key, nullptr);
  Texts names = key->ValueNames();
  EXPECT_EQ(names, RawNames());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Texts{"empty", "url1", "url2"}));
  EXPECT_EQ(key->ReadString("URL1"), "C:\\Grüße\\日本");
  EXPECT_EQ(key->ReadString("empty"), "");
  EXPECT_EQ(key->ReadString("missing"), std::nullopt);
  EXPECT_TRUE(key->DeleteValue("url2"));
  EXPECT_FALSE(key->DeleteValue("url2"));
  names = key->ValueNames();
  EXPECT_EQ(names, RawNames());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Texts{"empty", "url1"}));
}

TEST_F(RegistryService, AValueThatIsNotTextRaisesTheRegistryError) {
  const DWORD number = 7;
  RawSet("count", REG_DWORD, &number, sizeof number);
  RawSet("bytes", REG_BINARY, "ab", 2);
  const wchar_t unterminated[] = {L'a', L'b', L'c'};
  RawSet("short", REG_SZ, unterminated, sizeof unterminated);
  const wchar_t expand[] = L"%TEMP%\\x";
  RawSet("expand", REG_EXPAND_SZ, expand, sizeof expand);
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser, path_, KeyAccess::kRead);
  ASSERT_NE(key, nullptr);
  for (const char* name : {"count", "bytes"}) {
    try {
      key->ReadString(name);
      ADD_FAILURE() << name << " read as text";
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("Invalid data type for '") + name + "'");
    }
  }
  EXPECT_EQ(key->ReadString("short"), "abc");
  EXPECT_EQ(key->ReadString("expand"), "%TEMP%\\x");  // as stored, not expanded
}

TEST_F(RegistryService, AKeyOpenedForReadingRefusesChanges) {
  RawSet("kept", REG_SZ, L"v", 4);
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser, path_, KeyAccess::kRead);
  ASSERT_NE(key, nullptr);
  try {
    key->WriteString("new", "x");
    ADD_FAILURE() << "written through a read-only key";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'new'");
  }
  EXPECT_FALSE(key->DeleteValue("kept"));
  EXPECT_EQ(RawText(HKEY_CURRENT_USER, "kept"), L"v");
}

TEST_F(RegistryService, TheMachineRootIsItsOwnTree) {
  auto machine = registry.CreateKey(RegistryRoot::kLocalMachine, "\\" + path_);
  ASSERT_NE(machine, nullptr) << "the test prefix lets the tests write HKEY_LOCAL_MACHINE";
  machine->WriteString("NProfile", "C:\\Users\\default");
  EXPECT_EQ(RawText(HKEY_LOCAL_MACHINE, "NProfile"), L"C:\\Users\\default");
  EXPECT_EQ(registry.OpenKey(RegistryRoot::kCurrentUser, path_, KeyAccess::kRead), nullptr);
}

}  // namespace
}  // namespace scourly
