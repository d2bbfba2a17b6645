// End-to-end: what a screen reader in another process reads of the real
// window after a scan, through oleacc's AccessibleObjectFromWindow: the
// result list's rows (count, first and last, a name holding ";", a name
// outside ASCII) with their states, the tabs, the header's sections, the
// status bar's panels and the toolbar's buttons.
//   e2e_a11y_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"
#include "tests/support/accessible_reader.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;

// Names start with distinct letters: the scan lists them in folder order.
struct TestFile {
  const wchar_t* name;
  DWORD size;
};
const TestFile kFiles[] = {
    {L"a;b.tmp", 1000},
    {L"beta.bak", 10},
    {L"\u00FCber \u65E5\u672C.tmp", 2048},  // "über 日本.tmp"
    {L"\u03A9mega.old", 5},                  // "Ωmega.old"
};

void MakeTestDrive() {
  for (const TestFile& f : kFiles)
    ASSERT_TRUE(CreateTestFile(std::wstring(L"T:\\") + f.name, f.size)) << Show(f.name);
}

// What a reader should hear for a row of a test file.
std::wstring NameOf(const TestFile& f) {
  return std::wstring(L"File Name: ") + f.name + L", Location: T:\\, Size (B): " +
         std::to_wstring(f.size) + L", Time Stamp: " + StampText();
}
std::wstring RowTextOf(const TestFile& f) {
  return std::wstring(f.name) + L";T:\\;" + std::to_wstring(f.size) + L";" + StampText();
}

using Reader = support::AccessibleReader;

class A11yE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StartScourly(g_exe, MakeTestDrive);
  }
  static void TearDownTestSuite() {
    CloseScourly();
    CoUninitialize();
  }
};

TEST_F(A11yE2E, ARowIsReadWithItsFourFieldsAfterAScan) {
  app->PressButton(kCmdFindFilesTB);
  ASSERT_TRUE(ScourlyProcess::WaitFor([] {
    app->Settle();
    return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
  })) << "the scan did not end";
  const int n = app->RowCount(1);
  ASSERT_EQ(n, static_cast<int>(std::size(kFiles)));
  // The last row selected and focused by a click, as a user would.
  app->ClickRow(1, n - 1, false);

  Reader list(app->ListBox(1));
  ASSERT_EQ(list.hr, S_OK) << "no object for the list from another process";
  EXPECT_EQ(list.Count(), n);
  EXPECT_EQ(list.Role(CHILDID_SELF), ROLE_SYSTEM_LIST);
  EXPECT_EQ(list.Name(CHILDID_SELF), L"Unneeded Files");
  // Every row, in the list's order, read as the file it lists.
  for (int row = 0; row < n; ++row) {
    const std::wstring text = app->RowText(1, row);
    const TestFile* file = nullptr;
    for (const TestFile& f : kFiles) {
      if (RowTextOf(f) == text) file = &f;
    }
    ASSERT_NE(file, nullptr) << "not a test file's row: " << Show(text);
    EXPECT_EQ(list.Name(row + 1), NameOf(*file)) << "row " << row;
    EXPECT_EQ(list.Role(row + 1), ROLE_SYSTEM_LISTITEM);
  }
  const long kRow = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE |
                    STATE_SYSTEM_MULTISELECTABLE | STATE_SYSTEM_EXTSELECTABLE;
  EXPECT_EQ(list.State(1), kRow);
  EXPECT_EQ(list.State(n), kRow | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
  Shot(g_shots, L"01-read");
}

TEST_F(A11yE2E, TabsHeaderSectionsAndStatusPanelsAreChildren) {
  Reader tabs(app->Control(kIdPageControl1));
  ASSERT_EQ(tabs.hr, S_OK);
  ASSERT_EQ(tabs.Count(), 5);
  EXPECT_EQ(tabs.Name(1), L"Unneeded Files");
  EXPECT_EQ(tabs.Name(5), L"Dead Shortcuts");
  EXPECT_EQ(tabs.Role(1), ROLE_SYSTEM_PAGETAB);
  EXPECT_TRUE(tabs.State(1) & STATE_SYSTEM_SELECTED);
  EXPECT_FALSE(tabs.State(2) & STATE_SYSTEM_SELECTED);


  Reader header(app->Header(1));
  ASSERT_EQ(header.hr, S_OK);
  ASSERT_EQ(header.Count(), 4);
  const wchar_t* captions[] = {L"File Name", L"Location", L"Size (B)", L"Time Stamp"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(header.Name(i + 1), captions[i]);

  Reader bar(app->Control(kIdStatusBar1));
  ASSERT_EQ(bar.hr, S_OK);
  ASSERT_EQ(bar.Count(), 4);
  std::vector<std::wstring> panels = Panels();
  EXPECT_EQ(bar.Name(2), L"Selected Files: 1");
  EXPECT_EQ(bar.Name(3), L"Total Files: 4");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bar.Name(i + 1), panels[i]) << "panel " << i;
}

TEST_F(A11yE2E, ToolbarButtonsAreNamedByTheirHints) {
  Reader bar(app->Control(kIdToolBar1));
  ASSERT_EQ(bar.hr, S_OK);
  const int commands[] = {kCmdFindFilesTB, kCmdStopTB,       kCmdClearTB,     kCmdDeleteAllTB,
                          kCmdDeleteSelTB, kCmdDeletePerTB,  kCmdOpenTB,      kCmdSelectAllTB,
                          kCmdInvertSelTB, kCmdToolButton1,  kCmdOptionsTB};
  ASSERT_EQ(bar.Count(), static_cast<long>(std::size(commands)));
  EXPECT_EQ(bar.Name(1),
            L"Click to find Unneeded Files.This action will not delete files. You can specify the "
            L"file types of your choice through the \"Options...\" button.");
  EXPECT_EQ(bar.Name(4), L"Delete All files to the Reycle Bin");
  for (size_t i = 0; i < std::size(commands); ++i) {
    std::wstring hint = app->Hint(commands[i]);
    std::replace(hint.begin(), hint.end(), L'\r', L' ');
    hint.erase(std::remove(hint.begin(), hint.end(), L'\n'), hint.end());
    EXPECT_EQ(bar.Name(static_cast<long>(i) + 1), hint) << "button " << i;
    EXPECT_EQ(bar.Role(static_cast<long>(i) + 1), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ((bar.State(static_cast<long>(i) + 1) & STATE_SYSTEM_UNAVAILABLE) != 0,
              !app->ButtonEnabled(commands[i]))
        << "button " << i;
  }
}

}  // namespace
}  // namespace scourly::e2e
