// The Recent Files, IE Favorites and Dead Shortcuts scans, and the shortcut
// reader, against the in-memory Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "lists/status_panels.h"
#include "platform/fake/fake_windows.h"
#include "scan/dead_shortcuts.h"
#include "scan/folder_scans.h"
#include "scan/shortcut.h"

namespace scourly {
namespace {

using fake::FakeWindows;
using Panels = std::array<std::string, 4>;

constexpr const char* kRecent = "C:\\Users\\ann\\Recent";
constexpr const char* kFavorites = "C:\\Users\\ann\\Favorites";

// A file system that notes every folder a scan asks to list, found or not.
struct ListingRecorder : fake::FakeFileSystem {
  std::vector<std::string> asked;
  std::unique_ptr<FolderListing> ListFolder(const std::string& folder) override {
    asked.push_back(folder);
    return FakeFileSystem::ListFolder(folder);
  }
};

// One tab's models as the main window holds them, with what an earlier scan
// left on show.
struct Tab {
  FakeWindows win;
  ListingRecorder fs;
  Platform platform{fs,           win.ui,       win.locale,     win.purgix, win.shell,
                    win.urlCache, win.registry, win.dateFormat, win.version};
  ResultList list;
  std::string totalSizeText = "7 kB";
  StatusBar bar;
  ToolButton findFilesTB;
  bool stopFlag = false;
  FileTabScan scan{list, totalSizeText, bar, findFilesTB, stopFlag, 0};
  CheckList drives;

  Tab() {
    bar.panels = {"Selected Size: 1 kB", "Selected Files: 3", "Total Files: 9", "7 kB"};
    win.shell.specialFolders[kCsidlRecent] = kRecent;
    win.shell.specialFolders[kCsidlFavorites] = kFavorites;
    fs.AddDrive('C');
    fs.AddFolder(kRecent);
    fs.AddFolder(kFavorites);
  }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const ResultRow& row : list.Rows()) paths.push_back(row.FullPath());
    return paths;
  }
  void Link(const std::string& path, const std::string& target, uint64_t size = 400,
            uint32_t attributes = kAttrArchive) {
    fs.AddFile(path, size, attributes);
    win.shell.links[path].path = target;
  }
};

using Scan = std::function<void(Tab&)>;
const Scan kRecentScan = [](Tab& t) { RFindFilesClick(t.scan, t.platform); };
const Scan kFavoritesScan = [](Tab& t) { FFindFilesClick(t.scan, t.platform); };
const Scan kDeadScan = [](Tab& t) { DFindFilesClick(t.scan, t.platform, t.drives); };

const Panels kScanEndedEmpty{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"};

// ---- Recent Files and IE Favorites ----

TEST(RecentScan, ListsTheFolderItselfWithHiddenAndSystemEntriesButNoOtherBits) {
  Tab t;
  const std::string r = std::string(kRecent) + "\\";
  t.fs.AddFile(r + "report.doc.lnk", 500);
  t.fs.AddFile(r + "desktop.ini", 100, kAttrHidden | kAttrSystem);
  t.fs.AddFolder(r + "Old", kAttrDirectory);
  t.fs.AddFile(r + "Old\\inside.lnk", 1000);
  t.fs.AddFile(r + "hidden.lnk", 10, kAttrHidden | kAttrReadOnly);
  for (uint32_t other : std::initializer_list<uint32_t>{
           kAttrNormal, kAttrArchive | kAttrCompressed, kAttrTemporary,
           kAttrArchive | kAttrNotIndexed, kAttrArchive | kAttrEncrypted})
    t.fs.AddFile(r + "other" + std::to_string(other) + ".lnk", 50, other);

  kRecentScan(t);

  EXPECT_EQ(t.Paths(), (std::vector<std::string>{r + "report.doc.lnk", r + "desktop.ini",
                                                 r + "Old", r + "hidden.lnk"}));
  const ResultRow& folder = t.list[2];
  EXPECT_EQ(std::tie(folder.Name(), folder.Location(), folder.Date()),
            std::tie("Old", r, "15.03.2024"));
  EXPECT_EQ(folder.Size(), 0u);
  EXPECT_EQ(t.totalSizeText, "610 B");
  EXPECT_EQ(t.bar.panels, (Panels{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 4",
                                  "610 B"}));
  EXPECT_FALSE(t.findFilesTB.enabled) << "the caller enables Find Files again";
}

TEST(FavoritesScan, WalksSubfoldersButListsSendToAndNetHoodAsEntries) {
  Tab t;
  const std::string f = std::string(kFavorites) + "\\";
  t.fs.AddFile(f + "top.url", 300);
  t.fs.AddFile(f + "Links\\a.url", 200);
  t.fs.AddFile(f + "Links\\Deep\\b.url", 100);
  t.fs.AddFile(f + "Links\\NetHood\\d.url", 20);
  t.fs.AddFile(f + "Links\\sendTo\\c.url", 50);
  t.fs.AddFile(f + "SendTo\\hidden-away.url", 80);
  t.fs.AddFile(f + "last.url", 1);

  kFavoritesScan(t);

  EXPECT_EQ(t.Paths(), (std::vector<std::string>{f + "top.url", f + "Links\\a.url",
                                                 f + "Links\\Deep\\b.url", f + "Links\\NetHood",
                                                 f + "Links\\sendTo\\c.url", f + "SendTo",
                                                 f + "last.url"}));
  EXPECT_EQ(t.list[1].Location(), f + "Links\\");
  EXPECT_EQ(t.list[3].Size(), 0u);
  EXPECT_EQ(t.list[5].Size(), 0u);
  EXPECT_EQ(t.totalSizeText, "651 B");
  EXPECT_EQ(t.bar.Get(kPanelTotalFiles), "Total Files: 7");
}

// A special folder the shell cannot name is an empty folder: nothing is
// listed, not even the drive root or the current folder, and no message
// appears.
TEST(SpecialFolderScans, UnresolvableOrEmptyFolderListsNothing) {
  struct Case {
    const char* what;
    Scan scan;
    int csidl;
    std::optional<std::string> shellAnswer;
    std::vector<std::string> listed;
  };
  const Case cases[] = {
      {"Recent unresolved", kRecentScan, kCsidlRecent, std::nullopt, {}},
      {"Recent as empty text", kRecentScan, kCsidlRecent, "", {}},
      {"Recent as relative path", kRecentScan, kCsidlRecent, "Recent", {}},
      {"Recent empty", kRecentScan, kCsidlRecent, kRecent, {kRecent}},
      {"Favorites unresolved", kFavoritesScan, kCsidlFavorites, std::nullopt, {}},
      {"Favorites as a bare backslash", kFavoritesScan, kCsidlFavorites, "\\", {}},
      {"Favorites as a drive-relative path", kFavoritesScan, kCsidlFavorites, "C:Fav", {}},
      {"Favorites empty", kFavoritesScan, kCsidlFavorites, kFavorites, {kFavorites}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tab t;
    t.win.shell.specialFolders.erase(c.csidl);
    if (c.shellAnswer) t.win.shell.specialFolders[c.csidl] = *c.shellAnswer;
    t.fs.AddFile("C:\\root.txt", 5);
    t.list.Assign({ResultRow("old", "C:\\", 1, "x")});

    c.scan(t);

    EXPECT_EQ(t.list.Count(), 0);
    EXPECT_EQ(t.fs.asked, c.listed);
    EXPECT_EQ(t.totalSizeText, "0 B");
    EXPECT_EQ(t.bar.panels, kScanEndedEmpty);
    EXPECT_TRUE(t.win.ui.messages.empty());
    EXPECT_TRUE(t.win.ui.errors.empty());
  }
}

// ---- Stop, for all three scans ----

TEST(FileTabScans, StopDiscardsTheRowsAndKeepsTheTotalText) {
  struct Case {
    const char* what;
    Scan scan;
    std::function<bool(const Tab&)> pressStop;  // asked at every pump
    int linksRead;  // -1: not checked
  };
  auto atPump = [](int n) { return [n](const Tab& t) { return t.win.ui.pumps == n; }; };
  const Case cases[] = {
      {"Recent, during the walk", kRecentScan, atPump(1), -1},
      {"Favorites, in the first folder", kFavoritesScan, atPump(1), -1},
      {"Favorites, in a subfolder", kFavoritesScan, atPump(5), -1},
      {"Dead shortcuts, while collecting", kDeadScan, atPump(1), 0},
      {"Dead shortcuts, while judging", kDeadScan,
       [](const Tab& t) { return t.win.shell.linkReads == 1; }, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tab t;
    for (const char* folder : {kRecent, kFavorites}) {
      t.Link(std::string(folder) + "\\a.lnk", "C:\\gone1");
      t.Link(std::string(folder) + "\\sub\\b.lnk", "C:\\gone2");
      t.Link(std::string(folder) + "\\sub\\c.lnk", "C:\\gone3");
    }
    t.drives.Add("C:\\", true);
    t.win.ui.onPump = [&] {
      if (c.pressStop(t)) t.stopFlag = true;
    };

    c.scan(t);

    EXPECT_EQ(t.list.Count(), 0);
    EXPECT_EQ(t.totalSizeText, "7 kB");
    // The candidate being judged when Stop came is finished; no other is read.
    if (c.linksRead >= 0) EXPECT_EQ(t.win.shell.linkReads, c.linksRead);
  }
}

TEST(FileTabScans, StopStillSetChangesNothing) {
  for (const Scan& scan : {kRecentScan, kFavoritesScan, kDeadScan}) {
    Tab t;
    t.fs.AddFile(std::string(kRecent) + "\\a.lnk", 5);
    t.drives.Add("C:\\", true);
    t.list.Assign({ResultRow("old", "C:\\", 1, "x")});
    const Panels before = t.bar.panels;
    t.stopFlag = true;

    scan(t);

    EXPECT_EQ(t.list.Count(), 1);
    EXPECT_TRUE(t.findFilesTB.enabled);
    EXPECT_EQ(t.bar.panels, before);
    EXPECT_TRUE(t.fs.asked.empty());
  }
}

// ---- Dead shortcuts ----

// Two checked drives and one unchecked one that holds some targets.
struct DeadShortcutMachine : Tab {
  DeadShortcutMachine() {
    fs.AddDrive('D');
    fs.AddDrive('E');
    fs.AddFolder("C:\\data");
    fs.AddFile("E:\\kept.txt", 3);
    drives.Add("C:\\", true);
    drives.Add("E:\\", false);
    drives.Add("D:\\", true);
  }
};

TEST(DeadShortcutScan, ListsExactlyTheLinksWhoseTargetIsGone) {
  DeadShortcutMachine t;
  t.Link("C:\\links\\deleted.lnk", "C:\\gone\\file.txt", 600);
  t.Link("C:\\links\\folder.lnk", "C:\\data");
  t.Link("C:\\links\\on-unchecked.lnk", "E:\\kept.txt");
  t.Link("C:\\links\\root.lnk", "C:\\");
  t.Link("C:\\links\\share.lnk", "\\\\server\\share\\");  // no such share: dead
  t.Link("C:\\links\\missing-drive.lnk", "Q:\\", 500);
  t.Link("C:\\links\\shell-object.lnk", "");
  t.fs.AddFile("C:\\links\\not-a-link.lnk", 100);
  t.Link("C:\\links\\raises.lnk", "C:\\gone\\2");
  t.win.shell.linkErrors["C:\\links\\raises.lnk"] = "CoInitialize has not been called";
  t.Link("C:\\links\\a;b.lnk", "C:\\gone\\3", 30);
  t.Link("C:\\semi;colon\\c.lnk", "C:\\gone\\4", 40);
  t.Link("C:\\links\\target.txt", "C:\\gone\\5");  // not a *.lnk name
  t.Link("D:\\d.LNK", "E:\\gone.txt", 50);
  t.Link("E:\\e.lnk", "C:\\gone\\6");  // its drive is not checked

  kDeadScan(t);

  EXPECT_EQ(t.Paths(), (std::vector<std::string>{
                           "C:\\links\\deleted.lnk", "C:\\links\\share.lnk",
                           "C:\\links\\missing-drive.lnk", "C:\\links\\a;b.lnk",
                           "C:\\semi;colon\\c.lnk", "D:\\d.LNK"}));
  EXPECT_EQ(t.list[3].Name(), "a;b.lnk");
  EXPECT_EQ(t.list[4].Location(), "C:\\semi;colon\\");
  EXPECT_TRUE(t.win.ui.errors.empty());
  EXPECT_TRUE(t.win.ui.messages.empty());
}

TEST(DeadShortcutScan, ShortcutsThatAreNeverExamined) {
  DeadShortcutMachine t;
  t.Link("C:\\zero.lnk", "C:\\gone", 0);
  t.Link("C:\\system.lnk", "C:\\gone", 400, kAttrArchive | kAttrSystem);
  t.Link("C:\\SendTo\\s.lnk", "C:\\gone");
  t.Link("C:\\u\\NetHood\\n.lnk", "C:\\gone");
  t.fs.AddFolder("C:\\sysdir", kAttrDirectory | kAttrSystem);
  t.Link("C:\\sysdir\\y.lnk", "C:\\gone");
  t.Link("C:\\u\\sendto\\walked.lnk", "C:\\gone");

  kDeadScan(t);

  EXPECT_EQ(t.win.shell.linksRead, (std::vector<std::string>{"C:\\u\\sendto\\walked.lnk"}));
  EXPECT_EQ(t.Paths(), t.win.shell.linksRead);
}

TEST(DeadShortcutScan, TotalsCountTheShortcutFilesThemselves) {
  DeadShortcutMachine t;
  t.fs.AddFile("C:\\big-target.bin", 1 << 20);
  t.Link("C:\\live.lnk", "C:\\big-target.bin", 9000);
  t.Link("C:\\one.lnk", "C:\\gone", 600);
  t.Link("D:\\two.lnk", "D:\\gone", 500);

  kDeadScan(t);

  EXPECT_EQ(t.totalSizeText, "1 kB");
  EXPECT_EQ(t.bar.panels, (Panels{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 2",
                                  "1 kB"}));
}

TEST(DeadShortcutScan, NothingDeadOrNoDriveChecked) {
  for (bool anyChecked : {true, false}) {
    DeadShortcutMachine t;
    t.Link("C:\\live.lnk", "C:\\data");
    t.Link("D:\\dead.lnk", "D:\\gone");
    if (!anyChecked)
      for (CheckItem& item : t.drives.items) item.checked = false;
    if (anyChecked) t.fs.AddFile("D:\\gone", 1);

    kDeadScan(t);

    EXPECT_EQ(t.list.Count(), 0);
    EXPECT_EQ(t.totalSizeText, "0 B");
    EXPECT_EQ(t.bar.panels, kScanEndedEmpty);
  }
}

// A drive root has no entry of its own for a find-first search to report;
// it is asked for by its attributes, every other path by the search.
TEST(DeadShortcutScan, RootsAreAskedForByAttributes) {
  struct Recorder : fake::FakeFileSystem {
    std::string asked;
    bool FileExists(const std::string&) override { return (asked = "attributes", false); }
    bool FindFirstFinds(const std::string&) override { return (asked = "search", false); }
  };
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\", "attributes"},          {"c:", "attributes"},
      {"\\\\srv\\share", "attributes"}, {"\\\\srv\\share\\", "attributes"},
      {"\\\\srv\\share\\x", "search"},  {"\\\\srv\\", "search"},
      {"C:\\dir", "search"},           {"C:\\dir\\", "search"},
      {"C:dir", "search"},             {"CD:\\", "search"},
  };
  for (auto [target, expected] : cases) {
    Recorder fs;
    ShortcutTargetExists(fs, target);
    EXPECT_EQ(fs.asked, expected) << target;
  }
}

// ---- The shortcut reader ----

TEST(ShortcutReader, FillsTheRecordOnlyForALinkWithATarget) {
  FakeWindows win;
  ShortcutFields full{"C:\\app.exe", "C:\\", "-x", "My app", "C:\\app.exe", 2};
  win.shell.links["C:\\full.lnk"] = full;
  win.shell.links["C:\\empty.lnk"] = ShortcutFields{"", "C:\\", "-y", "shell", "i.dll", 1};

  TShortcutInfo info;
  ASSERT_TRUE(GetShortcutInfo(win.shell, "C:\\full.lnk", info));
  EXPECT_EQ(std::tie(info.Path, info.WorkingDirectory, info.Arguments, info.Description,
                     info.IconLocation, info.IconIndex),
            std::tie(full.path, full.workingDirectory, full.arguments, full.description,
                     full.iconLocation, full.iconIndex));

  for (const char* path : {"C:\\empty.lnk", "C:\\unknown.lnk"}) {
    TShortcutInfo untouched;
    untouched.Description = "before";
    EXPECT_FALSE(GetShortcutInfo(win.shell, path, untouched)) << path;
    EXPECT_EQ(untouched.Description, "before") << path;
    std::string target = "kept";
    EXPECT_FALSE(GetShortcutTarget(win.shell, path, target)) << path;
    EXPECT_EQ(target, "kept") << path;
  }
  std::string target;
  ASSERT_TRUE(GetShortcutTarget(win.shell, "C:\\full.lnk", target));
  EXPECT_EQ(target, "C:\\app.exe");
}

}  // namespace
}  // namespace scourly
