// End-to-end tests of deletion: the real Scourly.exe lists a test drive, and
// this process selects rows and gives the three delete commands as a user
// would, answers the notice, and checks the disk, the Recycle Bin, the
// hand-off file and what the window shows afterwards.
//   e2e_delete_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The test drive T:\ and the Recycle Bin must be empty. Under Wine the
// Recycle Bin is the XDG trash, reachable as X:\Trash (files\ holds what
// was recycled, under its own name).
// The tests run in their order and share one program and one drive: each
// deletion starts from what the one before left.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/main/gui_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;


// ---- The test drive ----

struct TestFile {
  const wchar_t* folder;  // below T:\, ending in "\" (or empty)
  const wchar_t* name;
  DWORD size;
  bool listed;  // by the settings' file types or as an empty file
  bool readOnly;
};

// Names that a careless deletion would get wrong: one with ";" (the rows'
// field separator) beside the files its halves name, letters inside and
// outside the ANSI code page, blanks in a name and in a folder, and "x.tmp"
// beside names a wildcard or a prefix match would also reach.
// Listed: 12 rows, 11248 bytes, shown as "10 kB" (10240).
const TestFile kFiles[] = {
    {L"", L"a;b.tmp", 1000, true, false},
    {L"", L"a", 10, false, false},
    {L"", L"b.tmp", 300, true, false},
    {L"", L"Gr\u00FC\u00DFe.tmp", 1000, true, false},  // "Grüße.tmp"
    {L"", L"x.tmp", 700, true, false},
    {L"", L"xx.tmp", 800, true, false},
    {L"", L"x.tmp.bak", 900, true, false},
    {L"", L"keep.txt", 100, false, false},
    {L"", L"empty.log", 0, true, false},
    {L"sub dir\\", L"two words.tmp", 600, true, false},
    {L"sub dir\\", L"\u041F\u0440\u0438\u0432\u0435\u0442.tmp", 500, true, false},  // Cyrillic
    {L"sub dir\\", L"locked.bak", 400, true, true},
    {L"sub dir\\", L"draft.old", 2048, true, false},
    {L"sub dir\\", L"big.tmp", 3000, true, false},
};

const TestFile& File(const std::wstring& name) {
  for (const TestFile& f : kFiles) {
    if (name == f.name) return f;
  }
  throw std::logic_error("not a test file");
}

std::wstring PathOf(const TestFile& f) { return std::wstring(L"T:\\") + f.folder + f.name; }
std::wstring TrashPathOf(const TestFile& f) { return std::wstring(L"X:\\Trash\\files\\") + f.name; }

std::wstring RowTextOf(const TestFile& f) {
  return std::wstring(f.name) + L";T:\\" + f.folder + L";" + std::to_wstring(f.size) + L";" +
         StampText();
}



void MakeTestDrive() {
  ASSERT_TRUE(CreateDirectoryW(L"T:\\sub dir", nullptr));
  for (const TestFile& f : kFiles) {
    ASSERT_TRUE(CreateTestFile(PathOf(f), f.size)) << "cannot create " << Show(PathOf(f));
    if (f.readOnly) {
      ASSERT_TRUE(SetFileAttributesW(PathOf(f).c_str(), FILE_ATTRIBUTE_READONLY));
    }
  }
}




// ---- The program under test ----

constexpr wchar_t kInUseNotice[] = L"Some files may not be deleted if in use";
constexpr wchar_t kInUseNoticeAll[] = L"Some files may not be deleted if in use!";

class DeletionE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, MakeTestDrive); }
  static void TearDownTestSuite() { CloseScourly(); }


  int RowOf(const TestFile& f) const {
    std::vector<std::wstring> rows = app->Rows(1);
    auto it = std::find(rows.begin(), rows.end(), RowTextOf(f));
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
  }

  // Selects exactly the rows of `names`: a click on the first, Ctrl+clicks
  // on the others. Their row indices, in the order given.
  std::vector<int> Select(const std::vector<std::wstring>& names) const {
    std::vector<int> rows;
    for (const std::wstring& name : names) {
      int row = RowOf(File(name));
      EXPECT_GE(row, 0) << Show(name) << " is not listed";
      if (row < 0) continue;
      app->ClickRow(1, row, !rows.empty());
      rows.push_back(row);
    }
    std::vector<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(app->SelectedRows(1), sorted);
    return rows;
  }

  // The bytes of the test files the list holds now.
  int64_t ListedBytes() const {
    int64_t bytes = 0;
    for (const std::wstring& row : app->Rows(1)) {
      for (const TestFile& f : kFiles) {
        if (row == RowTextOf(f)) bytes += f.size;
      }
    }
    return bytes;
  }

  // Gives command `cmd`, checks the notice it shows first and answers OK;
  // when `stayed` is given, checks the message that names the files that
  // stayed and answers it too. Returns once the command has changed the
  // list (or after a time-out, and the checks that follow then tell what
  // went wrong).
  void RunDeleteCommand(int cmd, const wchar_t* notice, const wchar_t* shot = nullptr,
                        const std::wstring& stayed = {}) const {
    const int rowsBefore = app->RowCount(1);
    app->Click(cmd);
    HWND box = app->WaitForMessageBox();
    ASSERT_TRUE(box) << "no notice appeared; windows: " << Show(app->DescribeWindows());
    ScourlyProcess::MessageBoxView view = ScourlyProcess::ReadMessageBox(box);
    EXPECT_EQ(view.caption, L"Scourly");
    EXPECT_EQ(view.text, notice);
    EXPECT_EQ(view.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(view.icon) << "the notice shows an icon";
    if (shot) Shot(g_shots, shot);
    ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(box, IDOK)) << "the notice did not close";
    if (!stayed.empty()) {
      HWND told = app->WaitForMessageBox();
      ASSERT_TRUE(told) << "nobody was told what stayed";
      EXPECT_EQ(Show(ScourlyProcess::ReadMessageBox(told).text), Show(stayed));
      if (shot) Shot(g_shots, std::wstring(shot) + L"-stayed");
      ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(told, IDOK));
    }
    bool changed = ScourlyProcess::WaitFor(
        [&] {
          app->Settle();
          return app->RowCount(1) != rowsBefore;
        },
        10000);
    EXPECT_TRUE(changed) << "the list did not change; windows: " << Show(app->DescribeWindows());
    app->Settle();
  }

  // Every test file is where the deletions so far have left it: a recycled
  // one only in the Recycle Bin, whole; one deleted for good nowhere; any
  // other on the test drive; and nothing else in the Recycle Bin.
  void ExpectFilesWhereTheyBelong() const {
    std::vector<std::wstring> trash;
    for (const TestFile& f : kFiles) {
      const bool inTrash = recycled.count(f.name) > 0;
      const bool gone = inTrash || erased.count(f.name) > 0;
      EXPECT_EQ(SizeOnDisk(PathOf(f)), gone ? -1 : static_cast<int64_t>(f.size))
          << Show(PathOf(f)) << (gone ? " is still on the test drive" : " left the test drive");
      EXPECT_EQ(SizeOnDisk(TrashPathOf(f)), inTrash ? static_cast<int64_t>(f.size) : -1)
          << Show(f.name) << (inTrash ? " is not whole in the Recycle Bin"
                                      : " is in the Recycle Bin");
      if (inTrash) trash.push_back(f.name);
    }
    std::sort(trash.begin(), trash.end());
    EXPECT_EQ(TrashNames(), trash) << "the Recycle Bin holds something else";
  }

  static std::string HandOffLines(const std::vector<const TestFile*>& files) {
    std::string lines;
    for (const TestFile* f : files) lines += Utf8(PathOf(*f)) + "\r\n";
    return lines;
  }

  // The rows left after removing `names` from the list as it is now.
  std::vector<std::wstring> RowsWithout(const std::vector<std::wstring>& names) const {
    std::vector<std::wstring> rows = app->Rows(1);
    for (const std::wstring& name : names) {
      rows.erase(std::remove(rows.begin(), rows.end(), RowTextOf(File(name))), rows.end());
    }
    return rows;
  }

  // Selects `names`, deletes them with `cmd` and checks the list and the
  // status panels; the disk is checked by the caller. `stays` is a file that
  // cannot be deleted: its row stays, selected, and a message says so.
  void DeleteSelected(int cmd, const std::vector<std::wstring>& names, const wchar_t* shotStem,
                      const std::wstring& stays = {}, const std::wstring& stayedMessage = {}) {
    std::vector<int> rows = Select(names);
    ASSERT_EQ(rows.size(), names.size());
    int64_t bytes = 0;
    for (const std::wstring& name : names) bytes += File(name).size;
    EXPECT_EQ(app->Panel(0), L"Selected Size: " + SizeText(bytes));
    EXPECT_EQ(app->Panel(1), L"Selected Files: " + std::to_wstring(names.size()));
    EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteSelTB));
    Shot(g_shots, std::wstring(shotStem) + L"-selected");

    std::vector<std::wstring> gone = names;
    gone.erase(std::remove(gone.begin(), gone.end(), stays), gone.end());
    int64_t goneBytes = 0;
    for (const std::wstring& name : gone) goneBytes += File(name).size;
    const int64_t bytesBefore = ListedBytes();
    const std::vector<std::wstring> expectedRows = RowsWithout(gone);
    RunDeleteCommand(cmd, kInUseNotice, (std::wstring(shotStem) + L"-notice").c_str(),
                     stayedMessage);

    EXPECT_EQ(app->Rows(1), expectedRows) << "the list did not lose exactly the deleted rows";
    const int64_t stayBytes = stays.empty() ? 0 : File(stays).size;
    // The totals are the rows' own, never read back from the panels.
    EXPECT_EQ(Panels(), (std::vector<std::wstring>{
                            L"Selected Size: " + SizeText(stayBytes),
                            L"Selected Files: " + std::to_wstring(stays.empty() ? 0 : 1),
                            L"Total Files: " + std::to_wstring(expectedRows.size()),
                            SizeText(bytesBefore - goneBytes)}));
    EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
    std::vector<int> stillSelected;
    if (!stays.empty()) stillSelected.push_back(RowOf(File(stays)));
    EXPECT_EQ(app->SelectedRows(1), stillSelected);
    Shot(g_shots, std::wstring(shotStem) + L"-deleted");
  }

  static std::set<std::wstring> recycled;  // names of files moved to the Recycle Bin
  static std::set<std::wstring> erased;    // names of files deleted for good
};
std::set<std::wstring> DeletionE2E::recycled;
std::set<std::wstring> DeletionE2E::erased;

TEST_F(DeletionE2E, FindFilesListsTheTestDrive) {
  app->Click(kCmdFindFilesTB);
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] {
    app->Settle();
    return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
  })) << "the scan did not end";
  std::vector<std::wstring> rows = app->Rows(1), expected;
  for (const TestFile& f : kFiles) {
    if (f.listed) expected.push_back(RowTextOf(f));
  }
  std::sort(rows.begin(), rows.end());
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(rows, expected);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: 0 B", L"Selected Files: 0",
                                                 L"Total Files: 12", L"10 kB"}));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  ExpectFilesWhereTheyBelong();
  Shot(g_shots, L"01-found");
}

// The totals left are the rows' own: 11248 bytes less 2000 leave 9248,
// "9 kB" (reading "10 kB" back from the panel would have made it "8 kB").
TEST_F(DeletionE2E, DeleteSelectedMovesExactlyTheSelectedFilesToTheRecycleBin) {
  const TestFile& semi = File(L"a;b.tmp");
  const TestFile& umlaut = File(L"Gr\u00FC\u00DFe.tmp");
  const int semiRow = RowOf(semi), umlautRow = RowOf(umlaut);
  ASSERT_GE(semiRow, 0);
  ASSERT_GE(umlautRow, 0);

  DeleteSelected(kCmdDeleteSelTB, {semi.name, umlaut.name}, L"02");
  EXPECT_EQ(app->Panel(3), L"9 kB");
  recycled.insert({semi.name, umlaut.name});
  ExpectFilesWhereTheyBelong();
  // The last row of the list comes first.
  EXPECT_EQ(HandOffFile(), semiRow > umlautRow ? HandOffLines({&semi, &umlaut})
                                               : HandOffLines({&umlaut, &semi}));
}

// A name outside the ANSI code page, blanks, and "x.tmp" beside "xx.tmp"
// and "x.tmp.bak", which stay. 9248 bytes less 1800: "7 kB".
TEST_F(DeletionE2E, DeleteSelectedTakesOddNamesExactlyAndLeavesTheirNeighbours) {
  const TestFile& x = File(L"x.tmp");
  const TestFile& words = File(L"two words.tmp");
  const TestFile& cyrillic = File(L"\u041F\u0440\u0438\u0432\u0435\u0442.tmp");
  BOOL lossy = FALSE;
  char ansi[64];
  WideCharToMultiByte(CP_ACP, 0, cyrillic.name, -1, ansi, sizeof ansi, nullptr, &lossy);
  ASSERT_TRUE(lossy) << "the name fits the ANSI code page " << GetACP()
                     << "; the test needs one that does not";

  std::vector<const TestFile*> order = {&x, &words, &cyrillic};
  std::sort(order.begin(), order.end(),
            [&](const TestFile* a, const TestFile* b) { return RowOf(*a) > RowOf(*b); });
  DeleteSelected(kCmdDeleteSelTB, {x.name, words.name, cyrillic.name}, L"03");
  EXPECT_EQ(app->Panel(3), L"7 kB");
  recycled.insert({x.name, words.name, cyrillic.name});
  ExpectFilesWhereTheyBelong();
  EXPECT_EQ(HandOffFile(), HandOffLines(order));
  for (const wchar_t* stays : {L"xx.tmp", L"x.tmp.bak", L"b.tmp"})
    EXPECT_GE(RowOf(File(stays)), 0) << Show(stays) << " left the list";
}

// A read-only file stays on disk and in the list, selected, and the user is
// told; a plain one is gone, not recycled. The hand-off file is not touched.
// 7448 bytes less 2048: "5 kB".
TEST_F(DeletionE2E, DeletePermanentlyDeletesForGoodAndLeavesReadOnlyFiles) {
  const std::string handOff = HandOffFile();
  DeleteSelected(kCmdDeletePerTB, {L"locked.bak", L"draft.old"}, L"04", L"locked.bak",
                 L"1 file was not deleted and stays in the list:\r\n\r\n"
                 L"T:\\sub dir\\locked.bak (could not be deleted)");
  EXPECT_EQ(app->Panel(3), L"5 kB");
  erased.insert(L"draft.old");
  ExpectFilesWhereTheyBelong();
  EXPECT_EQ(HandOffFile(), handOff);
}

// Every row, selected or not, goes to the Recycle Bin, first row first;
// files that were never listed, or no longer are, stay.
TEST_F(DeletionE2E, DeleteAllMovesEveryListedFileToTheRecycleBin) {
  std::vector<const TestFile*> listed;
  for (const std::wstring& row : app->Rows(1)) {
    for (const TestFile& f : kFiles) {
      if (row == RowTextOf(f)) listed.push_back(&f);
    }
  }
  ASSERT_EQ(listed.size(), 6u) << "the earlier deletions left another list";
  app->ClickRow(1, 1, false);  // a selection changes nothing
  ASSERT_TRUE(app->ButtonEnabled(kCmdDeleteAllTB));

  // The read-only file goes to the Recycle Bin like the others.
  RunDeleteCommand(kCmdDeleteAllTB, kInUseNoticeAll, L"05-notice");
  EXPECT_EQ(app->RowCount(1), 0);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: 0 B", L"Selected Files: 0",
                                                 L"Total Files: 0", L"0 B"}));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  EXPECT_EQ(HandOffFile(), HandOffLines(listed));
  for (const TestFile* f : listed) recycled.insert(f->name);
  ExpectFilesWhereTheyBelong();  // "a", "keep.txt" and "locked.bak" among them
  Shot(g_shots, L"05-deleted-all");
}

}  // namespace
}  // namespace scourly::e2e
