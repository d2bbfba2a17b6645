// End-to-end tests of the "IE Cache" sub-tab. Before Scourly starts, this
// process seeds the prefix's real URL cache (content, cookie and history
// entries of a host of its own) and the browser's TypedURLs key; then it
// clicks the filter's real option buttons, rows and delete commands as a user
// would, and checks the rows, the "File information" labels and the panels
// in the window, and the cache and the registry from outside.
//   e2e_cache_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The tests run in their order on one window: each starts from what the one
// before left.
#include <windows.h>
#include <wininet.h>

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
using Texts = std::vector<std::string>;

// ---- What the driver seeds ----

const std::string kPage = "http://scourly-e2e.test/page.html";    // 1000 bytes
const std::string kLogo = "http://scourly-e2e.test/logo.png";     // 600
const std::string kScript = "http://scourly-e2e.test/big.js";     // 3000
const std::string kCookieA = "Cookie:alice@scourly-e2e.test/";     // 300
const std::string kCookieB = "Cookie:bob@scourly-e2e.test/shop/";  // 200
const std::string kVisitA = "Visited: alice@http://scourly-e2e.test/page.html";
const std::string kVisitB = "Visited: alice@http://scourly-e2e.test/shop.html";
const Texts kSeeded = {kPage, kLogo, kScript, kCookieA, kCookieB, kVisitA, kVisitB};
const std::string kLate = "http://scourly-e2e.test/late.png";  // cached after a scan
constexpr wchar_t kTypedKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kTypedOne = "http://typed-one.scourly-e2e.test/";
const std::string kTypedTwo = "http://typed-two.scourly-e2e.test/";
constexpr DWORD kPageHitRate = 7;

FILETIME UtcTime(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
  SYSTEMTIME st{y, mo, 0, d, h, mi, s, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}
const FILETIME kModified = UtcTime(2024, 3, 15, 12, 0, 0);
const FILETIME kAccessed = UtcTime(2024, 3, 16, 8, 30, 15);

// A moment as the labels show it: the local date in the short date format,
// and the time in the long time format when it is not midnight.
std::string DateTimeText(FILETIME utc) {
  FILETIME local;
  SYSTEMTIME st;
  FileTimeToLocalFileTime(&utc, &local);
  FileTimeToSystemTime(&local, &st);
  char date[100] = {}, time[100] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 100);
  std::string text = date;
  if (st.wHour || st.wMinute || st.wSecond) {
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 100);
    text += std::string(" ") + time;
  }
  return text;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool InCache(const std::string& url) {
  DWORD size = 0;
  GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size);
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// The seeded entries the cache still holds, in seeding order.
Texts SeededInCache() {
  Texts held;
  for (const std::string& url : kSeeded) {
    if (InCache(url)) held.push_back(url);
  }
  return held;
}

void SeedContent(const std::string& url, DWORD size, const char* ext, DWORD type) {
  char file[MAX_PATH] = {};
  ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, ext, file, 0)) << url;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << file;
  std::string body(size, 'c');
  DWORD written = 0;
  WriteFile(h, body.data(), size, &written, nullptr);
  CloseHandle(h);
  ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), file, {}, kModified, type, nullptr, 0, ext,
                                   nullptr))
      << url;
}

void SeedRecord(const std::string& url, DWORD type) {
  ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), nullptr, {}, kModified, type, nullptr, 0, nullptr,
                                   nullptr))
      << url;
}

// The TypedURLs values as "name=text", in the registry's order.
Texts TypedValues() {
  Texts values;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kTypedKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256], data[1024];
    DWORD nameLength = 256, bytes = sizeof data - sizeof(wchar_t), type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                      &bytes) != ERROR_SUCCESS)
      break;
    data[bytes / sizeof(wchar_t)] = 0;
    values.push_back(Utf8(name) + "=" + Utf8(data));
  }
  RegCloseKey(key);
  return values;
}

void WriteTypedValues(const Texts& values) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kTypedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  for (const std::string& value : values) {
    const size_t eq = value.find('=');
    std::wstring name = Wide(value.substr(0, eq)), text = Wide(value.substr(eq + 1));
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
}

Texts g_typedBefore;  // the key's values before the run, put back at the end
bool g_typedExisted = false;

void Seed() {
  for (const std::string& url : kSeeded) DeleteUrlCacheEntryA(url.c_str());  // an earlier run's
  SeedContent(kPage, 1000, "html", NORMAL_CACHE_ENTRY);
  SeedContent(kLogo, 600, "png", NORMAL_CACHE_ENTRY);
  SeedContent(kScript, 3000, "js", NORMAL_CACHE_ENTRY);
  SeedContent(kCookieA, 300, "txt", COOKIE_CACHE_ENTRY);
  SeedContent(kCookieB, 200, "txt", COOKIE_CACHE_ENTRY);
  SeedRecord(kVisitA, URLHISTORY_CACHE_ENTRY);
  SeedRecord(kVisitB, URLHISTORY_CACHE_ENTRY);
  // Details of the page's own, so that no other entry's could pass for them.
  INTERNET_CACHE_ENTRY_INFOA info{};
  info.dwStructSize = sizeof info;
  info.dwHitRate = kPageHitRate;
  info.LastAccessTime = kAccessed;
  ASSERT_TRUE(SetUrlCacheEntryInfoA(kPage.c_str(), &info,
                                    CACHE_ENTRY_HITRATE_FC | CACHE_ENTRY_ACCTIME_FC));

  HKEY probe;
  g_typedExisted = RegOpenKeyExW(HKEY_CURRENT_USER, kTypedKey, 0, KEY_READ, &probe) == 0;
  if (g_typedExisted) RegCloseKey(probe);
  g_typedBefore = TypedValues();
  RegDeleteTreeW(HKEY_CURRENT_USER, kTypedKey);
  WriteTypedValues({"url1=" + kTypedOne, "url2=" + kTypedTwo});
}

void Unseed() {
  for (const std::string& url : kSeeded) DeleteUrlCacheEntryA(url.c_str());
  DeleteUrlCacheEntryA(kLate.c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, kTypedKey);
  RegDeleteKeyW(HKEY_CURRENT_USER, kTypedKey);
  if (g_typedExisted) WriteTypedValues(g_typedBefore);
}

// ---- The program under test ----

enum Filter { kAll, kCookies, kHistory, kTemporary };
const char* const kFilterNames[] = {"All", "Cookies", "URL History", "Temporary Files"};

class CacheE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, Seed); }
  static void TearDownTestSuite() {
    CloseScourly();
    Unseed();
  }

  static HWND Sheet() { return app->Control(kIdCacheSheet); }
  static HWND FilterButton(int i) { return GetDlgItem(Sheet(), kIdFilterAll + i); }

  // A click on the filter's option button, as the mouse gives it.
  static void ClickFilter(Filter f) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(FilterButton(f), BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &result);
    app->Settle();
  }
  static int CheckedFilter() {
    int checked = -1;
    for (int i = 0; i < 4; ++i) {
      if (SendMessageW(FilterButton(i), BM_GETCHECK, 0, 0) == BST_CHECKED)
        checked = checked == -1 ? i : -2;  // -2: more than one
    }
    return checked;
  }
  static Texts Labels() {
    Texts texts;
    for (int i = 0; i < 4; ++i) {
      wchar_t text[256] = {};
      GetWindowTextW(GetDlgItem(Sheet(), kIdLabel1 + i), text, 256);
      texts.push_back(Utf8(text));
    }
    return texts;
  }
  // The labels whose text is wider than the label, measured with the font
  // the program gives them (Arial, 8 point at the prefix's DPI).
  static Texts CutLabels() {
    Texts cut;
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(8, g_dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                             0, 0, DEFAULT_QUALITY, 0, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    for (int i = 0; i < 4; ++i) {
      HWND label = GetDlgItem(Sheet(), kIdLabel1 + i);
      wchar_t text[256] = {};
      int length = GetWindowTextW(label, text, 256);
      SIZE extent{};
      RECT client{};
      GetTextExtentPoint32W(dc, text, length, &extent);
      GetClientRect(label, &client);
      if (extent.cx > client.right || extent.cy > client.bottom)
        cut.push_back(Utf8(text) + " (" + std::to_string(extent.cx) + " wide in " +
                      std::to_string(client.right) + ")");
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return cut;
  }
  static Texts Rows() {
    Texts rows;
    for (const std::wstring& row : app->Rows(4)) rows.push_back(Utf8(row));
    return rows;
  }
  static int RowOf(const std::string& text) {
    Texts rows = Rows();
    auto it = std::find(rows.begin(), rows.end(), text);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
  }
  static Texts PanelTexts() {
    Texts texts;
    for (const std::wstring& panel : Panels()) texts.push_back(Utf8(panel));
    return texts;
  }
  static Texts Sorted(Texts t) {
    std::sort(t.begin(), t.end());
    return t;
  }

  // Gives delete command `cmd`, checks and answers its notice, and waits
  // for the list to change.
  static void RunDelete(int cmd, const std::string& notice, const std::wstring& shot) {
    const int before = app->RowCount(4);
    app->Click(cmd);
    HWND box = app->WaitForMessageBox();
    ASSERT_TRUE(box) << "no notice appeared; windows: " << Utf8(app->DescribeWindows());
    ScourlyProcess::MessageBoxView view = ScourlyProcess::ReadMessageBox(box);
    EXPECT_EQ(Utf8(view.caption), "Scourly");
    EXPECT_EQ(Utf8(view.text), notice);
    EXPECT_EQ(view.buttons, std::vector<std::wstring>{L"OK"});
    Shot(g_shots, shot);
    ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(ScourlyProcess::WaitFor([&] {
      app->Settle();
      return app->RowCount(4) != before;
    })) << "the list did not change";
    EXPECT_EQ(app->WaitForMessageBox(300), nullptr) << "a second message appeared";
  }
};

// Delete All follows the list on view. A file tab's Find Files turns it on;
// the IE Cache list, never scanned, turns it off again, so the button takes
// no click there and the cache keeps every entry.
TEST_F(CacheE2E, DeleteAllIsOffWhileTheIECacheListShowsNothing) {
  app->ClickTab(app->Control(kIdPageControl1), 1);  // Recent Files
  app->Click(kCmdFindFilesTB);
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] {
    app->Settle();
    return app->ButtonEnabled(kCmdDeleteAllTB);
  })) << "Find Files did not turn Delete All on";
  app->ClickTab(app->Control(kIdPageControl1), 3);
  ASSERT_EQ(app->RowCount(4), 0);
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB)) << "the other tab's state stayed";
  app->Click(kCmdDeleteAllTB);
  EXPECT_EQ(app->WaitForMessageBox(1000), nullptr) << "the button took the click";
  EXPECT_EQ(SeededInCache(), kSeeded);
  Shot(g_shots, L"0-empty-list-delete-all-off");
}

// Each filter lists exactly its entries; under "URL History" the typed
// addresses come first, in the key's order. The totals follow the size-text
// rule: 5100 bytes in all, 500 in cookies, 4600 in content.
TEST_F(CacheE2E, EachFilterListsItsEntriesWithTheirTotal) {
  app->ClickTab(app->Control(kIdPageControl1), 3);
  ASSERT_TRUE(IsWindowVisible(app->ListView(4)));
  EXPECT_EQ(CheckedFilter(), -1) << "a filter is chosen before any click";
  EXPECT_EQ(app->RowCount(4), 0);

  struct Case {
    Filter filter;
    Texts typedRows;  // first, in this order
    Texts rows;       // then, in any order
    const char* total;
  };
  const Case cases[] = {
      {kAll, {}, kSeeded, "4 kB"},
      {kCookies, {}, {kCookieA, kCookieB}, "500 B"},
      {kTemporary, {}, {kPage, kLogo, kScript}, "4 kB"},
      {kHistory, {"Visited: " + kTypedOne, "Visited: " + kTypedTwo}, {kVisitA, kVisitB}, "0 B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(kFilterNames[c.filter]);
    ClickFilter(c.filter);
    EXPECT_EQ(CheckedFilter(), c.filter);
    Texts rows = Rows();
    const size_t typed = std::min(rows.size(), c.typedRows.size());
    EXPECT_EQ(Texts(rows.begin(), rows.begin() + typed), c.typedRows);
    EXPECT_EQ(Sorted(Texts(rows.begin() + typed, rows.end())), Sorted(c.rows));
    EXPECT_EQ(PanelTexts(), (Texts{"Selected Size: 0 B", "Selected Files: 0",
                                   "Total Files: " + std::to_string(rows.size()), c.total}));
    EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteAllTB));
    EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
    Shot(g_shots, L"1-filter-" + Wide(kFilterNames[c.filter]));
  }
  EXPECT_EQ(TypedValues(), (Texts{"url1=" + kTypedOne, "url2=" + kTypedTwo})) << "a scan wrote";
}

// The focused entry's details; the selected size in plain bytes while the
// total keeps its size text. A typed address has no details to show.
TEST_F(CacheE2E, ClicksShowTheFocusedEntryAndTheSelectionInBytes) {
  ClickFilter(kTemporary);
  ASSERT_GE(RowOf(kPage), 0);
  ASSERT_GE(RowOf(kLogo), 0);
  app->ClickRow(4, RowOf(kPage), false);
  EXPECT_EQ(Labels(), (Texts{"Hit Rate: " + std::to_string(kPageHitRate), "File Size: 1000 B",
                             "Last Access: " + DateTimeText(kAccessed),
                             "Last Modified: " + DateTimeText(kModified)}));
  EXPECT_EQ(CutLabels(), Texts{}) << "the user cannot read these labels whole";
  EXPECT_EQ(app->Panel(0), L"Selected Size: 1000 B");
  app->ClickRow(4, RowOf(kLogo), true);
  EXPECT_EQ(Labels()[1], "File Size: 600 B");
  EXPECT_EQ(PanelTexts(), (Texts{"Selected Size: 1600 B", "Selected Files: 2", "Total Files: 3",
                                 "4 kB"}));
  EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteSelTB));
  Shot(g_shots, L"2-temporary-selected");
}

// Deleting selected cache entries is permanent, whichever command: exactly
// the two selected entries leave the cache, nothing reaches the Recycle Bin
// or the hand-off file, and the list is built again from what is left.
TEST_F(CacheE2E, DeleteSelectedRemovesExactlyTheSelectedEntries) {
  ASSERT_EQ(app->SelectedRows(4).size(), 2u);
  RunDelete(kCmdDeletePerTB, "Some files may not be deleted if in use", L"3-notice");
  EXPECT_EQ(SeededInCache(), (Texts{kScript, kCookieA, kCookieB, kVisitA, kVisitB}));
  EXPECT_EQ(Rows(), Texts{kScript});
  EXPECT_EQ(PanelTexts(),
            (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 1", "2 kB"}));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  EXPECT_EQ(CheckedFilter(), kTemporary);
  EXPECT_EQ(HandOffFile(), "<no FList.txt>");
  EXPECT_EQ(Lines(NamesIn(kTrashFiles)), "") << "something went to the Recycle Bin";
  Shot(g_shots, L"3-temporary-deleted");
}

// Under "URL History" a typed address and a history entry are deleted
// together: the one registry value the row was built from, and the entry.
TEST_F(CacheE2E, DeleteSelectedUnderHistoryRemovesTheTypedValueAndTheEntry) {
  ClickFilter(kHistory);
  ASSERT_EQ(app->RowText(4, 0), Wide("Visited: " + kTypedOne));
  app->ClickRow(4, 0, false);
  EXPECT_EQ(Labels(), (Texts{"Hit Rate: ", "File Size: ", "Last Access: ", "Last Modified: "}))
      << "a typed address shows another entry's details";
  EXPECT_EQ(app->Panel(0), L"Selected Size: 0 B");
  app->ClickRow(4, RowOf(kVisitA), true);
  EXPECT_EQ(app->Panel(1), L"Selected Files: 2");
  Shot(g_shots, L"4-history-selected");

  RunDelete(kCmdDeleteSelTB, "Some files may not be deleted if in use", L"4-notice");
  EXPECT_EQ(TypedValues(), Texts{"url2=" + kTypedTwo});
  EXPECT_EQ(SeededInCache(), (Texts{kScript, kCookieA, kCookieB, kVisitB}));
  EXPECT_EQ(Rows(), (Texts{"Visited: " + kTypedTwo, kVisitB}));
  EXPECT_EQ(PanelTexts(),
            (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 2", "0 B"}));
  Shot(g_shots, L"4-history-deleted");
}

// Delete All takes what the chosen filter lists: under "Cookies" the cookies
// only, leaving the typed addresses; under "URL History" the history and
// every listed typed address. The panels stay as the list was.
TEST_F(CacheE2E, DeleteAllUnderAFilterTakesOnlyWhatItLists) {
  ClickFilter(kCookies);
  ASSERT_EQ(Sorted(Rows()), (Texts{kCookieA, kCookieB}));
  RunDelete(kCmdDeleteAllTB, "Some files may not be deleted if in use!", L"5-notice-cookies");
  EXPECT_EQ(app->RowCount(4), 0);
  EXPECT_EQ(SeededInCache(), (Texts{kScript, kVisitB}));
  EXPECT_EQ(TypedValues(), Texts{"url2=" + kTypedTwo});
  EXPECT_EQ(PanelTexts(),
            (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 2", "500 B"}));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  Shot(g_shots, L"5-cookies-deleted");

  ClickFilter(kHistory);
  ASSERT_EQ(Rows(), (Texts{"Visited: " + kTypedTwo, kVisitB}));
  RunDelete(kCmdDeleteAllTB, "Some files may not be deleted if in use!", L"5-notice-history");
  EXPECT_EQ(SeededInCache(), Texts{kScript});
  EXPECT_EQ(TypedValues(), Texts{});

  ClickFilter(kAll);
  EXPECT_EQ(Rows(), Texts{kScript});
  EXPECT_EQ(PanelTexts(),
            (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 1", "2 kB"}));
  EXPECT_EQ(HandOffFile(), "<no FList.txt>");
  EXPECT_EQ(Lines(NamesIn(kTrashFiles)), "") << "something went to the Recycle Bin";
  Shot(g_shots, L"5-all-left");
}

// Delete All takes the entries its rows name, in their order: an entry cached
// after the scan was never listed, so it stays.
TEST_F(CacheE2E, DeleteAllLeavesAnEntryCachedAfterTheScan) {
  ClickFilter(kTemporary);
  ASSERT_EQ(Rows(), Texts{kScript});
  SeedContent(kLate, 100, "png", NORMAL_CACHE_ENTRY);
  RunDelete(kCmdDeleteAllTB, "Some files may not be deleted if in use!", L"6-notice-late");
  EXPECT_FALSE(InCache(kScript));
  EXPECT_TRUE(InCache(kLate)) << "an entry no row showed went";
  ClickFilter(kAll);
  EXPECT_EQ(Rows(), Texts{kLate});
  Shot(g_shots, L"6-late-entry-stays");
}

}  // namespace
}  // namespace scourly::e2e
