// End-to-end tests of what the user does to a result list in the real
// window: Select All and Invert Selection from the toolbar and the popup
// menu, sorting by a click on each column header, a name holding ";" drawn
// whole in its column, opening the current entry with the shell, and the
// Delete key.
//   e2e_lists_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The test drive T:\ and the Recycle Bin must be empty; the driver fills the
// drive and writes a settings.ini that also lists command files ("*.cmd"),
// so that opening an entry runs something that leaves a mark.
// The tests run in their order and share one program and one drive.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;

void Shot(const std::wstring& name) { scourly::e2e::Shot(g_shots, name); }

using scourly::e2e::Show;  // the text overload beside the rows one
std::string Show(const std::vector<std::wstring>& rows) {
  std::string out;
  for (const std::wstring& row : rows) out += "\n  " + Utf8(row);
  return out;
}

// ---- The test drive ----

// Opened by the shell, it writes "opened" into NAME.opened beside itself.
constexpr char kScript[] = "@echo opened> \"%~dpn0.opened\"\r\n";

struct TestFile {
  const wchar_t* folder;  // below T:\, ending in "\" (or empty)
  const wchar_t* name;
  DWORD size;             // a script's is its text's
  WORD year, month, day;  // last write, at noon UTC
  bool script;
};

// Every file is listed (by a mask of the settings or as an empty file).
// Names start with distinct letters, ignoring case, so the list box's order
// is plain; "Beta.tmp" shares location, size and date with "a;b.tmp" and
// draws the same cells. Sizes 9, 10, 100, 1000 sort differently as numbers
// and as texts; the dates differ in the order of their texts; "T:\B\" comes
// before "T:\a\" by character code, after it ignoring case.
const TestFile kFiles[] = {
    {L"", L"a;b.tmp", 1000, 2021, 3, 4, false},
    {L"", L"Beta.tmp", 1000, 2021, 3, 4, false},
    {L"", L"charlie.bak", 9, 2020, 12, 1, false},
    {L"", L"foxtrot.cmd", 0, 2019, 7, 20, true},
    {L"", L"golf.cmd", 0, 2021, 11, 30, true},
    {L"B\\", L"delta.old", 10, 2021, 1, 5, false},
    {L"B\\", L"hotel.cmd", 0, 2018, 2, 14, true},
    {L"a\\", L"Echo.tmp", 100, 2022, 6, 30, false},
    {L"a\\", L"india.~1", 2048, 2020, 2, 29, false},
    {L"a\\", L"juliet.log", 0, 2017, 9, 9, false},
};

const TestFile& File(const std::wstring& name) {
  for (const TestFile& f : kFiles) {
    if (name == f.name) return f;
  }
  throw std::logic_error("not a test file");
}

DWORD SizeOf(const TestFile& f) {
  return f.script ? static_cast<DWORD>(std::strlen(kScript)) : f.size;
}
std::wstring LocationOf(const TestFile& f) { return std::wstring(L"T:\\") + f.folder; }
std::wstring PathOf(const TestFile& f) { return LocationOf(f) + f.name; }
std::wstring MarkOf(const TestFile& f) {
  std::wstring path = PathOf(f);
  return path.substr(0, path.find_last_of(L'.')) + L".opened";
}
std::wstring TrashPathOf(const TestFile& f) { return std::wstring(L"X:\\Trash\\files\\") + f.name; }

FILETIME TimeOf(const TestFile& f) {
  SYSTEMTIME st{f.year, f.month, 0, f.day, 12, 0, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}
uint64_t TicksOf(const TestFile& f) {
  FILETIME ft = TimeOf(f);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::wstring DateTextOf(const TestFile& f) { return ShortDateText(TimeOf(f)); }

std::wstring RowTextOf(const TestFile& f) {
  return std::wstring(f.name) + L";" + LocationOf(f) + L";" + std::to_wstring(SizeOf(f)) + L";" +
         DateTextOf(f);
}

const TestFile* FileOfRow(const std::wstring& row) {
  for (const TestFile& f : kFiles) {
    if (row == RowTextOf(f)) return &f;
  }
  return nullptr;
}

void MakeTestDrive() {
  ASSERT_TRUE(CreateDirectoryW(L"T:\\B", nullptr));
  ASSERT_TRUE(CreateDirectoryW(L"T:\\a", nullptr));
  for (const TestFile& f : kFiles) {
    HANDLE h = CreateFileW(PathOf(f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot create " << Show(PathOf(f));
    std::string bytes = f.script ? std::string(kScript) : std::string(f.size, 'x');
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FILETIME stamp = TimeOf(f);
    SetFileTime(h, nullptr, nullptr, &stamp);
    CloseHandle(h);
    ASSERT_EQ(written, bytes.size()) << Show(PathOf(f));
  }
}

// The settings every driver starts with, and "*.cmd" checked besides.
void WriteListsSettings(const std::wstring& exe) {
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  std::ofstream ini(std::filesystem::path(folder + L"settings.ini"), std::ios::binary);
  const char* masks[] = {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*", "*.cmd"};
  ini << "[options]\r\n";
  for (int i = 0; i < 7; ++i) ini << "extn" << i << "=" << masks[i] << "\r\nextn_chkd" << i << "=1\r\n";
  ini << "TempFiles=0\r\ntotal_extn=6\r\ntotal_chkd=7\r\n";
  ini << "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\nchkd1=1\r\ntotal_drives=1\r\n"
         "drives_chkd=1\r\n";
}


std::string ReadAll(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}


// The order the column sort must give: the exchange procedure, step by
// step, over the rows as they stood before the click.
std::vector<std::wstring> ExchangeSorted(
    std::vector<std::wstring> rows,
    const std::function<bool(const TestFile&, const TestFile&)>& less) {
  for (const std::wstring& row : rows) {
    if (!FileOfRow(row)) {
      ADD_FAILURE() << "not a row of a test file: " << Show(row);
      return rows;
    }
  }
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      if (less(*FileOfRow(rows[j]), *FileOfRow(rows[i]))) std::swap(rows[i], rows[j]);
    }
  }
  return rows;
}

// The order of a sorted list box: the whole texts, case ignored.
std::vector<std::wstring> ListBoxSorted(std::vector<std::wstring> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_LESS_THAN;
  });
  return rows;
}

const auto kByLocation = [](const TestFile& a, const TestFile& b) {
  return LocationOf(a) < LocationOf(b);  // by character code
};
const auto kBySize = [](const TestFile& a, const TestFile& b) { return SizeOf(a) < SizeOf(b); };
const auto kByDate = [](const TestFile& a, const TestFile& b) { return TicksOf(a) < TicksOf(b); };

// ---- Pixels of the screen ----

// A copy of a rectangle of the screen, 32 bits a pixel.
class ScreenGrab {
 public:
  explicit ScreenGrab(const RECT& screen) : width_(screen.right - screen.left), height_(screen.bottom - screen.top) {
    pixels_.resize(static_cast<size_t>(width_) * height_);
    HDC desk = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(desk);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(desk, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width_, height_, desk, screen.left, screen.top, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels_.data(), bits, pixels_.size() * sizeof(uint32_t));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, desk);
  }
  uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF; }

 private:
  int width_, height_;
  std::vector<uint32_t> pixels_;
};

// The columns holding a pixel other than `background` inside `cell`:
// {first, last}, or {-1, -1} when the cell is blank.
std::pair<int, int> InkColumns(const std::function<uint32_t(int, int)>& at, const RECT& cell,
                               uint32_t background) {
  int first = -1, last = -1;
  for (int x = cell.left; x < cell.right; ++x) {
    for (int y = cell.top; y < cell.bottom; ++y) {
      if (at(x, y) != background) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}

// How wide `text` draws in the list's font (Arial, 8 points at the DPI), as
// the columns of ink it leaves.
int InkWidthOf(const std::wstring& text) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(8, g_dpi, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  const int w = 400, h = 60;
  HDC desk = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(desk);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(desk, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(mem, dib);
  HGDIOBJ oldFont = SelectObject(mem, font);
  RECT all{0, 0, w, h};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(mem, RGB(0, 0, 0));
  SetBkMode(mem, TRANSPARENT);
  RECT at{10, 10, w, h};
  DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &at, DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();
  const uint32_t* px = static_cast<const uint32_t*>(bits);
  auto [first, last] = InkColumns([&](int x, int y) { return px[y * w + x] & 0xFFFFFF; }, all,
                                  0xFFFFFF);
  SelectObject(mem, oldFont);
  SelectObject(mem, oldBitmap);
  DeleteObject(dib);
  DeleteObject(font);
  DeleteDC(mem);
  ReleaseDC(nullptr, desk);
  return first < 0 ? 0 : last - first + 1;
}

// ---- The program under test ----

const std::vector<std::wstring> kResetSelection = {L"Selected Size: 0 B", L"Selected Files: 0"};

class ListsE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() {
    MakeTestDrive();
    WriteListsSettings(g_exe);
    app = new ScourlyProcess;
    started = app->Start(g_exe);
  }
  static void TearDownTestSuite() { CloseScourly(); }

  HWND Tabs() const { return app->Control(kIdPageControl1); }

  bool FindFiles() const {
    app->PressButton(kCmdFindFilesTB);
    return ScourlyProcess::WaitFor([&] {
      app->Settle();
      return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
    });
  }

  int RowOf(const wchar_t* name) const {
    std::vector<std::wstring> rows = app->Rows(1);
    auto it = std::find(rows.begin(), rows.end(), RowTextOf(File(name)));
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
  }

  static std::vector<int> AllRows() {
    std::vector<int> rows(app->RowCount(1));
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    return rows;
  }

  // The bytes of the listed rows: all of them, or those of `rows`.
  int64_t BytesOf(const std::vector<int>& rows) const {
    std::vector<std::wstring> texts = app->Rows(1);
    int64_t bytes = 0;
    for (int r : rows) {
      const TestFile* f = FileOfRow(texts[r]);
      bytes += f ? SizeOf(*f) : 0;
    }
    return bytes;
  }

  // Picks an item of the popup menu by the keyboard, counted upward from
  // the last item (the Up key starts at the bottom), as a user would.
  void PopupPick(int upPresses) const {
    auto menuShown = [] {
      HWND menu = FindWindowW(L"#32768", nullptr);
      return menu && IsWindowVisible(menu);
    };
    RECT rc;
    GetWindowRect(app->ListBox(1), &rc);
    PostMessageW(app->ListView(1), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app->ListBox(1)),
                 MAKELPARAM(rc.left + 40, rc.top + 40));
    ASSERT_TRUE(ScourlyProcess::WaitFor(menuShown, 5000)) << "the popup menu did not open";
    HWND menu = FindWindowW(L"#32768", nullptr);
    for (int i = 0; i < upPresses; ++i) {
      PostMessageW(menu, WM_KEYDOWN, VK_UP, 1);
      PostMessageW(menu, WM_KEYUP, VK_UP, 0xC0000001);
    }
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(menu, WM_KEYUP, VK_RETURN, 0xC0000001);
    ASSERT_TRUE(ScourlyProcess::WaitFor([&] { return !menuShown(); }, 5000))
        << "the popup menu stayed open";
    app->Settle();
  }

  // A header click on `section`: the rows from the order `expected` gives
  // the rows as they stood, no selection, panels 0 and 1 reset and panels
  // 2 and 3 as they were. A selection is made first, to see it go.
  void ExpectHeaderClickSorts(int section,
                              const std::function<std::vector<std::wstring>(
                                  const std::vector<std::wstring>&)>& expected,
                              bool mustMove, const wchar_t* shot) {
    app->PressButton(kCmdSelectAllTB);
    ASSERT_EQ(app->SelectedRows(1), AllRows());
    const std::vector<std::wstring> before = app->Rows(1);
    const std::wstring totalFiles = app->Panel(2), totalSize = app->Panel(3);
    const std::vector<std::wstring> after = expected(before);
    if (mustMove) {
      ASSERT_NE(after, before) << "the rows stand sorted already; the click would prove nothing";
    }
    app->ClickHeader(1, section);
    EXPECT_EQ(app->Rows(1), after) << "section " << section << "; before:" << Show(before)
                                   << "\nnow:" << Show(app->Rows(1));
    EXPECT_EQ(app->SelectedRows(1), std::vector<int>{}) << "the selection survived the sort";
    EXPECT_EQ(Panels(), (std::vector<std::wstring>{kResetSelection[0], kResetSelection[1],
                                                   totalFiles, totalSize}));
    if (shot) Shot(shot);
  }

  // The Delete key on the list box, given by `press`: the selected rows'
  // files go to the Recycle Bin, no notice comes first, and DeleteSelTB
  // keeps the state the click gave it.
  void ExpectDeleteKeyRecycles(const std::vector<const wchar_t*>& names,
                               const std::function<void()>& press, const wchar_t* shot) {
    std::vector<std::wstring> rowsAfter = app->Rows(1);
    for (size_t k = 0; k < names.size(); ++k) {
      const int row = RowOf(names[k]);
      ASSERT_GE(row, 0) << Show(names[k]) << " is not listed";
      app->ClickRow(1, row, k > 0);
      rowsAfter.erase(std::remove(rowsAfter.begin(), rowsAfter.end(), RowTextOf(File(names[k]))),
                      rowsAfter.end());
    }
    ASSERT_EQ(app->SelectedRows(1).size(), names.size());
    ASSERT_TRUE(app->ButtonEnabled(kCmdDeleteSelTB));
    const int before = app->RowCount(1);

    press();
    bool changed = ScourlyProcess::WaitFor([&] {
      app->Settle();
      return app->RowCount(1) != before;
    }, 10000);
    HWND box = app->WaitForMessageBox(changed ? 500 : 100);
    if (box) {
      ADD_FAILURE() << "a message came up: "
                    << Show(ScourlyProcess::ReadMessageBox(box).text);
      Shot(std::wstring(shot) + L"-message");
      ScourlyProcess::AnswerMessageBox(box, IDOK);
    }
    ASSERT_TRUE(changed) << "the Delete key deleted nothing";
    EXPECT_EQ(app->Rows(1), rowsAfter);
    int64_t bytesLeft = 0;
    for (const std::wstring& row : rowsAfter) bytesLeft += FileOfRow(row) ? SizeOf(*FileOfRow(row)) : 0;
    EXPECT_EQ(Panels(), (std::vector<std::wstring>{kResetSelection[0], kResetSelection[1],
                                                   L"Total Files: " + std::to_wstring(rowsAfter.size()),
                                                   SizeText(bytesLeft)}));
    EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteSelTB)) << "the Delete key disabled DeleteSelTB";
    for (const wchar_t* name : names) {
      const TestFile& f = File(name);
      EXPECT_EQ(SizeOnDisk(PathOf(f)), -1) << Show(PathOf(f)) << " is still on the test drive";
      EXPECT_EQ(SizeOnDisk(TrashPathOf(f)), static_cast<int64_t>(SizeOf(f)))
          << Show(f.name) << " is not whole in the Recycle Bin";
    }
    Shot(shot);
  }

  // Waits for the mark of an opened command file; how long it took goes
  // into `slowestOpenMs`.
  static bool WaitOpened(const TestFile& f) {
    const DWORD start = GetTickCount();
    // The command processor creates the file before it writes the line.
    bool done = ScourlyProcess::WaitFor([&] { return ReadAll(MarkOf(f)) == "opened\r\n"; }, 20000);
    slowestOpenMs = std::max<DWORD>(slowestOpenMs, GetTickCount() - start);
    return done;
  }
  static std::vector<std::wstring> Marks() {
    std::vector<std::wstring> marks;
    for (const TestFile& f : kFiles) {
      if (f.script && SizeOnDisk(MarkOf(f)) >= 0) marks.push_back(MarkOf(f));
    }
    return marks;
  }

  static std::vector<std::wstring> scanOrder;  // the first scan's rows
  static DWORD slowestOpenMs;
};
std::vector<std::wstring> ListsE2E::scanOrder;
DWORD ListsE2E::slowestOpenMs = 0;

TEST_F(ListsE2E, FindFilesListsEveryTestFile) {
  ASSERT_TRUE(FindFiles()) << "the scan did not end";
  scanOrder = app->Rows(1);
  std::vector<std::wstring> rows = scanOrder, expected;
  for (const TestFile& f : kFiles) expected.push_back(RowTextOf(f));
  std::sort(rows.begin(), rows.end());
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(rows, expected) << "listed:" << Show(rows);
  int64_t total = 0;
  for (const TestFile& f : kFiles) total += SizeOf(f);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{
                          kResetSelection[0], kResetSelection[1],
                          L"Total Files: " + std::to_wstring(std::size(kFiles)), SizeText(total)}));
  Shot(L"01-found");
}

// The toolbar buttons and the popup items, both ways round; after an invert
// panel 0 reads "Selected Size " without a colon, and counts the rows that
// are selected now.
TEST_F(ListsE2E, SelectAllAndInvertSelectionFromTheToolbarAndThePopupMenu) {
  const std::vector<int> all = AllRows();
  const int64_t total = BytesOf(all);
  const std::wstring totalFiles = app->Panel(2), totalSize = app->Panel(3);
  ASSERT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));

  app->PressButton(kCmdSelectAllTB);
  EXPECT_EQ(app->SelectedRows(1), all);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: " + SizeText(total),
                                                 L"Selected Files: " + std::to_wstring(all.size()),
                                                 totalFiles, totalSize}));
  // Find Files left it off, and selecting by command does not turn it on.
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  Shot(L"02-select-all");

  const int charlie = RowOf(L"charlie.bak");
  ASSERT_GE(charlie, 0);
  app->ClickRow(1, charlie, false);
  ASSERT_EQ(app->SelectedRows(1), std::vector<int>{charlie});
  app->PressButton(kCmdInvertSelTB);
  std::vector<int> others = all;
  others.erase(others.begin() + charlie);
  EXPECT_EQ(app->SelectedRows(1), others);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size " + SizeText(total - 9),
                                                 L"Selected Files: " + std::to_wstring(others.size()),
                                                 totalFiles, totalSize}));
  Shot(L"03-inverted");

  PopupPick(1);  // "Invert Selection", the last item
  EXPECT_EQ(app->SelectedRows(1), std::vector<int>{charlie}) << "a second invert did not restore it";
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size 9 B", L"Selected Files: 1",
                                                 totalFiles, totalSize}));

  PopupPick(2);  // "Select All"
  EXPECT_EQ(app->SelectedRows(1), all);
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: " + SizeText(total),
                                                 L"Selected Files: " + std::to_wstring(all.size()),
                                                 totalFiles, totalSize}));
}

TEST_F(ListsE2E, EachColumnHeaderSortsItsColumnAscending) {
  auto by = [](auto less) {
    return [less](const std::vector<std::wstring>& rows) { return ExchangeSorted(rows, less); };
  };
  ExpectHeaderClickSorts(2, by(kBySize), true, L"04-by-size");        // 9, 10, 100, 1000...
  ExpectHeaderClickSorts(1, by(kByLocation), true, L"05-by-location");  // T:\, T:\B\, T:\a\ .
  ExpectHeaderClickSorts(3, by(kByDate), true, L"06-by-time-stamp");
  // A second click does not turn the order round.
  ExpectHeaderClickSorts(3, [](const std::vector<std::wstring>& rows) { return rows; }, false,
                         nullptr);
  ExpectHeaderClickSorts(0, ListBoxSorted, true, L"07-by-file-name");
}

// "File Name" is the list box's sorted state: a later scan's rows come in
// sorted; another header ends it, and the next scan's rows come as found.
TEST_F(ListsE2E, FileNameKeepsLaterScansSortedUntilAnotherHeaderIsClicked) {
  ASSERT_NE(ListBoxSorted(scanOrder), scanOrder) << "the scan finds the rows sorted already";
  ASSERT_TRUE(FindFiles());
  EXPECT_EQ(app->Rows(1), ListBoxSorted(scanOrder)) << "now:" << Show(app->Rows(1));

  ExpectHeaderClickSorts(
      2, [](const std::vector<std::wstring>& rows) { return ExchangeSorted(rows, kBySize); }, true,
      nullptr);
  ASSERT_TRUE(FindFiles());
  EXPECT_EQ(app->Rows(1), scanOrder) << "now:" << Show(app->Rows(1));
  EXPECT_EQ(Panels()[0], kResetSelection[0]);
}

// Each column is drawn from the row's own field: "a;b.tmp" shows whole under
// File Name, and its other cells are those of "Beta.tmp", which has the same
// location, size and date. Split at its ";" the row would show "a" under
// File Name and "b.tmp" under Location.
TEST_F(ListsE2E, ANameHoldingASemicolonIsDrawnWholeInItsColumn) {
  const int semi = RowOf(L"a;b.tmp"), beta = RowOf(L"Beta.tmp");
  ASSERT_GE(semi, 0);
  ASSERT_GE(beta, 0);
  EXPECT_EQ(app->RowText(1, semi), L"a;b.tmp;T:\\;1000;" + DateTextOf(File(L"a;b.tmp")));
  ASSERT_EQ(app->SelectedRows(1), std::vector<int>{}) << "a selected row draws in other colours";
  SetForegroundWindow(app->main());
  app->Settle();
  Shot(L"08-semicolon-row");

  HWND list = app->ListBox(1);
  RECT client;
  GetClientRect(list, &client);
  RECT screen = client;
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&screen), 2);
  ScreenGrab grab(screen);
  auto at = [&](int x, int y) { return grab.At(x, y); };
  const uint32_t background = grab.At(client.right - 2, client.bottom - 2);

  const RECT semiRow = app->RowRect(1, semi), betaRow = app->RowRect(1, beta);
  ASSERT_LE(std::max(semiRow.bottom, betaRow.bottom), client.bottom) << "a row is out of view";
  // A cell without the row's edges, where a focus rectangle may be drawn.
  auto cell = [&](const RECT& row, int section) {
    RECT s = app->HeaderSectionRect(1, section);
    return RECT{s.left + 1, row.top + 1, s.right - 1, row.bottom - 1};
  };
  for (int section = 1; section < 4; ++section) {
    const RECT a = cell(semiRow, section), b = cell(betaRow, section);
    ASSERT_NE(InkColumns(at, a, background).first, -1) << "column " << section << " is blank";
    int differ = 0;
    for (int y = 0; y < a.bottom - a.top; ++y) {
      for (int x = a.left; x < a.right; ++x) differ += grab.At(x, a.top + y) != grab.At(x, b.top + y);
    }
    EXPECT_EQ(differ, 0) << "column " << section << " of \"a;b.tmp\" differs from that of Beta.tmp";
  }
  auto [first, last] = InkColumns(at, cell(semiRow, 0), background);
  ASSERT_NE(first, -1) << "\"a;b.tmp\" has a blank name";
  const int drawn = last - first + 1, whole = InkWidthOf(L"a;b.tmp"), half = InkWidthOf(L"a");
  ASSERT_GT(whole, half + 10) << "the reference drawing tells nothing";
  EXPECT_NEAR(drawn, whole, 2) << "the name is not drawn whole (\"a\" alone is " << half << " wide)";
}

// The current entry opens: the focused row, selected or not, of the active
// tab's list, by a double click, OpenTB and the popup item.
TEST_F(ListsE2E, TheCurrentEntryOpensByDoubleClickOpenButtonAndPopupItem) {
  const TestFile& foxtrot = File(L"foxtrot.cmd");
  const TestFile& golf = File(L"golf.cmd");
  const TestFile& hotel = File(L"hotel.cmd");
  ASSERT_EQ(Marks(), std::vector<std::wstring>{});

  app->DoubleClickRow(1, RowOf(foxtrot.name));
  EXPECT_TRUE(WaitOpened(foxtrot)) << "the double click did not open " << Show(PathOf(foxtrot));
  EXPECT_EQ(Marks(), std::vector<std::wstring>{MarkOf(foxtrot)});
  Shot(L"09-opened-by-double-click");

  // Selected, then unselected by Ctrl+click: still the current entry.
  const int golfRow = RowOf(golf.name);
  app->ClickRow(1, golfRow, false);
  app->ClickRow(1, golfRow, true);
  ASSERT_EQ(app->SelectedRows(1), std::vector<int>{});
  app->PressButton(kCmdOpenTB);
  EXPECT_TRUE(WaitOpened(golf)) << "OpenTB did not open the focused row " << Show(PathOf(golf));

  app->ClickRow(1, RowOf(hotel.name), false);
  app->Click(kCmdOpen1);  // what "Open Selected file" of the popup menu sends
  EXPECT_TRUE(WaitOpened(hotel)) << "the popup item did not open " << Show(PathOf(hotel));
  EXPECT_EQ(Marks(), (std::vector<std::wstring>{MarkOf(foxtrot), MarkOf(golf), MarkOf(hotel)}));
  EXPECT_EQ(app->WaitForMessageBox(500), nullptr) << "opening showed a message";
}

// On the Browser Cache tab neither the button nor the popup item opens
// anything, although ListBox1 has a current entry.
TEST_F(ListsE2E, NothingOpensOnTheBrowserCacheTab) {
  const TestFile& foxtrot = File(L"foxtrot.cmd");
  app->ClickRow(1, RowOf(foxtrot.name), false);
  ASSERT_TRUE(DeleteFileW(MarkOf(foxtrot).c_str()));
  app->ClickTab(Tabs(), 3);
  ASSERT_EQ(SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0), 3);
  app->PressButton(kCmdOpenTB);
  app->Click(kCmdOpen1);
  // Three times as long as the slowest opening above took.
  Sleep(std::max<DWORD>(3000, 3 * slowestOpenMs));
  EXPECT_EQ(SizeOnDisk(MarkOf(foxtrot)), -1) << "an entry opened from the Browser Cache tab";
  Shot(L"10-browser-cache-opens-nothing");
  app->ClickTab(Tabs(), 0);
  ASSERT_EQ(SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(ListsE2E, DeleteKeyRecyclesTheSelectedRowsWithoutANotice) {
  ExpectDeleteKeyRecycles(
      {L"charlie.bak", L"delta.old"},
      [] {
        PostMessageW(app->ListBox(1), WM_KEYDOWN, VK_DELETE, 0x01530001);
        PostMessageW(app->ListBox(1), WM_KEYUP, VK_DELETE, 0xC1530001);
      },
      L"11-delete-key");

  // With nothing selected the key does nothing.
  ASSERT_EQ(app->SelectedRows(1), std::vector<int>{});
  const std::vector<std::wstring> rows = app->Rows(1);
  PostMessageW(app->ListBox(1), WM_KEYDOWN, VK_DELETE, 0x01530001);
  Sleep(500);
  app->Settle();
  EXPECT_EQ(app->Rows(1), rows);
  EXPECT_EQ(app->WaitForMessageBox(500), nullptr);
}

// Shift held, from the keyboard itself (the program in front, the list
// focused by the click on its row): the same deletion to the Recycle Bin.
TEST_F(ListsE2E, ShiftDeleteRecyclesLikeDelete) {
  SetForegroundWindow(app->main());
  ASSERT_TRUE(ScourlyProcess::WaitFor([] { return GetForegroundWindow() == app->main(); }, 3000));
  ExpectDeleteKeyRecycles(
      {L"india.~1"},
      [] {
        INPUT keys[4] = {};
        const WORD vks[4] = {VK_SHIFT, VK_DELETE, VK_DELETE, VK_SHIFT};
        for (int i = 0; i < 4; ++i) {
          keys[i].type = INPUT_KEYBOARD;
          keys[i].ki.wVk = vks[i];
          keys[i].ki.dwFlags = (i >= 2 ? KEYEVENTF_KEYUP : 0) | (vks[i] == VK_DELETE ? KEYEVENTF_EXTENDEDKEY : 0);
        }
        // Delete goes down while Shift is held.
        ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
      },
      L"12-shift-delete");
}

}  // namespace
}  // namespace scourly::e2e
