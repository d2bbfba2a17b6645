// Purgix.dll under Wine: FList.txt beside the test program, real files on T:,
// and the Recycle Bin (the XDG trash, seen as X:\Trash).
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <atomic>
#include <set>

#include "delete/deletion.h"
#include "platform/win32/win32_platform.h"
#include "purgix/recycle_flags.h"
#include "tests/support/box_answerer.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::BoxAnswerer;
using support::Exists;
using support::ExeFolder;
using support::MakeFile;
using support::MakeFolder;
using support::ReadAll;
using support::RecycleBinRefusing;
using support::RemoveProgramFile;
using support::SetAttributes;
using support::TestFolder;
using support::TrashedAs;

class PurgixOnDisk : public testing::Test {
 protected:
  void TearDown() override { RemoveProgramFile("FList.txt"); }

  // Writes FList.txt exactly as given and calls doDELETE.
  void Run(const std::string& flist) {
    Win32FileSystem fs;
    ASSERT_EQ(fs.WriteFile(ExeFolder() + "FList.txt", flist), 0u);
    ASSERT_TRUE(purgix.Available()) << "Purgix.dll beside the test program";
    purgix.DoDelete();
  }

  void ExpectRecycled(const std::string& path, const std::string& content) {
    EXPECT_FALSE(Exists(path)) << path << " should have left its folder";
    std::string trashed = TrashedAs(path);
    ASSERT_FALSE(trashed.empty()) << path << " is not in the Recycle Bin";
    EXPECT_EQ(ReadAll(trashed), content) << path;
  }

  void ExpectKept(const std::string& path) {
    EXPECT_TRUE(Exists(path)) << path << " must stay";
    EXPECT_EQ(TrashedAs(path), "") << path << " must not reach the Recycle Bin";
  }

  Win32Purgix purgix;
};

TEST_F(PurgixOnDisk, RecyclesExactlyTheListedFileNotItsLookAlikes) {
  TestFolder dir("purgix-exact");
  MakeFile(dir / "a.tmp", "selected");
  MakeFile(dir / "ab.tmp");
  MakeFile(dir / "a.tmp.bak");
  MakeFile(dir / "A.TMP~");
  Run(dir / "a.tmp" + "\r\n");
  ExpectRecycled(dir / "a.tmp", "selected");
  ExpectKept(dir / "ab.tmp");
  ExpectKept(dir / "a.tmp.bak");
  ExpectKept(dir / "A.TMP~");
}

TEST_F(PurgixOnDisk, RecyclesAwkwardNamesAndWholeFolders) {
  TestFolder dir("purgix-names");
  MakeFile(dir / "x;y.tmp", "semicolon");
  MakeFile(dir / "Grüße_日本.tmp", "unicode");
  MakeFile(dir / "with space.tmp", "space");
  MakeFolder(dir / "old cache");
  MakeFolder(dir / "old cache\\inner");
  MakeFile(dir / "old cache\\inner\\page.htm", "page");
  MakeFile(dir / "kept.tmp");
  // LF-only endings and a byte order mark are accepted too.
  Run("\xEF\xBB\xBF" + (dir / "x;y.tmp") + "\n" + (dir / "Grüße_日本.tmp") + "\r\n" +
      (dir / "with space.tmp") + "\r\n" + (dir / "old cache") + "\r\n");
  ExpectRecycled(dir / "x;y.tmp", "semicolon");
  ExpectRecycled(dir / "Grüße_日本.tmp", "unicode");
  ExpectRecycled(dir / "with space.tmp", "space");
  EXPECT_FALSE(Exists(dir / "old cache"));
  std::string folder = TrashedAs(dir / "old cache");
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(ReadAll(folder + "\\inner\\page.htm"), "page") << "the folder goes with its contents";
  ExpectKept(dir / "kept.tmp");
}

TEST_F(PurgixOnDisk, SkipsLinesThatNameNothingOrMoreThanOneThing) {
  TestFolder dir("purgix-skip");
  MakeFile(dir / "first.tmp", "1");
  MakeFile(dir / "last.tmp", "2");
  MakeFile(dir / "c.tmp");
  MakeFile(dir / "d.tmp");
  MakeFile(dir / "rel.tmp");
  MakeFolder(dir / "sub");
  MakeFile(dir / "sub\\e.tmp");
  // A path past the shell's classic limit, which it could cut short.
  std::string deep = dir.path();
  while (deep.size() < 250) {
    deep += "\\" + std::string(40, 'd');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Widen(deep)).c_str(), nullptr));
  }
  const std::string deepFile = deep + "\\deep.tmp";
  HANDLE h = CreateFileW((L"\\\\?\\" + Widen(deepFile)).c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  // A relative line would be resolved against the current folder and deleted
  // for good: make sure that folder holds the file it would name.
  ASSERT_TRUE(SetCurrentDirectoryW(Widen(dir.path()).c_str()));
  Run((dir / "first.tmp") + "\r\n" +
      (dir / "missing.tmp") + "\r\n" +  // names nothing
      "\r\n" +                          // empty
      (dir / "*.tmp") + "\r\n" +        // wildcards would match c.tmp and d.tmp
      (dir / "?.tmp") + "\r\n" +
      "rel.tmp\r\n" +                   // relative
      "T:rel.tmp\r\n" +                 // relative to the drive's current folder
      (dir / "sub\\..\\c.tmp") + "\r\n" +  // not literally what it names
      "T:\\\r\n" +                      // a whole drive
      deepFile + "\r\n" +                 // too long for the shell
      (dir / "c.tmp::$DATA") + "\r\n" +   // a stream of the file, not the file
      (dir / "d.tmp\t") + "\r\n" +       // a control character
      (dir / "c\xFF.tmp") + "\r\n" +      // not UTF-8
      (dir / "last.tmp") + "\r\n");
  SetCurrentDirectoryW(Widen(ExeFolder()).c_str());
  ExpectRecycled(dir / "first.tmp", "1");
  ExpectRecycled(dir / "last.tmp", "2");
  ExpectKept(dir / "c.tmp");
  ExpectKept(dir / "d.tmp");
  ExpectKept(dir / "rel.tmp");
  ExpectKept(dir / "sub\\e.tmp");
  EXPECT_NE(GetFileAttributesW((L"\\\\?\\" + Widen(deepFile)).c_str()), INVALID_FILE_ATTRIBUTES)
      << "the long path stays";
}

TEST_F(PurgixOnDisk, LeavesAFileInUseAndRecyclesTheRest) {
  TestFolder dir("purgix-locked");
  MakeFile(dir / "before.tmp", "b");
  MakeFile(dir / "locked.tmp", "l");
  MakeFile(dir / "after.tmp", "a");
  HANDLE h = CreateFileW(Widen(dir / "locked.tmp").c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  Run((dir / "before.tmp") + "\r\n" + (dir / "locked.tmp") + "\r\n" + (dir / "after.tmp") +
      "\r\n");
  CloseHandle(h);
  ExpectRecycled(dir / "before.tmp", "b");
  ExpectRecycled(dir / "after.tmp", "a");
  ExpectKept(dir / "locked.tmp");
}

TEST(Win32PurgixLoading, MissingLibraryOrExportIsNotAvailableAndDeletesNothing) {
  TestFolder dir("purgix-missing");
  MakeFile(dir / "stay.tmp");
  Win32FileSystem fs;
  ASSERT_EQ(fs.WriteFile(ExeFolder() + "FList.txt", (dir / "stay.tmp") + "\r\n"), 0u);

  Win32Purgix missing(dir / "Purgix.dll");
  EXPECT_FALSE(missing.Available());
  missing.DoDelete();  // does nothing, and does not crash
  // A library without the export, such as a system one under our name.
  ASSERT_TRUE(CopyFileW(L"C:\\windows\\system32\\version.dll", Widen(dir / "Purgix.dll").c_str(),
                        FALSE));
  Win32Purgix wrong(dir / "Purgix.dll");
  EXPECT_FALSE(wrong.Available());
  wrong.DoDelete();
  EXPECT_TRUE(Exists(dir / "stay.tmp"));

  Win32Purgix beside;  // the one beside the program
  EXPECT_TRUE(beside.Available());
  EXPECT_TRUE(beside.Available()) << "asked twice, loaded once";
  RemoveProgramFile("FList.txt");
}

// What the shell does with Purgix's flags when its Recycle Bin refuses an
// item. Wine's trash refuses a file in use (Purgix leaves such a file alone
// before it gets that far); with FOF_WANTNUKEWARNING Wine then asks whether
// to delete for good, and "No" keeps the file and sets the aborted flag.
TEST(PurgixRecycleFlags, ShellAsksBeforeDeletingForGoodWhatItsRecycleBinRefuses) {
  TestFolder dir("purgix-flags");
  MakeFile(dir / "busy.tmp", "b");
  HANDLE h = CreateFileW(Widen(dir / "busy.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::wstring from = Widen(dir / "busy.tmp");
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = purgix::kRecycleFlags;
  BoxAnswerer user(IDNO);
  SHFileOperationW(&op);
  user.Wait();
  CloseHandle(h);
  EXPECT_TRUE(user.answered) << "the shell must ask before deleting for good";
  EXPECT_TRUE(op.fAnyOperationsAborted) << "a No is reported through the aborted flag";
  EXPECT_TRUE(Exists(dir / "busy.tmp"));
  EXPECT_EQ(TrashedAs(dir / "busy.tmp"), "");
}

// A name with an unpaired surrogate travels as WTF-8 from the listing to the
// library. Wine cannot store such a name, but it can store the name a lossy
// conversion makes of it (U+FFFD in its place): that file must never be hit.
TEST_F(PurgixOnDisk, NamesCarryUnpairedSurrogatesLosslessly) {
  TestFolder dir("purgix-wtf8");
  const std::wstring lone = Widen(dir.path()) + L"\\s" + std::wstring(1, wchar_t(0xD800)) + L"x.tmp";
  const std::string lookAlike = dir / "s\xEF\xBF\xBDx.tmp";
  MakeFile(lookAlike, "innocent");
  const std::string listed = Narrow(lone);
  EXPECT_EQ(Widen(listed), lone) << "back to the same UTF-16 units";
  EXPECT_NE(listed, lookAlike);

  Run(listed + "\r\n");
  ExpectKept(lookAlike);
  Win32FileSystem fs;
  uint32_t error = 0;
  EXPECT_FALSE(fs.NewItemOpener()->Open(listed, true, error));
  EXPECT_EQ(error, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(fs.FileExists(listed));
  ExpectKept(lookAlike);
}

// A line whose path leads through a link is never handed to the shell,
// which would move what the link points to.
TEST_F(PurgixOnDisk, NeverFollowsALink) {
  TestFolder dir("purgix-link"), outside("purgix-target");
  MakeFile(outside / "victim.txt", "victim");
  MakeFolder(outside / "dir");
  MakeFile(outside / "dir" + "\\precious.txt", "precious");
  ASSERT_TRUE(support::MakeUnixLink(dir / "file.tmp", outside / "victim.txt"));
  ASSERT_TRUE(support::MakeUnixLink(dir / "folder", outside / "dir"));
  MakeFile(dir / "plain.tmp", "plain");
  Run(dir / "file.tmp" + "\r\n" + dir / "folder" + "\r\n" + (dir / "folder") +
      "\\precious.txt\r\n" + dir / "plain.tmp" + "\r\n");
  ExpectKept(outside / "victim.txt");
  ExpectKept(outside / "dir" + "\\precious.txt");
  EXPECT_TRUE(Exists(dir / "file.tmp"));
  EXPECT_TRUE(Exists(dir / "folder"));
  ExpectRecycled(dir / "plain.tmp", "plain");
}

// Many lines go to the shell in one call, and what may not go never reaches
// it: a file gone since the program's check, a file another program holds,
// and the good ones around them. A read-only file goes to the Recycle Bin like
// any other (moving it does not change it; deleting for good would not).
// The hand-off file is as the program wrote it, one path and CR LF a line.
TEST_F(PurgixOnDisk, ABatchMovesExactlyWhatMayGo) {
  TestFolder dir("purgix-batch");
  std::vector<std::string> good;
  for (int i = 0; i < 40; ++i) {
    good.push_back(dir / ("good" + std::to_string(i) + ".tmp"));
    MakeFile(good.back(), std::to_string(i).append(" good"));
  }
  MakeFile(dir / "gone.tmp");
  MakeFile(dir / "locked.tmp", "l");
  MakeFile(dir / "ro.tmp", "r");
  SetAttributes(dir / "ro.tmp", FILE_ATTRIBUTE_READONLY);
  HandOffList list;
  std::string expected;
  for (int i = 0; i < 40; ++i) {
    list.Add(good[i]);
    expected += good[i] + "\r\n";
    if (i == 10) {
      for (const char* odd : {"gone.tmp", "locked.tmp", "ro.tmp"}) {
        list.Add(dir / odd);
        expected += dir / odd + "\r\n";
      }
    }
  }
  Win32FileSystem fs;
  ASSERT_EQ(list.Write(fs), 0u);
  ASSERT_EQ(ReadAll(ExeFolder() + "FList.txt"), expected) << "the hand-off file changed its form";
  ASSERT_TRUE(DeleteFileW(Widen(dir / "gone.tmp").c_str()));  // gone before the library runs
  HANDLE h = CreateFileW(Widen(dir / "locked.tmp").c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(purgix.Available());
  purgix.DoDelete();
  CloseHandle(h);
  for (int i = 0; i < 40; ++i) ExpectRecycled(good[i], std::to_string(i).append(" good"));
  ExpectRecycled(dir / "ro.tmp", "r");
  ExpectKept(dir / "locked.tmp");
  EXPECT_EQ(TrashedAs(dir / "gone.tmp"), "");
  EXPECT_EQ(ReadAll(ExeFolder() + "FList.txt"), expected) << "the library changed the hand-off file";
}

// Answers every dialog of this process with "No" while it lives, and notes
// each one: its owner, and whether that owner was disabled meanwhile.
class NoToEveryQuestion {
 public:
  NoToEveryQuestion() {
    thread_ = CreateThread(
        nullptr, 0, [](void* self) -> DWORD { static_cast<NoToEveryQuestion*>(self)->Run(); return 0; },
        this, 0, nullptr);
  }
  ~NoToEveryQuestion() { Stop(); }
  void Stop() {
    if (!thread_) return;
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  std::set<HWND> seen;
  std::vector<HWND> owners;
  bool ownerEnabled = false;

 private:
  void Run() {
    while (!stop_) {
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr))) {
        DWORD pid = 0;
        GetWindowThreadProcessId(box, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(box) || seen.count(box)) continue;
        seen.insert(box);
        HWND owner = GetWindow(box, GW_OWNER);
        owners.push_back(owner);
        if (owner && IsWindowEnabled(owner)) ownerEnabled = true;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
      }
      Sleep(20);
    }
  }
  std::atomic<bool> stop_{false};
  HANDLE thread_ = nullptr;
};

// Where the Recycle Bin cannot take the files, the shell asks whether to
// delete them for good: once for the batch, owned by the program's active
// window (disabled meanwhile, as under any modal question), and "No" keeps
// every file of the batch.
TEST_F(PurgixOnDisk, TheShellAsksOncePerBatchAndNoKeepsEveryFileOfIt) {
  TestFolder dir("purgix-nuke");
  std::string flist;
  for (int i = 0; i < 5; ++i) {
    MakeFile(dir / ("keep" + std::to_string(i) + ".tmp"), "k");
    flist += dir / ("keep" + std::to_string(i) + ".tmp") + "\r\n";
  }
  HWND window = CreateWindowExW(0, L"STATIC", L"Scourly test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  {
    RecycleBinRefusing refusing;
    NoToEveryQuestion user;
    Run(flist);
    Sleep(300);  // a second question would show by now
    user.Stop();
    EXPECT_EQ(user.seen.size(), 1u) << "the shell must ask once for the batch";
    ASSERT_EQ(user.owners.size(), 1u);
    EXPECT_EQ(user.owners[0], window) << "the question belongs to the program's window";
    EXPECT_FALSE(user.ownerEnabled) << "the window took input during the question";
  }
  EXPECT_TRUE(IsWindowEnabled(window)) << "the window stays disabled after the deletion";
  DestroyWindow(window);
  for (int i = 0; i < 5; ++i) ExpectKept(dir / ("keep" + std::to_string(i) + ".tmp"));
}

// Only fixed drives have a Recycle Bin on Windows (Wine's trash takes files
// from any drive): the quiet entry leaves a file on a network drive (P:,
// this program's folder) alone, and recycles the one on the fixed T:.
TEST_F(PurgixOnDisk, QuietEntryHandsOverOnlyPathsOnFixedDrives) {
  TestFolder dir("purgix-quiet-fixed");
  MakeFile(dir / "fixed.tmp", "f");
  const std::string onNetwork = ExeFolder() + "purgix-quiet-network.tmp";
  MakeFile(onNetwork, "n");
  ASSERT_EQ(GetDriveTypeW(Widen(ExeFolder().substr(0, 3)).c_str()), static_cast<UINT>(DRIVE_REMOTE));
  Win32FileSystem fs;
  ASSERT_EQ(fs.WriteFile(ExeFolder() + "FList.txt", onNetwork + "\r\n" + (dir / "fixed.tmp") + "\r\n"),
            0u);
  Win32Purgix quiet(PurgixEntry::kQuiet);
  quiet.DoDelete();
  EXPECT_TRUE(Exists(onNetwork)) << "handed to a Recycle Bin its drive does not have";
  DeleteFileW(Widen(onNetwork).c_str());
  ExpectRecycled(dir / "fixed.tmp", "f");
}

// A line the shell would read as another item is never handed to it: Wine's
// shell handed "T:\\dir\\zero " moves "T:\\dir\\zero" to the Recycle Bin.
TEST_F(PurgixOnDisk, NamesTheShellWouldReadAsOthersAreLeftAlone) {
  TestFolder dir("purgix-misread");
  ASSERT_TRUE(support::MakeUnixFile(dir / "zero ", "zero-space"));
  MakeFile(dir / "zero", "zero");
  ASSERT_TRUE(support::MakeUnixFile(dir / "dot.", "dotted"));
  MakeFile(dir / "dot", "dot");
  ASSERT_TRUE(support::MakeUnixFile(dir / "nul.tmp", "a file, not the device"));
  MakeFile(dir / "plain.tmp", "plain");
  Run((dir / "zero ") + "\r\n" + (dir / "dot.") + "\r\n" + (dir / "nul.tmp") + "\r\n" +
      (dir / "plain.tmp") + "\r\n");
  ExpectRecycled(dir / "plain.tmp", "plain");
  ExpectKept(dir / "zero");
  ExpectKept(dir / "dot");
  for (const char* name : {"zero ", "dot.", "nul.tmp"})
    EXPECT_TRUE(support::ExistsExactly(dir / name)) << name;
  EXPECT_EQ(ReadAll(dir / "zero"), "zero");
}

// Each item goes to the shell once, however many lines name it (again, in
// another case, by its short 8.3 path): a second copy would be gone by the
// time the shell reached it, and the shell would stop to ask.
TEST_F(PurgixOnDisk, EachItemIsHandedOverOnce) {
  TestFolder dir("purgix-once");
  MakeFolder(dir / "Temporary Files");
  const std::string file = dir / "Temporary Files" + "\\q.~a~";
  MakeFile(file, "once");
  MakeFile(dir / "after.tmp", "after");
  wchar_t shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(Widen(file).c_str(), shortPath, MAX_PATH), 0u);
  std::string upper = file;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  NoToEveryQuestion user;
  Run(file + "\r\n" + file + "\r\n" + Narrow(shortPath) + "\r\n" + upper + "\r\n" +
      (dir / "after.tmp") + "\r\n");
  user.Stop();
  EXPECT_TRUE(user.seen.empty()) << "the shell asked a question";
  ExpectRecycled(file, "once");
  ExpectRecycled(dir / "after.tmp", "after");
}

TEST_F(PurgixOnDisk, MissingOrEmptyListDeletesNothing) {
  TestFolder dir("purgix-empty");
  MakeFile(dir / "stay.tmp");
  RemoveProgramFile("FList.txt");
  ASSERT_TRUE(purgix.Available());
  purgix.DoDelete();  // no FList.txt at all
  Run("");
  Run("\r\n\r\n");
  ExpectKept(dir / "stay.tmp");
}

}  // namespace
}  // namespace scourly
