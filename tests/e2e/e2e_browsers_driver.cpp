// End-to-end test of the "Web Browsers" sub-tab: this process lays out a
// Chrome and a Firefox profile in the prefix's own application data folders;
// the real Scourly.exe lists them on the sub-tab after this process ticked a
// box as a user would. (Deleting the rows is the file tabs' deletion, driven
// end to end by the deletion driver; its Recycle Bin on browser folders is
// the Wine test's.)
//   e2e_browsers_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The profile folders are removed again at the end (and any a failed run
// left, at the start).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;

constexpr int kBrowserCacheTab = 3, kWebBrowsersSubTab = 2, kWebList = 6;

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// The two browsers' trees this test owns.
std::vector<std::wstring> OwnTrees() {
  return {Folder(CSIDL_LOCAL_APPDATA) + L"\\Google\\Chrome",
          Folder(CSIDL_APPDATA) + L"\\Mozilla\\Firefox"};
}

void RemoveOwnTrees() {
  for (const std::wstring& tree : OwnTrees()) {
    std::wstring from = tree + L'\0';  // double-terminated; no undo: for good
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    if (GetFileAttributesW(tree.c_str()) != INVALID_FILE_ATTRIBUTES) SHFileOperationW(&op);
  }
}

struct TestFile {
  std::wstring folder;  // ending in "\"
  const wchar_t* name;
  DWORD size;
};

std::wstring ChromeProfile() {
  return Folder(CSIDL_LOCAL_APPDATA) + L"\\Google\\Chrome\\User Data\\Default\\";
}
std::wstring FirefoxProfile() {
  return Folder(CSIDL_APPDATA) + L"\\Mozilla\\Firefox\\Profiles\\e2e.default\\";
}

std::vector<TestFile> Listed() {
  return {{ChromeProfile() + L"Cache\\Cache_Data\\", L"f_000001", 3000},
          {ChromeProfile() + L"Cache\\Cache_Data\\", L"data_1", 1200},
          {ChromeProfile() + L"Network\\", L"Cookies", 500},
          {FirefoxProfile(), L"cookies.sqlite", 700}};
}
std::vector<TestFile> Kept() {
  return {{ChromeProfile(), L"Preferences", 40},
          {ChromeProfile(), L"Bookmarks", 90},
          {ChromeProfile(), L"History", 80},  // "History" stays unticked
          {FirefoxProfile(), L"places.sqlite", 60}};
}

std::wstring RowTextOf(const TestFile& f) {
  return std::wstring(f.name) + L";" + f.folder + L";" + std::to_wstring(f.size) + L";" +
         StampText();
}

void MakeProfiles() {
  RemoveOwnTrees();
  std::vector<TestFile> all = Listed();
  for (const TestFile& f : Kept()) all.push_back(f);
  for (const TestFile& f : all) {
    SHCreateDirectoryExW(nullptr, f.folder.c_str(), nullptr);
    ASSERT_TRUE(CreateTestFile(f.folder + f.name, f.size)) << Show(f.folder + f.name);
  }
  const std::wstring ini = Folder(CSIDL_APPDATA) + L"\\Mozilla\\Firefox\\profiles.ini";
  HANDLE h = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const char text[] = "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/e2e.default\r\n";
  DWORD written = 0;
  WriteFile(h, text, sizeof text - 1, &written, nullptr);
  CloseHandle(h);
}

std::string SettingsFile() {
  return FileBytes(g_exe.substr(0, g_exe.find_last_of(L'\\') + 1) + L"settings.ini", "");
}

class BrowsersE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, MakeProfiles); }
  static void TearDownTestSuite() {
    CloseScourly();
    RemoveOwnTrees();
  }
  HWND Box(int id) const { return GetDlgItem(app->Control(kIdWebSheet), id); }
  bool Checked(int id) const { return SendMessageW(Box(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

TEST_F(BrowsersE2E, TheSubTabListsTheTickedKindsOfEveryProfile) {
  HWND subTabs = app->Control(kIdPageControl2);
  app->ClickTab(app->Control(kIdPageControl1), kBrowserCacheTab);
  ASSERT_EQ(app->TabCount(subTabs), 3);
  EXPECT_EQ(Show(app->TabCaption(subTabs, kWebBrowsersSubTab)), "Web Browsers");
  app->ClickTab(subTabs, kWebBrowsersSubTab);
  ASSERT_TRUE(IsWindowVisible(app->ListView(kWebList))) << "the sub-tab's list is not on view";
  EXPECT_TRUE(Checked(kIdWCache));
  EXPECT_FALSE(Checked(kIdWCookies));
  EXPECT_FALSE(Checked(kIdWHistory));
  EXPECT_EQ(SettingsFile().find("[browsers]"), std::string::npos);

  PostMessageW(Box(kIdWCookies), BM_CLICK, 0, 0);
  app->Settle();
  EXPECT_TRUE(Checked(kIdWCookies));
  EXPECT_NE(SettingsFile().find("[browsers]\r\nCookies=1\r\n"), std::string::npos);

  app->Click(kCmdFindFilesTB);
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] {
    app->Settle();
    return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
  })) << "the scan did not end";
  std::vector<std::wstring> expected;
  int64_t bytes = 0;
  for (const TestFile& f : Listed()) {
    expected.push_back(RowTextOf(f));
    bytes += f.size;
  }
  std::vector<std::wstring> rows = app->Rows(kWebList);
  std::sort(rows.begin(), rows.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: 0 B", L"Selected Files: 0",
                                                 L"Total Files: 4", SizeText(bytes)}));
  EXPECT_EQ(app->MenuEnabled(kCmdOpen1), 1);
  Shot(g_shots, L"01-web-browsers");
}

}  // namespace
}  // namespace scourly::e2e
