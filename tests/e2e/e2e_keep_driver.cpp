// End-to-end test of the keep list in the real window: "Never list this
// folder", given on a row of the list, takes that folder's
// rows out of the list at once and writes the keep list into settings.ini;
// the next Find Files leaves the folder out.
//   e2e_keep_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The test drive T:\ must be empty.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;

struct TestFile {
  const wchar_t* location;
  const wchar_t* name;
  DWORD size;
};

// Listed by the settings' masks; "T:\kept\" is the folder the user keeps.
const TestFile kFiles[] = {
    {L"T:\\", L"top.tmp", 100},
    {L"T:\\kept\\", L"a.tmp", 200},
    {L"T:\\kept\\deep\\", L"b.bak", 300},
    {L"T:\\other\\", L"c.old", 400},
};

std::wstring RowTextOf(const TestFile& f) {
  return std::wstring(f.name) + L";" + f.location + L";" + std::to_wstring(f.size) + L";" +
         StampText();
}

std::vector<std::wstring> RowsOf(std::initializer_list<int> files) {
  std::vector<std::wstring> rows;
  for (int i : files) rows.push_back(RowTextOf(kFiles[i]));
  return rows;
}

void MakeTestDrive() {
  for (const wchar_t* folder : {L"T:\\kept", L"T:\\kept\\deep", L"T:\\other"})
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr)) << Show(folder);
  for (const TestFile& f : kFiles) {
    const std::wstring path = std::wstring(f.location) + f.name;
    ASSERT_TRUE(CreateTestFile(path, f.size)) << "cannot create " << Show(path);
  }
}

std::string SettingsFile() {
  const std::wstring folder = g_exe.substr(0, g_exe.find_last_of(L'\\') + 1);
  std::ifstream ini(std::filesystem::path(folder + L"settings.ini"), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(ini), {});
}

class KeepE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, MakeTestDrive); }
  static void TearDownTestSuite() { CloseScourly(); }

  static bool FindFiles() {
    app->PressButton(kCmdFindFilesTB);
    return ScourlyProcess::WaitFor([] {
      app->Settle();
      return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
    });
  }
};

TEST_F(KeepE2E, NeverListThisFolderDropsItsRowsAndTheNextScanLeavesItOut) {
  EXPECT_EQ(app->MenuCaption(kCmdNeverListFile1), L"Never list this file");
  EXPECT_EQ(app->MenuCaption(kCmdNeverListFolder1), L"Never list this folder");
  EXPECT_EQ(app->MenuCaption(kCmdDeletionLog1), L"Deletion Log");

  ASSERT_TRUE(FindFiles());
  std::vector<std::wstring> rows = app->Rows(1);
  ASSERT_EQ(Lines(rows), Lines(RowsOf({0, 1, 2, 3})));
  const int row = static_cast<int>(std::find(rows.begin(), rows.end(), RowTextOf(kFiles[1])) -
                                   rows.begin());
  app->ClickRow(1, row, false);
  Shot(g_shots, L"01-focused");
  app->Click(kCmdNeverListFolder1);  // what the popup menu's item sends
  app->Settle();

  EXPECT_EQ(Lines(app->Rows(1)), Lines(RowsOf({0, 3}))) << "the folder's rows are still listed";
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: 0 B", L"Selected Files: 0",
                                                 L"Total Files: 2", SizeText(500)}));
  EXPECT_NE(SettingsFile().find("[keep]\r\nitem0=T:\\kept\\\r\ntotal_keep=0\r\n"),
            std::string::npos)
      << SettingsFile();
  Shot(g_shots, L"02-kept");

  ASSERT_TRUE(FindFiles());
  EXPECT_EQ(Lines(app->Rows(1)), Lines(RowsOf({0, 3}))) << "the scan listed the kept folder";
  Shot(g_shots, L"03-scanned-again");

  // The options dialog's "Keep" page shows the entry.
  app->Click(kCmdOptionsTB);
  HWND options = nullptr;
  ASSERT_TRUE(ScourlyProcess::WaitFor(
      [&] { return (options = FindWindowW(L"#32770", L"Options")) && IsWindowVisible(options); },
      5000));
  HWND tabs = GetDlgItem(options, IDC_OPTIONS_PAGECONTROL1);
  app->ClickTab(tabs, 2);
  HWND keepBox = GetDlgItem(options, IDC_OPTIONS_KEEPBOX);
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] { return IsWindowVisible(keepBox) != FALSE; }, 5000));
  wchar_t text[64] = {};
  ASSERT_EQ(SendMessageW(keepBox, LB_GETCOUNT, 0, 0), 1);
  SendMessageW(keepBox, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"T:\\kept\\");
  Shot(g_shots, L"04-keep-page");
  PostMessageW(options, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return !IsWindowVisible(options); }, 5000));
}

}  // namespace
}  // namespace scourly::e2e
