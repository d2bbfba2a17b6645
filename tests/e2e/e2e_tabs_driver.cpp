// End-to-end tests of the three tabs that list what the shell keeps: "Recent
// Files", "IE Favorites" and "Dead Shortcuts". Before Scourly starts, this
// process puts items of its own into the prefix's real Recent and Favorites
// folders and real shell links on the test drive; then, on each tab, it scans
// by Find Files and by the File menu, checks the rows, the panels and the
// buttons, and gives Delete All, checking the hand-off file, the disk and the
// Recycle Bin (X:\Trash under Wine) from outside.
//   e2e_tabs_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// What the Recent and Favorites folders held before is moved aside for the
// run (Delete All would take it too) and put back at the end.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"
#include "ui/main/gui_ids.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;

constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000,
                                   {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DWORD kFolder = 0xFFFFFFFF;  // an item that is a folder
constexpr wchar_t kAside[] = L"C:\\scourly-e2e-aside";
const std::vector<std::wstring> kResetPanels = {L"Selected Size: 0 B", L"Selected Files: 0",
                                                L"Total Files: 0", L"0 B"};

// Gives a file or folder the stamp time, as the rows then show it.
bool Stamp(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME t = StampTime();
  bool ok = SetFileTime(h, nullptr, nullptr, &t);
  CloseHandle(h);
  return ok;
}

// A shell link made as the shell makes one.
HRESULT SaveLink(const std::wstring& link, const std::wstring& target) {
  ComPtr<IShellLinkW> shellLink;
  HRESULT hr = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IShellLinkW), shellLink.PutVoid());
  if (FAILED(hr) || FAILED(hr = shellLink->SetPath(target.c_str()))) return hr;
  ComPtr<IPersistFile> file;
  if (FAILED(hr = shellLink->QueryInterface(__uuidof(IPersistFile), file.PutVoid()))) return hr;
  return file->Save(link.c_str(), TRUE);
}

// ---- What each tab should list ----

// An item the driver makes below a place: a file of `size` bytes or a folder.
struct Item {
  const wchar_t* sub;  // below the place, ending in "\" (or empty)
  const wchar_t* name;
  DWORD size;
  bool listed;
  bool hidden = false;
};

// Recent: files, a hidden one, and a folder listed as one entry whose file
// is not. 2400 bytes in four rows.
const Item kRecentItems[] = {
    {L"", L"scourly-e2e report.txt.lnk", 700, true},
    {L"", L"scourly-e2e budget.xls.lnk", 1400, true},
    {L"", L"scourly-e2e hidden.lnk", 300, true, true},
    {L"", L"scourly-e2e folder", kFolder, true},
    {L"scourly-e2e folder\\", L"inside.txt", 50, false},
};
// Favorites: a tree walked through, and a "SendTo" folder listed, not
// entered. 1700 bytes in three rows.
const Item kFavoriteItems[] = {
    {L"", L"Scourly e2e", kFolder, false},
    {L"Scourly e2e\\", L"News.url", 500, true},
    {L"Scourly e2e\\", L"Deep", kFolder, false},
    {L"Scourly e2e\\Deep\\", L"Mail.url", 1200, true},
    {L"Scourly e2e\\", L"SendTo", kFolder, true},
    {L"Scourly e2e\\SendTo\\", L"inside.url", 80, false},
};

// A row the tab should show, and where its item is.
struct Listed {
  std::wstring location, name;  // location ends in "\"
  int64_t size;                 // 0 for a folder
  std::wstring inner;           // a folder's file, which goes with it
  std::wstring Path() const { return location + name; }
  std::wstring Row() const {
    return name + L";" + location + L";" + std::to_wstring(size) + L";" + StampText();
  }
};

struct TabCase {
  const wchar_t* label;
  int tab;  // and ListBoxN, N = tab + 1
  int menuCmd;
  std::vector<Listed> listed;
  std::vector<std::wstring> stays;  // what the driver made that no Delete All may touch
};
TabCase g_cases[3] = {{L"recent", 1, kCmdScanforRecentDocuments1, {}, {}},
                      {L"favorites", 2, kCmdScanforFavorites1, {}, {}},
                      {L"dead-shortcuts", 4, kCmdScanforDeadShortcuts1, {}, {}}};
std::wstring g_recent, g_favorites;

std::wstring SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE) ? path : L"";
}

void MoveAll(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  for (const std::wstring& name : NamesIn(from))
    MoveFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str());
}

template <size_t N>
void MakeItems(const std::wstring& place, const Item (&items)[N], TabCase& c) {
  for (const Item& item : items) {
    const std::wstring path = place + L"\\" + item.sub + item.name;
    if (item.size == kFolder) {
      ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << Utf8(path);
    } else {
      ASSERT_TRUE(CreateTestFile(path, item.size)) << Utf8(path);
      if (item.hidden) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
      }
    }
  }
  for (const Item& item : items) {  // now that nothing more is made inside
    const std::wstring path = place + L"\\" + item.sub + item.name;
    ASSERT_TRUE(Stamp(path)) << Utf8(path);
    const std::wstring asSub = std::wstring(item.sub) + item.name + L"\\";
    if (!item.listed) {
      // It stays unless a listed folder takes it along.
      bool inListed = false;
      for (const Item& up : items) {
        if (up.listed && std::wstring(item.sub) == std::wstring(up.sub) + up.name + L"\\")
          inListed = true;
      }
      if (!inListed) c.stays.push_back(path);
      continue;
    }
    Listed l{place + L"\\" + item.sub, item.name, item.size == kFolder ? 0 : item.size, L""};
    for (const Item& in : items) {
      if (item.size == kFolder && asSub == in.sub) l.inner = in.name;
    }
    c.listed.push_back(l);
  }
}

// Links on T:\links, some of whose targets are deleted before the scan: dead
// are gone.lnk and deep\gone2.lnk; a link to a file, to a folder and to the
// drive root are alive, and a dead link in a "SendTo" folder is never looked
// at.
void MakeShortcuts(TabCase& c) {
  for (const wchar_t* folder : {L"T:\\targets", L"T:\\targets\\folder", L"T:\\links",
                                L"T:\\links\\deep", L"T:\\links\\SendTo"})
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
  for (const wchar_t* file : {L"T:\\targets\\alive.txt", L"T:\\targets\\gone.txt",
                              L"T:\\targets\\gone2.doc"})
    ASSERT_TRUE(CreateTestFile(file, 100));
  struct Link {
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* target;
    bool dead;
  };
  const Link links[] = {
      {L"T:\\links\\", L"alive.lnk", L"T:\\targets\\alive.txt", false},
      {L"T:\\links\\", L"folder.lnk", L"T:\\targets\\folder", false},
      {L"T:\\links\\", L"root.lnk", L"T:\\", false},
      {L"T:\\links\\", L"gone.lnk", L"T:\\targets\\gone.txt", true},
      {L"T:\\links\\deep\\", L"gone2.lnk", L"T:\\targets\\gone2.doc", true},
      {L"T:\\links\\SendTo\\", L"skipped.lnk", L"T:\\targets\\gone.txt", false},
  };
  for (const Link& link : links) {
    const std::wstring path = std::wstring(link.folder) + link.name;
    ASSERT_EQ(SaveLink(path, link.target), S_OK) << Utf8(path);
    ASSERT_TRUE(Stamp(path));
    if (link.dead)
      c.listed.push_back({link.folder, link.name, SizeOnDisk(path), L""});
    else
      c.stays.push_back(path);
  }
  ASSERT_TRUE(DeleteFileW(L"T:\\targets\\gone.txt"));
  ASSERT_TRUE(DeleteFileW(L"T:\\targets\\gone2.doc"));
  c.stays.push_back(L"T:\\targets\\alive.txt");
}

struct ComScope {
  ComScope() { CoInitialize(nullptr); }
  ~ComScope() { CoUninitialize(); }
};

void MakeSeeds() {
  ComScope com;
  g_recent = SpecialFolder(CSIDL_RECENT);
  g_favorites = SpecialFolder(CSIDL_FAVORITES);
  // Both are moved aside and emptied: only ever folders of the user's own.
  const std::wstring profile = SpecialFolder(CSIDL_PROFILE) + L"\\";
  for (std::wstring* place : {&g_recent, &g_favorites}) {
    if (profile.size() < 8 || place->compare(0, profile.size(), profile) != 0) {
      const std::wstring wrong = *place;
      place->clear();
      FAIL() << "not in the user's profile: " << Utf8(wrong);
    }
  }
  CreateDirectoryW(kAside, nullptr);
  MoveAll(g_recent, kAside + std::wstring(L"\\recent"));
  MoveAll(g_favorites, kAside + std::wstring(L"\\favorites"));
  MakeItems(g_recent, kRecentItems, g_cases[0]);
  MakeItems(g_favorites, kFavoriteItems, g_cases[1]);
  MakeShortcuts(g_cases[2]);
}

template <size_t N>
void RemoveItems(const std::wstring& place, const Item (&items)[N]) {
  if (place.empty()) return;
  for (const Item& item : items) {
    if (*item.sub) continue;  // goes with its folder
    std::wstring from = place + L"\\" + item.name + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
  }
}

// Removes what is left of the driver's items (T:\ is emptied by the script)
// and puts back what was aside.
void RemoveSeeds() {
  RemoveItems(g_recent, kRecentItems);
  RemoveItems(g_favorites, kFavoriteItems);
  const std::wstring aside = kAside;
  if (!g_recent.empty()) MoveAll(aside + L"\\recent", g_recent);
  if (!g_favorites.empty()) MoveAll(aside + L"\\favorites", g_favorites);
  RemoveDirectoryW((aside + L"\\recent").c_str());
  RemoveDirectoryW((aside + L"\\favorites").c_str());
  RemoveDirectoryW(kAside);
}

// ---- The program under test ----

class TabsE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, MakeSeeds); }
  static void TearDownTestSuite() {
    CloseScourly();
    RemoveSeeds();
  }

  // The rows and panels of a tab that has just listed `c`.
  void ExpectListed(const TabCase& c, const char* how) const {
    std::vector<std::wstring> expected;
    int64_t bytes = 0;
    for (const Listed& l : c.listed) {
      expected.push_back(l.Row());
      bytes += l.size;
    }
    EXPECT_EQ(Lines(app->Rows(c.tab + 1)), Lines(expected)) << how;
    EXPECT_EQ(Panels(), (std::vector<std::wstring>{
                            L"Selected Size: 0 B", L"Selected Files: 0",
                            L"Total Files: " + std::to_wstring(expected.size()), SizeText(bytes)}))
        << how;
  }

  void ScanAndDeleteAll(const TabCase& c);

  static std::set<std::wstring> trash;  // what the Recycle Bin should hold
};
std::set<std::wstring> TabsE2E::trash;

void TabsE2E::ScanAndDeleteAll(const TabCase& c) {
  const int n = c.tab + 1;
  const std::wstring label = c.label;
  HWND tabs = app->Control(kIdPageControl1);
  auto activeTab = [&] { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); };
  ASSERT_EQ(c.listed.size() >= 2, true) << "the seeds were not made";

  // Find Files on the tab: it lists, and leaves Find Files and Delete All on.
  app->ClickTab(tabs, c.tab);
  ASSERT_EQ(activeTab(), c.tab);
  app->Click(kCmdFindFilesTB);
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] {
    app->Settle();
    return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
  })) << "Find Files did not end";
  ExpectListed(c, "after Find Files");
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  Shot(g_shots, label + L"-1-find-files");

  // The File menu item, given from another tab, brings the tab to the front
  // and lists again into the cleared list; Find Files stays off after it,
  // and so does Delete All, as the sheet showed an empty list.
  app->Click(kCmdClearTB);  // posted: a message sent meanwhile may pass it
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] {
    app->Settle();
    return app->RowCount(n) == 0;
  })) << "Clear left rows";
  app->ClickTab(tabs, 0);
  app->Click(c.menuCmd);
  ASSERT_TRUE(ScourlyProcess::WaitFor([&] {
    app->Settle();
    return activeTab() == c.tab && !app->ButtonEnabled(kCmdFindFilesTB) &&
           app->Panel(1) == L"Selected Files: 0";
  })) << "the File menu scan did not end";
  EXPECT_TRUE(IsWindowVisible(app->ListView(n)));
  ExpectListed(c, "after the File menu scan");
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  Shot(g_shots, label + L"-2-file-menu");

  // A click on a row refreshes the panels and the delete buttons.
  app->ClickRow(n, 0, false);
  const std::wstring first = app->RowText(n, 0);
  int64_t firstSize = -1;
  for (const Listed& l : c.listed) {
    if (l.Row() == first) firstSize = l.size;
  }
  EXPECT_EQ(app->Panel(0), L"Selected Size: " + SizeText(firstSize));
  EXPECT_EQ(app->Panel(1), L"Selected Files: 1");
  EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteSelTB));

  // Delete All: the notice, then every row's item to the Recycle Bin, first
  // row first.
  std::string handOff;
  for (const std::wstring& row : app->Rows(n)) {
    for (const Listed& l : c.listed) {
      if (l.Row() == row) handOff += Utf8(l.Path()) + "\r\n";
    }
  }
  app->Click(kCmdDeleteAllTB);
  HWND box = app->WaitForMessageBox();
  ASSERT_TRUE(box) << "no notice appeared; windows: " << Utf8(app->DescribeWindows());
  ScourlyProcess::MessageBoxView view = ScourlyProcess::ReadMessageBox(box);
  EXPECT_EQ(Utf8(view.caption), "Scourly");
  EXPECT_EQ(Utf8(view.text), "Some files may not be deleted if in use!");
  EXPECT_EQ(view.buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_FALSE(view.icon);
  Shot(g_shots, label + L"-3-notice");
  ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(box, IDOK));
  HWND told = nullptr;
  ScourlyProcess::WaitFor([&] {
    app->Settle();
    return app->RowCount(n) == 0 || (told = app->WaitForMessageBox(0)) != nullptr;
  });
  if (told) {
    ADD_FAILURE() << "items stayed: " << Utf8(ScourlyProcess::ReadMessageBox(told).text);
    ScourlyProcess::AnswerMessageBox(told, IDOK);
  }
  EXPECT_EQ(app->RowCount(n), 0);
  EXPECT_EQ(Panels(), kResetPanels);
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  EXPECT_EQ(HandOffFile(), handOff);

  // Each listed item is now in the Recycle Bin, whole (a folder with its
  // file); what was not listed is where it was.
  for (const Listed& l : c.listed) {
    const std::wstring inTrash = kTrashFiles + (L"\\" + l.name);
    EXPECT_EQ(SizeOnDisk(l.Path()), kNothing) << Utf8(l.Path()) << " is still there";
    EXPECT_EQ(SizeOnDisk(inTrash), l.inner.empty() ? l.size : kAFolder)
        << Utf8(l.name) << " is not whole in the Recycle Bin";
    if (!l.inner.empty()) {
      EXPECT_GT(SizeOnDisk(inTrash + L"\\" + l.inner), 0) << Utf8(l.inner) << " did not go along";
    }
    trash.insert(l.name);
  }
  for (const std::wstring& path : c.stays)
    EXPECT_NE(SizeOnDisk(path), kNothing) << Utf8(path) << " was not listed and is gone";
  EXPECT_EQ(Lines(NamesIn(kTrashFiles)),
            Lines(std::vector<std::wstring>(trash.begin(), trash.end())))
      << "the Recycle Bin holds something else";
  Shot(g_shots, label + L"-4-deleted");
}

TEST_F(TabsE2E, RecentFilesAreListedTwiceThenAllRecycled) { ScanAndDeleteAll(g_cases[0]); }

TEST_F(TabsE2E, FavoritesAreListedTwiceThenAllRecycled) { ScanAndDeleteAll(g_cases[1]); }

TEST_F(TabsE2E, DeadShortcutsAreListedTwiceThenAllRecycled) { ScanAndDeleteAll(g_cases[2]); }

}  // namespace
}  // namespace scourly::e2e
