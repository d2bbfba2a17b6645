#include <gtest/gtest.h>

#include <random>

#include "platform/fake/fake_windows.h"
#include "scan/scan_progress.h"
#include "scan/unneeded_scan.h"

namespace scourly {
namespace {

using fake::FakeWindows;
using fake::TicksOf;

// A walk over the fake machine, with the literal per-mask walks or the
// single traversal, pumping at every point the walkers offer.
struct Walk {
  FakeWindows& win;
  StatusBar bar;
  bool stopFlag = false;
  DateTexts dates{win.locale};
  ScanProgress progress{bar, win.ui, stopFlag, 0};
  WalkContext ctx{win.fs, dates, progress, KeepFilter::None()};
  ScanState state;

  explicit Walk(FakeWindows& w) : win(w) {}

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const ResultRow& row : state.rows) paths.push_back(row.FullPath());
    return paths;
  }
};

ScanOptions Options(std::vector<std::string> masks, std::vector<std::string> drives) {
  ScanOptions options;
  for (auto& m : masks) options.OptionBox.Add(m, true);
  for (auto& d : drives) options.DrivesBox.Add(d, true);
  return options;
}

using Paths = std::vector<std::string>;

// Both ways of walking the drives must give the same rows.
Paths WalkBoth(FakeWindows& win, const ScanOptions& options) {
  Walk literal(win), sweep(win);
  EXPECT_TRUE(WalkCheckedDrives(literal.ctx, options, literal.state, WalkStrategy::kPerMask));
  EXPECT_TRUE(WalkCheckedDrives(sweep.ctx, options, sweep.state, WalkStrategy::kSinglePass));
  EXPECT_EQ(literal.state.rows, sweep.state.rows);
  EXPECT_EQ(literal.state.count, sweep.state.count);
  EXPECT_EQ(literal.state.bytes, sweep.state.bytes);
  return sweep.Paths();
}

TEST(DriveWalk, RowOrderDrivesThenMasksThenEmptyFiles) {
  FakeWindows win;
  win.fs.AddDrive('D');
  win.fs.AddFile("C:\\a.bak", 7);
  win.fs.AddFile("C:\\sub\\b.tmp", 10);
  win.fs.AddFile("C:\\sub\\deep\\c.bak", 3);
  win.fs.AddFile("C:\\sub\\e1.txt", 0);
  win.fs.AddFile("C:\\z.tmp", 5);
  win.fs.AddFile("C:\\e0.txt", 0);
  win.fs.AddFile("D:\\d.tmp", 1);
  auto options = Options({"*.tmp", "*.bak"}, {"C:\\", "D:\\"});
  options.OptionBox.Add("*.old", false);  // unchecked: not walked
  win.fs.AddFile("C:\\x.old", 9);
  EXPECT_EQ(WalkBoth(win, options),
            (Paths{"C:\\z.tmp", "C:\\sub\\b.tmp",                  // C: *.tmp, files before subfolders
                   "C:\\a.bak", "C:\\sub\\deep\\c.bak",            // C: *.bak
                   "C:\\sub\\e1.txt", "C:\\e0.txt",                // C: empty files, in listing order
                   "D:\\d.tmp"}));
}

TEST(DriveWalk, EmptyFilesOnceAndOverlappingMasksTwice) {
  FakeWindows win;
  win.fs.AddFile("C:\\x.tmp", 0);
  win.fs.AddFile("C:\\y.tmp", 10);
  EXPECT_EQ(WalkBoth(win, Options({"*.tmp", "*.t*"}, {"C:\\"})),
            (Paths{"C:\\y.tmp", "C:\\y.tmp", "C:\\x.tmp"}));
}

TEST(DriveWalk, AttributesDecideWhatIsListedAndEntered) {
  FakeWindows win;
  win.fs.AddFile("C:\\sys.tmp", 4, kAttrArchive | kAttrSystem);
  win.fs.AddFile("C:\\hid.tmp", 4, kAttrHidden);
  win.fs.AddFile("C:\\normal.txt", 0, kAttrNormal);
  win.fs.AddFile("C:\\archive.txt", 0, kAttrArchive);
  win.fs.AddFolder("C:\\packed", kAttrDirectory | kAttrCompressed);
  win.fs.AddFile("C:\\packed\\in.tmp", 4);
  win.fs.AddFile("C:\\packed\\empty.txt", 0);
  win.fs.AddFolder("C:\\sysdir", kAttrDirectory | kAttrSystem);
  win.fs.AddFile("C:\\sysdir\\s.tmp", 4);
  EXPECT_EQ(WalkBoth(win, Options({"*.tmp"}, {"C:\\"})),
            (Paths{"C:\\hid.tmp", "C:\\packed\\in.tmp", "C:\\archive.txt"}));
}

TEST(DriveWalk, RootWhoseFirstEntryIsNoPlainFileIsStillWalkedForEmptyFiles) {
  FakeWindows bare;
  bare.fs.AddDrive('T');
  bare.fs.AddFile("T:\\indexed.txt", 5, kAttrArchive | kAttrNotIndexed);  // listed first
  bare.fs.AddFile("T:\\empty.txt", 0);
  bare.fs.AddFile("T:\\sub\\empty2.txt", 0);
  EXPECT_EQ(WalkBoth(bare, Options({"*.tmp"}, {"T:\\"})),
            (Paths{"T:\\empty.txt", "T:\\sub\\empty2.txt"}));
}

TEST(DriveWalk, PassedOverFoldersAreCaseSensitive) {
  FakeWindows win;
  win.fs.AddFile("C:\\SendTo\\a.tmp", 4);
  win.fs.AddFile("C:\\u\\NetHood\\b.tmp", 0);
  win.fs.AddFile("C:\\v\\sendto\\c.tmp", 4);
  win.fs.AddFile("C:\\v\\sendto\\d.txt", 0);
  EXPECT_EQ(WalkBoth(win, Options({"*.tmp"}, {"C:\\"})),
            (Paths{"C:\\v\\sendto\\c.tmp", "C:\\v\\sendto\\d.txt"}));
}

TEST(DriveWalk, JunctionsAreNeverFollowed) {
  FakeWindows win;
  win.fs.AddFile("C:\\data\\a.tmp", 4);
  win.fs.AddFile("C:\\data\\e.txt", 0);
  win.fs.AddJunction("C:\\data\\loop", "C:\\data");  // points back to its parent
  win.fs.AddJunction("C:\\alias", "C:\\data");
  EXPECT_EQ(WalkBoth(win, Options({"*.tmp"}, {"C:\\"})),
            (Paths{"C:\\data\\a.tmp", "C:\\data\\e.txt"}));
}

TEST(DriveWalk, UnlistableDriveAndUncheckedItemsYieldNothing) {
  FakeWindows win;
  win.fs.AddFile("C:\\a.tmp", 4);
  auto options = Options({"*.tmp"}, {"C:\\", "Q:\\"});
  options.DrivesBox.items[0].checked = false;
  EXPECT_EQ(WalkBoth(win, options), Paths{});
  // No checked mask: empty files still come.
  win.fs.AddFile("C:\\e.txt", 0);
  auto noMasks = Options({}, {"C:\\"});
  noMasks.OptionBox.Add("*.tmp", false);
  EXPECT_EQ(WalkBoth(win, noMasks), Paths{"C:\\e.txt"});
}

TEST(DriveWalk, SingleTraversalMatchesPerMaskWalksOnRandomTrees) {
  const char* names[] = {"a.tmp", "b.bak", "c.TMP", "d.txt", "e.tmp.bak", "f", "g.~x", "h.old"};
  const uint32_t attrs[] = {kAttrArchive, kAttrHidden, kAttrSystem, kAttrNormal,
                            kAttrReadOnly | kAttrArchive, kAttrTemporary};
  const uint32_t folderAttrs[] = {kAttrDirectory, kAttrDirectory | kAttrHidden,
                                  kAttrDirectory | kAttrCompressed, kAttrDirectory | kAttrSystem};
  const char* folderNames[] = {"x", "y", "SendTo", "sendto", "z z"};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    FakeWindows win;
    win.fs.AddDrive('D');
    std::vector<std::string> folders = {"C:", "D:"};
    for (int i = 0; i < 60; ++i) {
      const std::string& parent = folders[rng() % folders.size()];
      if (rng() % 4 == 0) {
        std::string path = parent + "\\" + folderNames[rng() % 5] + std::to_string(i % 3);
        win.fs.AddFolder(path, folderAttrs[rng() % 4]);
        folders.push_back(path);
      } else {
        win.fs.AddFile(parent + "\\" + std::to_string(i) + names[rng() % 8], rng() % 3 ? rng() % 50 : 0,
                       attrs[rng() % 6]);
      }
    }
    if (seed % 5 == 0) win.fs.AddJunction(folders.back() + "\\j", "C:");
    SCOPED_TRACE(seed);
    WalkBoth(win, Options({"*.tmp", "*.bak", "*.~*", "?.old"}, {"C:\\", "D:\\"}));
  }
}

TEST(FolderWalk, TempFolderListsEverythingButEntersNoPassedOverFolder) {
  FakeWindows win;
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\sys.dat", 5, kAttrSystem | kAttrHidden);
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\empty.txt", 0);
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\norm.txt", 0, kAttrNormal);  // fails the plain test
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\sub\\in.dat", 8);
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\SendTo\\not.dat", 8);
  Walk walk(win);
  WalkTempFolder(walk.ctx, walk.state);
  EXPECT_EQ(walk.Paths(), (Paths{"C:\\WINDOWS\\TEMP\\sys.dat", "C:\\WINDOWS\\TEMP\\empty.txt",
                                 "C:\\WINDOWS\\TEMP\\sub\\in.dat", "C:\\WINDOWS\\TEMP\\SendTo"}));
  EXPECT_EQ(walk.state.rows.back().Size(), 0u);
  EXPECT_EQ(walk.state.bytes, 13);
}

TEST(FolderWalk, FlatListingMakesSubfoldersRows) {
  FakeWindows win;
  win.fs.AddFile("C:\\Recent\\doc.lnk", 300);
  win.fs.AddFile("C:\\Recent\\old\\x.lnk", 300);
  Walk walk(win);
  FindFolderFiles(walk.ctx, "C:\\Recent\\*.*", walk.state, false);
  EXPECT_EQ(walk.Paths(), (Paths{"C:\\Recent\\doc.lnk", "C:\\Recent\\old"}));
}

TEST(FolderWalk, LongTempPathUnicodeNamesAndAnyYear) {
  FakeWindows win;
  std::string temp = "C:\\" + std::string(150, 't') + "\\";
  win.fs.SetTempPath(temp);
  win.fs.AddFile(temp + "Grüße_日本.tmp", 12, kAttrArchive, TicksOf(1601, 1, 2));
  win.fs.AddFile(temp + "future.tmp", 12, kAttrArchive, TicksOf(2200, 7, 4));
  Walk walk(win);
  WalkTempFolder(walk.ctx, walk.state);
  ASSERT_EQ(walk.state.rows.size(), 2u);
  EXPECT_EQ(walk.state.rows[0].Name(), "Grüße_日本.tmp");
  EXPECT_EQ(walk.state.rows[0].Location(), temp);
  EXPECT_EQ(walk.state.rows[0].Date(), "02.01.1601");
  EXPECT_EQ(walk.state.rows[1].Date(), "04.07.2200");
}

TEST(Walkers, StopEndsEveryWalkAtItsNextTest) {
  FakeWindows win;
  for (int i = 0; i < 5; ++i) win.fs.AddFile("C:\\f" + std::to_string(i) + "\\a.tmp", 4);
  for (auto strategy : {WalkStrategy::kPerMask, WalkStrategy::kSinglePass}) {
    Walk walk(win);
    win.ui.onPump = [&] {
      if (walk.state.count > 0) walk.stopFlag = true;
    };
    EXPECT_TRUE(WalkCheckedDrives(walk.ctx, Options({"*.tmp"}, {"C:\\"}), walk.state, strategy));
    EXPECT_GT(walk.state.rows.size(), 0u);
    EXPECT_LT(walk.state.rows.size(), 5u);
  }
}

TEST(Walkers, ProgressPanelsShowTheFolderAndRunningFigures) {
  FakeWindows win;
  win.fs.AddFile("C:\\d\\a.tmp", 2048);
  win.fs.AddFile("C:\\d\\e.txt", 0);
  Walk walk(win);
  std::vector<std::string> seen;
  win.ui.onPump = [&] { seen.push_back(walk.bar.Get(0) + "|" + walk.bar.Get(2) + "|" + walk.bar.Get(3)); };
  WalkCheckedDrives(walk.ctx, Options({"*.tmp"}, {"C:\\"}), walk.state, WalkStrategy::kPerMask);
  walk.progress.Finish();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "C:\\||");
  EXPECT_NE(std::find(seen.begin(), seen.end(), "C:\\d\\|Total Files: 1|2 kB"), seen.end());
  EXPECT_EQ(walk.bar.Get(2), "Total Files: 2");
  EXPECT_EQ(walk.bar.Get(3), "2 kB");
}

}  // namespace
}  // namespace scourly
