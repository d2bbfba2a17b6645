// Shell links made and read through the real shell link object, the special
// folders of the test prefix, and the three scans that use them, on real
// files.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <tuple>

#include "lists/app_error.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_windows.h"
#include "scan/dead_shortcuts.h"
#include "scan/folder_scans.h"
#include "scan/shortcut.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::Exists;
using support::MakeFile;
using support::MakeFolder;
using support::ScriptedUi;
using support::SetAttributes;
using support::TestFolder;

constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000,
                                   {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct LinkFields {
  std::string target;  // empty: `idList` names the target instead
  std::string description = {}, arguments = {}, workingDirectory = {}, iconLocation = {};
  int iconIndex = 0;
  PCIDLIST_ABSOLUTE idList = nullptr;
};

// Saves a link the way the shell itself makes one; the failing call's
// result, or S_OK.
HRESULT SaveLink(const std::string& linkPath, const LinkFields& fields) {
  ComApartment apartment;
  ComPtr<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IShellLinkW), link.PutVoid());
  if (FAILED(hr)) return hr;
  if (fields.idList) {
    if (FAILED(hr = link->SetIDList(fields.idList))) return hr;
  } else if (FAILED(hr = link->SetPath(Widen(fields.target).c_str()))) {
    return hr;
  }
  if (!fields.description.empty() &&
      FAILED(hr = link->SetDescription(Widen(fields.description).c_str())))
    return hr;
  if (!fields.arguments.empty() && FAILED(hr = link->SetArguments(Widen(fields.arguments).c_str())))
    return hr;
  if (!fields.workingDirectory.empty() &&
      FAILED(hr = link->SetWorkingDirectory(Widen(fields.workingDirectory).c_str())))
    return hr;
  if (!fields.iconLocation.empty() &&
      FAILED(hr = link->SetIconLocation(Widen(fields.iconLocation).c_str(), fields.iconIndex)))
    return hr;
  ComPtr<IPersistFile> file;
  if (FAILED(hr = link->QueryInterface(__uuidof(IPersistFile), file.PutVoid()))) return hr;
  return file->Save(Widen(linkPath).c_str(), TRUE);
}

void MakeLink(const std::string& linkPath, const std::string& target) {
  HRESULT hr = SaveLink(linkPath, LinkFields{target});
  ASSERT_EQ(hr, S_OK) << "cannot save link " << linkPath;
}

// Long paths go to the file functions with "\\?\".
std::wstring Long(const std::string& path) { return L"\\\\?\\" + Widen(path); }

struct RealPlatform : support::ScriptedWindows {
  Win32FileSystem& fs = windows.fs;
  Win32Shell& shell = windows.shell;
};

// One file tab's models.
struct Tab {
  ResultList list;
  std::string totalSizeText = "earlier";
  StatusBar bar;
  ToolButton findFilesTB;
  bool stopFlag = false;
  FileTabScan scan{list, totalSizeText, bar, findFilesTB, stopFlag, 0};

  // The rows under `folder` (with its backslash), as full paths.
  std::vector<std::string> PathsUnder(const std::string& folder) const {
    std::vector<std::string> paths;
    for (const ResultRow& row : list.Rows()) {
      if (row.Location().compare(0, folder.size(), folder) == 0) paths.push_back(row.FullPath());
    }
    return paths;
  }
};

// ---- Reading links ----

TEST(ShellLinkReader, ReadsEveryFieldOfALinkToAProgram) {
  TestFolder dir("link-fields");
  const std::string program = "C:\\windows\\system32\\notepad.exe";
  ASSERT_TRUE(Exists(program));
  LinkFields fields{program, "Edits plain text", "/p readme.txt", "C:\\windows",
                "C:\\windows\\system32\\shell32.dll", 7};
  ASSERT_EQ(SaveLink(dir / "notepad.lnk", fields), S_OK);

  Win32Shell shell;
  TShortcutInfo info;
  ASSERT_TRUE(GetShortcutInfo(shell, dir / "notepad.lnk", info));
  EXPECT_EQ(info.Path, program);
  EXPECT_EQ(info.Description, fields.description);
  EXPECT_EQ(info.Arguments, fields.arguments);
  EXPECT_EQ(info.WorkingDirectory, fields.workingDirectory);
  EXPECT_EQ(info.IconLocation, fields.iconLocation);
  EXPECT_EQ(info.IconIndex, 7);
}

TEST(ShellLinkReader, TargetsAreReadWholeAndAsStored) {
  TestFolder dir("link-targets");
  struct Case {
    const char* what;
    std::string target;
  };
  const Case cases[] = {
      {"deleted target", dir / "deleted.txt"},
      {"letters outside any ANSI code page", dir / "Grüße_日本_Ωμέγα.txt"},
      {"such letters, target never made", dir / "Ωmissing日本.txt"},
      {"a folder", dir.path()},
  };
  MakeFile(cases[0].target);
  MakeFile(cases[1].target);
  Win32Shell shell;
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string link = dir / ("t" + std::to_string(++n) + ".lnk");
    MakeLink(link, c.target);
    DeleteFileW(Widen(cases[0].target).c_str());
    std::string target;
    ASSERT_TRUE(GetShortcutTarget(shell, link, target));
    EXPECT_EQ(target, c.target);
  }
}

TEST(ShellLinkReader, TargetLongerThanMaxPath) {
  TestFolder dir("link-long");
  std::string folder = dir.path();
  while (folder.size() < MAX_PATH + 40) {
    folder += "\\" + std::string(60, 'd');
    ASSERT_TRUE(CreateDirectoryW(Long(folder).c_str(), nullptr));
  }
  const std::string target = folder + "\\target.txt";
  HANDLE h = CreateFileW(Long(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  ASSERT_EQ(SaveLink(dir / "long.lnk", LinkFields{target}), S_OK);

  // Wine 8 saves such a link without its item list and reads its path back
  // as "??": the reader must then call it unreadable, never hand out a path
  // that names something else.
  Win32Shell shell;
  std::string read = "unchanged";
  if (GetShortcutTarget(shell, dir / "long.lnk", read)) {
    EXPECT_EQ(read, target) << "a cut target would name another file";
    Win32FileSystem fs;
    EXPECT_TRUE(ShortcutTargetExists(fs, read));
  } else {
    EXPECT_EQ(read, "unchanged");
  }
}

TEST(ShellLinkReader, WhatIsNoLinkReadsAsFalseWithoutAnError) {
  TestFolder dir("link-none");
  MakeFile(dir / "text.lnk", "this is not a shell link");
  MakeFile(dir / "empty.lnk", "");
  MakeFile(dir / "truncated.lnk", std::string("\x4c\0\0\0\x01\x14\x02\0", 8));
  LPITEMIDLIST computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  LinkFields shellObject;
  shellObject.idList = computer;
  HRESULT saved = SaveLink(dir / "computer.lnk", shellObject);
  CoTaskMemFree(computer);
  ASSERT_EQ(saved, S_OK);

  Win32Shell shell;
  for (const char* name : {"text.lnk", "empty.lnk", "truncated.lnk", "missing.lnk"}) {
    ShortcutFields fields;
    fields.description = "untouched";
    EXPECT_FALSE(shell.ReadShortcut(dir / name, fields)) << name;
    EXPECT_EQ(fields.description, "untouched") << name;
  }
  ShortcutFields fields;
  EXPECT_TRUE(shell.ReadShortcut(dir / "computer.lnk", fields)) << "the link itself reads";
  EXPECT_EQ(fields.path, "");
  TShortcutInfo info;
  EXPECT_FALSE(GetShortcutInfo(shell, dir / "computer.lnk", info)) << "but names no file";
}

// A thread already in the multithreaded apartment cannot be initialised
// for the link object: the reader raises that instead of reading nothing.
TEST(ShellLinkReader, ComThatCannotBeInitialisedIsRaised) {
  TestFolder dir("link-mta");
  MakeLink(dir / "a.lnk", dir / "gone.txt");
  std::string error;
  bool read = false;
  std::thread([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Win32Shell shell;
    TShortcutInfo info;
    try {
      read = GetShortcutInfo(shell, dir / "a.lnk", info);
    } catch (const AppError& e) {
      error = e.what();
    }
    CoUninitialize();
  }).join();
  EXPECT_FALSE(read);
  EXPECT_FALSE(error.empty());
}

// ---- Special folders ----

// Counts the blocks the COM task allocator (the shell's allocator) hands out
// and takes back while it is registered.
class AllocationCounter : public IMallocSpy {
 public:
  long outstanding = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override {
    if (actual) ++outstanding;
    return actual;
  }
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override {
    if (request && spied) --outstanding;
    return request;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** actual, BOOL) override {
    *actual = request;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

TEST(SpecialFolders, RecentAndFavoritesResolveAndWhatTheShellAllocatesIsFreed) {
  Win32Shell shell;
  for (int csidl : {kCsidlRecent, kCsidlFavorites}) {
    SCOPED_TRACE(csidl);
    shell.SpecialFolderPath(csidl);  // the shell's own first-use allocations
    // COM keeps a spy until every block it saw is freed, so the counter
    // outlives the test.
    static AllocationCounter counter;
    counter.outstanding = 0;
    ASSERT_EQ(CoRegisterMallocSpy(&counter), S_OK);
    std::optional<std::string> path = shell.SpecialFolderPath(csidl);
    EXPECT_EQ(CoRevokeMallocSpy(), S_OK) << "blocks of the shell are still allocated";
    EXPECT_EQ(counter.outstanding, 0) << "item list not freed";
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path, GetSpecialFolderPath(shell, csidl));
    EXPECT_GT(path->size(), 3u);
    EXPECT_EQ(path->substr(1, 2), ":\\");
    EXPECT_NE(path->back(), '\\');
    EXPECT_TRUE(Exists(*path)) << *path;
  }
}

// Removes what a test placed in a folder outside the test drive.
struct Placed {
  std::vector<std::string> files, folders;  // folders removed after files, last first
  ~Placed() {
    for (const std::string& f : files) DeleteFileW(Widen(f).c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
      RemoveDirectoryW(Widen(*it).c_str());
  }
};

std::string UniqueName(const char* stem) {
  return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(GetTickCount());
}

TEST(SpecialFolderScans, RecentAndFavoritesListRealFiles) {
  RealPlatform real;
  const std::string recent = *real.shell.SpecialFolderPath(kCsidlRecent) + "\\";
  const std::string favorites = *real.shell.SpecialFolderPath(kCsidlFavorites) + "\\";
  Placed placed;
  const std::string doc = recent + UniqueName("doc") + ".lnk";
  const std::string recentSub = recent + UniqueName("sub");
  const std::string group = favorites + UniqueName("group");
  const std::string favorite = group + "\\site.url";
  placed.folders = {recentSub, group};
  placed.files = {doc, recentSub + "\\inside.lnk", favorite};
  MakeFile(doc, "0123456789");
  MakeFolder(recentSub);
  MakeFile(recentSub + "\\inside.lnk", "x");
  MakeFolder(group);
  MakeFile(favorite, "[InternetShortcut]\r\nURL=http://localhost/\r\n");

  Tab recentTab;
  RFindFilesClick(recentTab.scan, real.platform);
  std::vector<std::string> recentPaths = recentTab.PathsUnder(recent);
  EXPECT_NE(std::find(recentPaths.begin(), recentPaths.end(), doc), recentPaths.end());
  EXPECT_NE(std::find(recentPaths.begin(), recentPaths.end(), recentSub), recentPaths.end())
      << "a subfolder is one entry";
  EXPECT_EQ(recentTab.PathsUnder(recentSub + "\\"), std::vector<std::string>{})
      << "and is not entered";

  Tab favoritesTab;
  FFindFilesClick(favoritesTab.scan, real.platform);
  EXPECT_EQ(favoritesTab.PathsUnder(group + "\\"), std::vector<std::string>{favorite});
  EXPECT_EQ(favoritesTab.PathsUnder(group), std::vector<std::string>{favorite})
      << "the subfolder itself is no entry";
  EXPECT_TRUE(real.ui.boxes.empty());
}

// ---- The dead-shortcut scan ----

TEST(DeadShortcutScan, ListsExactlyTheDeadLinksOfTheTestDrive) {
  TestFolder dir("dead-links");
  MakeFile(dir / "present.txt", "here");
  MakeFile(dir / "deleted.txt", "soon gone");
  MakeFolder(dir / "sub");
  MakeFolder(dir / "SendTo");
  MakeFile(dir / "Ωμέγα.txt", "here too");
  MakeLink(dir / "live.lnk", dir / "present.txt");
  MakeLink(dir / "live-unicode.lnk", dir / "Ωμέγα.txt");
  MakeLink(dir / "dead.lnk", dir / "deleted.txt");
  MakeLink(dir / "folder.lnk", dir / "sub");
  MakeLink(dir / "root.lnk", "T:\\");
  MakeLink(dir / "c-root.lnk", "C:\\");
  MakeLink(dir / "semi;colon.lnk", dir / "deleted.txt");
  MakeLink(dir / "Grüße_日本.lnk", dir / "deleted.txt");
  MakeLink(dir / "system.lnk", dir / "deleted.txt");
  SetAttributes(dir / "system.lnk", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  MakeLink(dir / "SendTo\\kept.lnk", dir / "deleted.txt");
  MakeLink(dir / "sub\\deeper.lnk", dir / "deleted.txt");
  MakeFile(dir / "zero.lnk", "");
  MakeFile(dir / "junk.lnk", "not a link");
  ASSERT_TRUE(DeleteFileW(Widen(dir / "deleted.txt").c_str()));

  RealPlatform real;
  // The folder's own files in the order the drive lists them, then its
  // subfolder's.
  std::vector<std::string> expected;
  auto listing = real.fs.ListFolder(dir.path());
  ASSERT_TRUE(listing);
  FindEntry e;
  while (listing->Next(e)) {
    if (e.name == "dead.lnk" || e.name == "semi;colon.lnk" || e.name == "Grüße_日本.lnk")
      expected.push_back(dir / e.name);
  }
  expected.push_back(dir / "sub\\deeper.lnk");

  CheckList drives;
  drives.Add("C:\\", false);
  drives.Add("T:\\", true);
  Tab tab;
  DFindFilesClick(tab.scan, real.platform, drives);

  EXPECT_EQ(tab.PathsUnder(dir.path() + "\\"), expected);
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(Widen(dir / "dead.lnk").c_str(), GetFileExInfoStandard, &data));
  for (const ResultRow& row : tab.list.Rows()) {
    if (row.Name() == "dead.lnk" && row.Location() == dir.path() + "\\") {
      EXPECT_EQ(row.Size(), data.nFileSizeLow) << "the size of the shortcut file itself";
    }
  }
  EXPECT_TRUE(real.ui.boxes.empty());
  EXPECT_EQ(tab.bar.Get(0), "Selected Size: 0 B");
}

}  // namespace
}  // namespace scourly
