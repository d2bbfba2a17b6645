// End-to-end tests of the "    More    " sub-tab: the real Scourly.exe finds
// the Netscape and Opera folders this process describes in the registry and
// lays out on the test drive; this process ticks the boxes, presses "Clear
// Now" and "Save Directory Paths" as a user would, and checks the Recycle
// Bin, the test drive and the registry from outside.
//   e2e_more_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The test drive T:\ and the Recycle Bin (X:\Trash) must be empty. The
// registry keys written here are removed again at the end.
#include <windows.h>
#include <commctrl.h>

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

// ---- The browsers, as their settings and folders describe them ----

constexpr int kBrowserCacheTab = 3, kIECacheSubTab = 0, kMoreSubTab = 1;

constexpr wchar_t kBiffKey[] = L"Software\\Netscape\\Netscape Navigator\\biff";
constexpr wchar_t kMainKey[] = L"Software\\Netscape\\Netscape Navigator\\Main";
constexpr wchar_t kOperaKey[] = L"Software\\Opera Software";
constexpr wchar_t kSavedKey[] = L"Software\\SW1\\Caches";

constexpr wchar_t kProfile[] = L"T:\\Program Files\\Netscape\\Users\\default";
constexpr wchar_t kOpera[] = L"T:\\Program Files\\Opera";

struct TestFile {
  const wchar_t* path;  // below T:\Program Files\ .
  DWORD size;
};

// What "Clear Now" with every box ticked must take: the two cache folders
// whole and the cookie and history files that exist ("autopera.win" does
// not).
const TestFile kTaken[] = {
    {L"Netscape\\Users\\default\\Cache\\M0001.htm", 400},
    {L"Netscape\\Users\\default\\Cache\\old\\M0002.gif", 500},
    {L"Netscape\\Users\\default\\cookies.txt", 120},
    {L"Netscape\\Users\\default\\netscape.hst", 300},
    {L"Opera\\Cache4\\opr00001.htm", 600},
    {L"Opera\\Cache4\\opr00002.tmp", 700},
    {L"Opera\\cookies4.dat", 130},
    {L"Opera\\opera.win", 140},
    {L"Opera\\global.dat", 150},
};
// Their neighbours, which stay.
const TestFile kKept[] = {
    {L"Netscape\\Communicator\\netscape.exe", 10},
    {L"Netscape\\Users\\default\\prefs.js", 50},
    {L"Opera\\opera.exe", 20},
    {L"Opera\\opera.ini", 30},
    {L"Opera\\Cache4.txt", 40},  // a name the cache folder's is a prefix of
};


void SetString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  HKEY h;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
}

// Deletes `key` and then each parent below "Software" that is left empty.
void DeleteKeyAndEmptyParents(HKEY root, std::wstring key) {
  RegDeleteTreeW(root, key.c_str());
  for (size_t cut = key.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
       cut = key.rfind(L'\\')) {
    key.resize(cut);
    if (key == L"Software") return;
    HKEY h;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) continue;
    DWORD keys = 0, values = 0;
    RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(h);
    if (keys != 0 || values != 0) return;
    RegDeleteKeyW(root, key.c_str());
  }
}

// Removes a value written here, and its key when nothing else is left in it.
void RemoveValue(const wchar_t* key, const wchar_t* name) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
  HKEY h;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return;
  DWORD keys = 0, values = 0;
  RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(h);
  if (keys == 0 && values == 0) DeleteKeyAndEmptyParents(HKEY_CURRENT_USER, key);
}

std::wstring ReadSaved(const wchar_t* name) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSavedKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

bool SavedKeyExists() {
  HKEY h;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSavedKey, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void MakeFolders(const std::wstring& path) {
  for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
}

void MakeTestDrive() {
  // Detection runs only while the program's own key is missing.
  DeleteKeyAndEmptyParents(HKEY_LOCAL_MACHINE, kSavedKey);
  SetString(kBiffKey, L"CurrentUser", L"default");
  SetString(kMainKey, L"Install Directory", L"T:\\Program Files\\Netscape\\Communicator");
  SetString(kOperaKey, L"Last Directory", kOpera);
  std::vector<TestFile> files(std::begin(kTaken), std::end(kTaken));
  files.insert(files.end(), std::begin(kKept), std::end(kKept));
  for (const TestFile& f : files) {
    std::wstring path = std::wstring(L"T:\\Program Files\\") + f.path;
    MakeFolders(path);
    ASSERT_TRUE(CreateTestFile(path, f.size)) << "cannot create " << Utf8(path);
  }
}

void RemoveRegistryKeys() {
  DeleteKeyAndEmptyParents(HKEY_LOCAL_MACHINE, kSavedKey);
  RemoveValue(kBiffKey, L"CurrentUser");
  RemoveValue(kMainKey, L"Install Directory");
  RemoveValue(kOperaKey, L"Last Directory");
}

// Every file below `folder`, as "relative path: size", sorted.
void ListTree(const std::wstring& folder, const std::wstring& relative,
              std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ListTree(folder + L"\\" + name, relative + name + L"\\", out);
    } else {
      out.push_back(relative + name + L": " + std::to_wstring(fd.nFileSizeLow));
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

std::vector<std::wstring> Tree(const std::wstring& folder) {
  std::vector<std::wstring> out;
  ListTree(folder, L"", out);
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> Show(const std::vector<std::wstring>& lines) {
  std::vector<std::string> out;
  for (const std::wstring& line : lines) out.push_back(Utf8(line));
  return out;
}

// The text an edit or tooltip holds itself: GetWindowText would give only
// the window's name across processes, so WM_GETTEXT is sent (it is carried
// between processes).
std::wstring TextOf(HWND hwnd) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 20000,
                      &copied);
  return text;
}

void Shot(const std::wstring& name) { scourly::e2e::Shot(g_shots, name); }

// ---- The program under test, shared by the tests in their order ----

class MoreE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, MakeTestDrive); }
  static void TearDownTestSuite() {
    CloseScourly();
    RemoveRegistryKeys();
  }

  HWND Sheet() const { return app->Control(kIdMoreSheet); }
  HWND More(int id) const { return app->MoreControl(id); }
  HWND SubTabs() const { return app->Control(kIdPageControl2); }
  bool Checked(int id) const { return SendMessageW(More(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  RECT OnSheet(HWND child) const {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, Sheet(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  std::vector<std::wstring> Edits() const {
    std::vector<std::wstring> texts;
    for (int i = 0; i < 4; ++i) texts.push_back(TextOf(More(kIdNProfile + i)));
    return texts;
  }
  // Presses a button whose handler shows a message, checks the message and
  // answers it.
  void PressAndExpectMessage(int id, const wchar_t* message, const wchar_t* shot) const {
    PostMessageW(More(id), BM_CLICK, 0, 0);
    HWND box = app->WaitForMessageBox();
    ASSERT_TRUE(box) << "no message appeared; windows: " << Utf8(app->DescribeWindows());
    ScourlyProcess::MessageBoxView view = ScourlyProcess::ReadMessageBox(box);
    EXPECT_EQ(view.caption, L"Scourly");
    EXPECT_EQ(Utf8(view.text), Utf8(message));
    EXPECT_EQ(view.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(view.icon);
    Shot(shot);
    ASSERT_TRUE(ScourlyProcess::AnswerMessageBox(box, IDOK)) << "the message did not close";
    app->Settle();
  }
};

TEST_F(MoreE2E, TheSubTabShowsTheBrowsersFoldersFoundInTheirSettings) {
  app->ClickTab(app->Control(kIdPageControl1), kBrowserCacheTab);
  app->ClickTab(SubTabs(), kMoreSubTab);
  ASSERT_EQ(SendMessageW(SubTabs(), TCM_GETCURSEL, 0, 0), kMoreSubTab);
  ASSERT_TRUE(IsWindowVisible(Sheet()));
  EXPECT_FALSE(app->ButtonEnabled(kCmdFindFilesTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  EXPECT_EQ(Panels(), std::vector<std::wstring>(4));

  const std::wstring profile = kProfile, opera = kOpera;
  EXPECT_EQ(Edits(), (std::vector<std::wstring>{profile, profile + L"\\Cache", opera,
                                                opera + L"\\Cache4"}));
  EXPECT_EQ(TextOf(More(kIdLabel13)),
            L"Note: Netscape and Opera must be closed\r\nto successfully clean files.");
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(IsWindowVisible(More(kIdNCache + i))) << i;
    EXPECT_FALSE(Checked(kIdNCache + i)) << i;
  }
  EXPECT_EQ(TextOf(More(kIdNHistory)), L"URL History");
  EXPECT_EQ(TextOf(More(kIdClearBtn)), L"Clear Now");
  EXPECT_EQ(TextOf(More(kIdSaveBtn)), L"Save Directory Paths");
  Shot(L"01-more");
}

// The resize rule splits the sheet into halves; the rest of the page keeps
// its order: every control on the sheet, inside its group box, and none on
// top of another.
TEST_F(MoreE2E, ResizingSplitsTheSheetAndKeepsThePageInOrder) {
  ASSERT_TRUE(IsWindowVisible(Sheet()));
  RECT window;
  GetWindowRect(app->main(), &window);
  // Wider (moved to the left edge, so the screenshot holds it all), then
  // back to the designed width and place.
  for (int extra : {Px(96), 0}) {
    SetWindowPos(app->main(), nullptr, extra ? 0 : window.left, window.top, Px(578) + extra,
                 window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
    app->Settle();
    RECT sheet;
    GetClientRect(Sheet(), &sheet);
    const int h = MulDiv(sheet.right, 96, g_dpi) / 2;
    const RECT groups[2] = {OnSheet(More(kIdGroupBox2)), OnSheet(More(kIdGroupBox3))};
    for (const RECT& g : groups) EXPECT_EQ(g.right - g.left, Px(h + 1)) << "extra " << extra;
    EXPECT_EQ(groups[1].left, Px(h));
    for (int i = 0; i < 4; ++i) {
      RECT edit = OnSheet(More(kIdNProfile + i));
      RECT button = OnSheet(More(kIdSpeedButton1 + i));
      EXPECT_EQ(edit.right - edit.left, Px(h - 41)) << "edit " << i;
      EXPECT_EQ(button.left - groups[i / 2].left, Px(h - 41 + 10)) << "button " << i;
    }

    struct Placed {
      int id;
      int group;  // -1: outside the group boxes
    };
    std::vector<Placed> placed = {{kIdLabel13, -1}, {kIdClearBtn, -1}, {kIdSaveBtn, -1}};
    for (int i = 0; i < 6; ++i) placed.push_back({kIdNCache + i, i / 3});
    for (int i = 0; i < 4; ++i) {
      for (int id : {kIdNProfileLabel + i, kIdNProfile + i, kIdSpeedButton1 + i})
        placed.push_back({id, i / 2});
    }
    for (size_t a = 0; a < placed.size(); ++a) {
      RECT rc = OnSheet(More(placed[a].id)), both;
      EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= sheet.right &&
                  rc.bottom <= sheet.bottom)
          << "control " << placed[a].id << " is not wholly on the sheet, extra " << extra;
      if (placed[a].group >= 0) {
        const RECT& g = groups[placed[a].group];
        EXPECT_TRUE(rc.left > g.left && rc.right < g.right && rc.top > g.top &&
                    rc.bottom < g.bottom)
            << "control " << placed[a].id << " is not inside its group box, extra " << extra;
      } else {
        EXPECT_GE(rc.top, groups[0].bottom) << "control " << placed[a].id;
      }
      for (size_t b = a + 1; b < placed.size(); ++b) {
        RECT other = OnSheet(More(placed[b].id));
        EXPECT_FALSE(IntersectRect(&both, &rc, &other))
            << "controls " << placed[a].id << " and " << placed[b].id << " overlap, extra "
            << extra;
      }
    }
    if (extra) Shot(L"02-more-wider");
  }
}

TEST_F(MoreE2E, RestingOnSaveDirectoryPathsShowsItsHint) {
  RECT rc;
  GetWindowRect(More(kIdSaveBtn), &rc);
  SetCursorPos(5, 5);
  Sleep(200);
  SetCursorPos(rc.left + 3, rc.top + 3);
  Sleep(100);
  SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  HWND tip = nullptr;
  ScourlyProcess::WaitFor(
      [&] {
        tip = nullptr;
        HWND w = nullptr;
        while ((w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))) {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          if (pid == app->pid() && IsWindowVisible(w)) tip = w;
        }
        return tip != nullptr;
      },
      5000);
  ASSERT_TRUE(tip) << "no hint appeared on the button";
  EXPECT_EQ(TextOf(tip), L"Click to save the directory paths you have modified");
  Shot(L"03-save-hint");
  SetCursorPos(5, 5);
  ScourlyProcess::WaitFor([&] { return !IsWindowVisible(tip); }, 3000);
}

TEST_F(MoreE2E, ClearNowMovesExactlyThePresentTargetsToTheRecycleBin) {
  ASSERT_TRUE(Tree(L"X:\\Trash\\files").empty()) << "the Recycle Bin is not empty";
  for (int i = 0; i < 6; ++i) {
    SendMessageW(More(kIdNCache + i), BM_CLICK, 0, 0);
    EXPECT_TRUE(Checked(kIdNCache + i)) << "box " << i << " did not take the click";
  }
  Shot(L"04-ticked");
  PressAndExpectMessage(kIdClearBtn, L"Files have been successfully cleaned!", L"05-cleaned");

  // In the Recycle Bin: the two cache folders with everything in them, and
  // the five files; nothing else.
  std::vector<std::wstring> expected;
  for (const TestFile& f : kTaken) {
    std::wstring path = f.path;
    path = path.substr(path.find(L'\\') + 1);  // below the browser's folder
    if (path.rfind(L"Users\\default\\", 0) == 0) path = path.substr(14);
    expected.push_back(path + L": " + std::to_wstring(f.size));
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Show(Tree(L"X:\\Trash\\files")), Show(expected));

  // On the test drive: the neighbours, whole, and nothing taken.
  std::vector<std::wstring> kept;
  for (const TestFile& f : kKept)
    kept.push_back(std::wstring(f.path) + L": " + std::to_wstring(f.size));
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(Show(Tree(L"T:\\Program Files")), Show(kept));

  // The hand-off file named the targets in the order of the boxes.
  std::wstring list = g_exe.substr(0, g_exe.find_last_of(L'\\') + 1) + L"FList.txt";
  HANDLE h = CreateFileW(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "no FList.txt";
  std::string bytes(4096, '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  const std::wstring profile = kProfile, opera = kOpera;
  std::string lines;
  for (const std::wstring& path :
       {profile + L"\\Cache", profile + L"\\cookies.txt", profile + L"\\netscape.hst",
        opera + L"\\Cache4", opera + L"\\cookies4.dat", opera + L"\\opera.win",
        opera + L"\\global.dat"})
    lines += Utf8(path) + "\r\n";
  EXPECT_EQ(bytes, lines);
}

TEST_F(MoreE2E, SaveDirectoryPathsStoresTheEditsInTheProgramsKey) {
  ASSERT_FALSE(SavedKeyExists());
  // The user types a new Opera cache folder over the detected one.
  HWND edit = More(kIdOCacheDir);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : std::wstring(L"T:\\Opera Cache")) SendMessageW(edit, WM_CHAR, c, 1);
  ASSERT_EQ(TextOf(edit), L"T:\\Opera Cache");
  const std::vector<std::wstring> edits = Edits();

  PressAndExpectMessage(kIdSaveBtn, L"Directory Paths have been saved successfully",
                        L"06-saved");
  EXPECT_EQ(ReadSaved(L"NProfile"), edits[0]);
  EXPECT_EQ(ReadSaved(L"NCacheDir"), edits[1]);
  EXPECT_EQ(ReadSaved(L"OProgramDir"), edits[2]);
  EXPECT_EQ(ReadSaved(L"OCacheDir"), L"T:\\Opera Cache");

  // Shown again, the sub-tab takes the saved paths over the browsers' own.
  app->ClickTab(SubTabs(), kIECacheSubTab);
  app->ClickTab(SubTabs(), kMoreSubTab);
  EXPECT_EQ(Edits(), edits);
  DeleteKeyAndEmptyParents(HKEY_LOCAL_MACHINE, kSavedKey);
  EXPECT_FALSE(SavedKeyExists());
}

// A cache path that names the user's profile (typed, browsed, or detected
// from a broken setting) is refused: the profile stays whole, out of the
// Recycle Bin, and the one message names it with its reason, while the other
// cache folder goes as usual.
TEST_F(MoreE2E, ClearNowRefusesAProfileAsACacheFolderAndCleansTheRest) {
  wchar_t found[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"USERPROFILE", found, MAX_PATH), 0u);
  const std::wstring profile = found;
  ASSERT_NE(GetFileAttributesW(profile.c_str()), INVALID_FILE_ATTRIBUTES) << Utf8(profile);
  ASSERT_TRUE(Checked(kIdNCache) && Checked(kIdOCache)) << "the boxes ticked before";
  const std::wstring operaCache = TextOf(More(kIdOCacheDir));
  MakeFolders(operaCache + L"\\x");
  ASSERT_TRUE(CreateTestFile(operaCache + L"\\opr00009.tmp", 900));
  HWND edit = More(kIdNCacheDir);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : profile) SendMessageW(edit, WM_CHAR, c, 1);
  ASSERT_EQ(TextOf(edit), profile);
  const std::vector<std::wstring> trashBefore = NamesIn(kTrashFiles);

  PressAndExpectMessage(kIdClearBtn,
                        (L"Files have been cleaned, except these, which were left on disk:\r\n\r\n" +
                         profile + L" (a user's profile folder, which cannot be a browser's cache)")
                            .c_str(),
                        L"07-profile-refused");
  EXPECT_NE(GetFileAttributesW(profile.c_str()), INVALID_FILE_ATTRIBUTES) << "the profile went";
  EXPECT_NE(GetFileAttributesW((profile + L"\\AppData").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(operaCache.c_str()), INVALID_FILE_ATTRIBUTES)
      << "the rest of Clear Now did not go on";
  std::vector<std::wstring> trashAfter = NamesIn(kTrashFiles);
  ASSERT_EQ(trashAfter.size(), trashBefore.size() + 1) << Lines(trashAfter);
}

}  // namespace
}  // namespace scourly::e2e
