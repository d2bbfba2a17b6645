#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/main_form.h"
#include "delete/deletion.h"
#include "delete/deletion_log.h"
#include "lists/app_error.h"
#include "lists/status_panels.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeWindows;

constexpr const char* kHandOff = "C:\\Program Files\\Scourly\\FList.txt";

struct Deletion : ::testing::Test {
  FakeWindows win;
  StatusBar bar;
  bool stopFlag = false;
  std::string totalSizeText = "scan total";
  DeletionContext ctx{win.platform, bar, stopFlag, totalSizeText, {}};
  ResultList list;

  // A row for the file just made at `path`, as the scan listed it.
  static ResultRow Listed(const std::string& folder, const std::string& name, uint64_t size) {
    return ResultRow(name, folder, size, "15.03.2024", fake::kDefaultTime);
  }
  // Six files in T:\d\ named f0..f5 of 100 bytes each, listed in that order.
  void SixFiles() {
    std::vector<ResultRow> rows;
    for (int i = 0; i < 6; ++i) {
      std::string name = "f" + std::to_string(i);
      win.fs.AddFile("T:\\d\\" + name, 100);
      rows.push_back(Listed("T:\\d\\", name, 100));
    }
    list.Assign(std::move(rows));
  }
  std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    for (const ResultRow& row : list.Rows()) names.push_back(row.Name());
    return names;
  }
  std::vector<std::string> Reasons() {
    std::vector<std::string> out;
    for (const StayedItem& item : ctx.stayed)
      out.push_back(item.path + " " + std::to_string(static_cast<int>(item.reason)));
    return out;
  }
};

using Strings = std::vector<std::string>;
using Panels = std::array<std::string, 4>;

TEST_F(Deletion, SelectedToRecycleBinLastToFirst) {
  SixFiles();
  list.SetSelection({2, 5});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.purgix.lastHandOff, "T:\\d\\f5\r\nT:\\d\\f2\r\n");
  EXPECT_EQ(win.fs.Content(kHandOff), "T:\\d\\f5\r\nT:\\d\\f2\r\n");  // left on disk
  EXPECT_EQ(win.purgix.recycleBin, (Strings{"T:\\d\\f5", "T:\\d\\f2"}));
  EXPECT_EQ(ListedNames(), (Strings{"f0", "f1", "f3", "f4"}));
  EXPECT_EQ(bar.panels, (Panels{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 4", "400 B"}));
  EXPECT_TRUE(ctx.stayed.empty());
}

// The totals are the rows' own: a click between two deletions used to show
// the scan's total again, and the second deletion counted down from it.
TEST_F(Deletion, TotalsFollowTheRowsAcrossDeletions) {
  SixFiles();
  list.SetSelection({0, 1});
  DeleteSel(ctx, list, false);
  EXPECT_EQ(bar.Get(2), "Total Files: 4");
  EXPECT_EQ(bar.Get(3), "400 B");
  EXPECT_EQ(totalSizeText, "400 B");
  ToolButton all, sel;
  RefreshListStatus(list, totalSizeText, bar, all, sel);  // the user clicks the list
  EXPECT_EQ(bar.Get(3), "400 B");
  list.SetSelection({0, 1, 2, 3});
  DeleteSel(ctx, list, false);
  EXPECT_EQ(bar.panels, (Panels{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"}));

  // No kilobyte is lost to rounding: 3500 bytes less 100 leave 3 kB, not 2.
  win.fs.AddFile("T:\\k\\a", 3400);
  win.fs.AddFile("T:\\k\\b", 100);
  list.Assign({Listed("T:\\k\\", "a", 3400), Listed("T:\\k\\", "b", 100)});
  list.SetSelection({1});
  DeleteSel(ctx, list, false);
  EXPECT_EQ(bar.Get(3), "3 kB");
}

// Whatever no longer is what the scan listed stays on disk and in the list,
// selected, with its reason; what vanished leaves the list quietly.
TEST_F(Deletion, OnlyWhatWasListedIsDeleted) {
  SixFiles();
  win.fs.Take("T:\\d\\f0");
  win.fs.AddFolder("T:\\d\\f0").children.push_back(std::make_unique<fake::FakeFileSystem::Node>());
  win.fs.Take("T:\\d\\f1");
  win.fs.AddFile("T:\\d\\f1", 100).symlink = true;     // a link shown as a plain file
  win.fs.Find("T:\\d\\f2")->size = 99;                  // rewritten since the scan
  win.fs.Find("T:\\d\\f3")->lastWrite += 1;
  win.fs.Take("T:\\d\\f4");                            // gone before the deletion
  for (bool recycle : {true, false}) {
    SCOPED_TRACE(recycle ? "Recycle Bin" : "permanently");
    list.SetSelection({0, 1, 2, 3, 4, 5});
    DeleteSel(ctx, list, recycle);
    EXPECT_EQ(ListedNames(), (Strings{"f0", "f1", "f2", "f3"}));
    EXPECT_EQ(list.SelCount(), 4);  // still selected
    EXPECT_EQ(Reasons(), (Strings{"T:\\d\\f3 0", "T:\\d\\f2 0", "T:\\d\\f1 1", "T:\\d\\f0 0"}));
    EXPECT_EQ(bar.panels, (Panels{"Selected Size: 400 B", "Selected Files: 4", "Total Files: 4",
                                  "400 B"}));
    for (const char* name : {"f0", "f1", "f2", "f3"}) EXPECT_TRUE(win.fs.Exists(std::string("T:\\d\\") + name));
    if (recycle) EXPECT_EQ(win.purgix.lastHandOff, "T:\\d\\f5\r\n");
    // The next round finds f5 gone already.
  }
  EXPECT_EQ(win.purgix.recycleBin, (Strings{"T:\\d\\f5"}));

  // A folder listed as a folder is handed over; behind a junction, nothing is.
  win.fs.AddFolder("T:\\e\\sub");
  win.fs.AddFolder("T:\\real\\inner");
  win.fs.AddFile("T:\\real\\inner\\x", 5);
  win.fs.AddJunction("T:\\e\\via", "T:\\real");
  list.Assign({ResultRow("sub", "T:\\e\\", 0, "d", fake::kDefaultTime, 0, true),
               ResultRow("inner", "T:\\e\\via\\", 0, "d", fake::kDefaultTime, 0, true)});
  list.SetSelection({0, 1});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.purgix.lastHandOff, "T:\\e\\sub\r\n");
  EXPECT_TRUE(win.fs.Exists("T:\\real\\inner\\x"));
  EXPECT_EQ(Reasons(), (Strings{"T:\\e\\via\\inner 1"}));
}

// Where an item handed to the library stands afterwards; a link shown as a
// plain file, which a run's look by path cannot tell and the library
// refuses, stays as a link.
TEST_F(Deletion, AHandedItemThatStayedSaysWhy) {
  win.fs.AddFile("T:\\h\\plain", 1);
  win.fs.AddFile("T:\\h\\held", 1).locked = true;
  win.fs.AddFile("T:\\h\\link", 1).symlink = true;
  auto opener = win.fs.NewItemOpener();
  const std::pair<const char*, std::optional<StayReason>> cases[] = {
      {"T:\\h\\gone", std::nullopt},
      {"T:\\h\\plain", StayReason::kNotRecycled},
      {"T:\\h\\held", StayReason::kInUse},
      {"T:\\h\\link", StayReason::kLink},
  };
  for (const auto& [path, reason] : cases)
    EXPECT_EQ(StayedAfterHandOff(*opener, path), reason) << path;
}

TEST_F(Deletion, WhatTheDeletionLeftStaysWithItsReason) {
  SixFiles();
  win.fs.Find("T:\\d\\f1")->attributes |= kAttrReadOnly;
  win.fs.Find("T:\\d\\f3")->locked = true;
  list.SetSelection({0, 1, 3});
  DeleteSel(ctx, list, false);
  EXPECT_FALSE(win.fs.Exists("T:\\d\\f0"));
  EXPECT_EQ(ListedNames(), (Strings{"f1", "f2", "f3", "f4", "f5"}));
  EXPECT_EQ(Reasons(), (Strings{"T:\\d\\f3 2", "T:\\d\\f1 4"}));  // in use; not deleted

  list.SetSelection({0, 2});  // f1 and f3 to the Recycle Bin: the library skips f3
  DeleteSel(ctx, list, true);
  EXPECT_EQ(Reasons(), (Strings{"T:\\d\\f3 2"}));
  EXPECT_EQ(ListedNames(), (Strings{"f2", "f3", "f4", "f5"}));

  std::string message = StayedMessage(
      {{"T:\\a", StayReason::kChanged}, {"T:\\b", StayReason::kLink}, {"T:\\c", StayReason::kInUse},
       {"T:\\d", StayReason::kNotRecycled}, {"T:\\e", StayReason::kNotDeleted}, {"T:\\f", StayReason::kInUse}});
  EXPECT_EQ(message,
            "6 files were not deleted and stay in the list:\r\n"
            "\r\nT:\\a (changed since the scan)\r\nT:\\b (a link)\r\nT:\\c (in use)"
            "\r\nT:\\d (could not be moved to the Recycle Bin)\r\nT:\\e (could not be deleted)"
            "\r\n... and 1 more.");
  EXPECT_EQ(StayedMessage({}), "");
}

// A file listed twice (two masks match it; the temporary folder walk lists
// it again, maybe by a short 8.3 path or in another case) is one item: it is
// checked and deleted once, both rows leave with it, and when it stays both
// rows stay and the message names it once. The hand-off file keeps a line
// per row; the library hands the item to the shell once.
TEST_F(Deletion, AnItemListedTwiceIsOneItem) {
  struct Case {
    const char* name;
    std::string first, second;  // the two rows' folders
  };
  const Case cases[] = {
      {"the same path twice", "T:\\d\\", "T:\\d\\"},
      {"a short 8.3 path", "T:\\Temporary Files\\", "T:\\TEMPOR~1\\"},
      {"another case", "T:\\Temporary Files\\", "t:\\temporary files\\"},
  };
  for (const Case& c : cases) {
    for (int command : {0, 1, 2}) {  // delete all, selected to the Recycle Bin, permanently
      SCOPED_TRACE(std::string(c.name) + ", command " + std::to_string(command));
      FakeWindows w;
      DeletionContext x{w.platform, bar, stopFlag, totalSizeText, {}};
      w.fs.AddFolder("T:\\d");
      w.fs.AddFolder("T:\\Temporary Files").shortName = "TEMPOR~1";
      const std::string folder = c.first.substr(0, c.first.size() - 1);
      w.fs.AddFile(folder + "\\q.~a~", 7);
      w.fs.AddFile(folder + "\\keep.~b~", 9);
      w.fs.AddFile(folder + "\\stuck.~c~", 5).locked = true;
      ResultList rows;
      rows.Assign({Listed(c.first, "q.~a~", 7), Listed(c.first, "stuck.~c~", 5),
                   Listed(c.first, "keep.~b~", 9), Listed(c.second, "q.~a~", 7),
                   Listed(c.second, "stuck.~c~", 5)});
      rows.SetSelection({0, 1, 3, 4});
      if (command == 0) DeleteAll(x, rows);
      else DeleteSel(x, rows, command == 1);

      if (command != 2) {
        EXPECT_EQ(w.purgix.lastHandOff,
                  command == 0 ? c.first + "q.~a~\r\n" + c.first + "stuck.~c~\r\n" + c.first +
                                     "keep.~b~\r\n" + c.second + "q.~a~\r\n" + c.second +
                                     "stuck.~c~\r\n"
                               : c.second + "stuck.~c~\r\n" + c.second + "q.~a~\r\n" + c.first +
                                     "stuck.~c~\r\n" + c.first + "q.~a~\r\n");
        EXPECT_EQ(w.purgix.recycleBin.size(), command == 0 ? 2u : 1u);
      }
      EXPECT_FALSE(w.fs.Exists(folder + "\\q.~a~"));
      Strings left;
      for (const ResultRow& row : rows.Rows()) left.push_back(row.FullPath());
      // Both rows of the file that stayed stay; the message names it once.
      const Strings stuck = {c.first + "stuck.~c~", c.second + "stuck.~c~"};
      EXPECT_EQ(left, command == 0 ? stuck : (Strings{stuck[0], c.first + "keep.~b~", stuck[1]}));
      ASSERT_EQ(x.stayed.size(), 1u);
      EXPECT_EQ(x.stayed[0].reason, StayReason::kInUse);
      EXPECT_EQ(rows.TotalBytes(), command == 0 ? 10u : 19u);
    }
  }
}

// A large deletion checks its items on every core; each item's outcome, the
// hand-off's lines and their order, the message and the log are those of the
// same items taken one by one. Each group of rows (in use, changed, gone,
// read-only, listed twice) is taken once alone and 60 times in one command.
TEST_F(Deletion, ManyItemsAreTakenOnEveryCoreAsOneByOne) {
  struct Outcome {
    Strings left, stayed, handOff, onDisk, log;
  };
  auto run = [&](int groups, int command) {
    FakeWindows w;
    DeletionLog log(w.fs, [] { return int64_t{0}; });
    DeletionContext x{w.platform, bar, stopFlag, totalSizeText, {}, nullptr, nullptr, &log};
    std::vector<ResultRow> rows;
    for (int g = 0; g < groups; ++g) {
      const std::string folder = "T:\\group " + std::to_string(g) + "\\";
      w.fs.AddFolder(folder.substr(0, folder.size() - 1)).shortName = "G" + std::to_string(g) + "~1";
      w.fs.AddFile(folder + "ok", 10);
      w.fs.AddFile(folder + "grew", 11);
      w.fs.AddFile(folder + "held", 10).locked = true;
      w.fs.AddFile(folder + "ro", 10).attributes |= kAttrReadOnly;
      for (const char* name : {"ok", "grew", "gone", "held", "ro"}) rows.push_back(Listed(folder, name, 10));
      rows.push_back(Listed("T:\\G" + std::to_string(g) + "~1\\", "ok", 10));
    }
    ResultList list;
    list.Assign(std::move(rows));
    std::vector<int> every(list.Count());
    for (int i = 0; i < list.Count(); ++i) every[i] = i;
    list.SetSelection(every);
    if (command == 0) DeleteAll(x, list);
    else DeleteSel(x, list, command == 1);
    log.Finish();

    // Each group's part, told apart by the group's number.
    std::vector<Outcome> parts(groups);
    auto add = [&](Strings Outcome::*field, std::string text) {
      size_t at = text.find("group ");
      at = at != std::string::npos ? at + 6 : text.find("\\G") + 2;
      const size_t digits = text.find_first_not_of("0123456789", at) - at;
      const int g = std::stoi(text.substr(at, digits));
      text.erase(at, digits);
      // Either path of the item listed twice may come first on many cores.
      if (field == &Outcome::log && text.find("\\G~1\\") != std::string::npos)
        text.replace(text.find("\\G~1\\"), 5, "\\group \\");
      (parts[g].*field).push_back(text);
    };
    for (const ResultRow& row : list.Rows()) add(&Outcome::left, row.FullPath());
    for (const StayedItem& item : x.stayed) add(&Outcome::stayed, item.path + " " + ReasonText(item));
    std::istringstream lines(w.purgix.lastHandOff), logged(w.fs.Content(log.Path()).substr(3));  // no BOM
    for (std::string line; std::getline(lines, line);) add(&Outcome::handOff, line);
    for (std::string line; std::getline(logged, line);) {
      if (line.find("T:\\") != std::string::npos) add(&Outcome::log, line);
    }
    for (int g = 0; g < groups; ++g) {
      for (const char* name : {"ok", "grew", "held", "ro"}) {
        const std::string path = "T:\\group " + std::to_string(g) + "\\" + name;
        if (w.fs.Exists(path)) add(&Outcome::onDisk, path);
      }
      std::sort(parts[g].log.begin(), parts[g].log.end());  // lines go as outcomes are known
    }
    return parts;
  };
  for (int command : {0, 1, 2}) {  // delete all, selected to the Recycle Bin, permanently
    SCOPED_TRACE("command " + std::to_string(command));
    const Outcome alone = run(1, command)[0];
    EXPECT_EQ(alone.left.size(), command == 2 ? 3u : 2u);  // grew, held (and ro, for good)
    EXPECT_FALSE(alone.log.empty());
    const std::vector<Outcome> many = run(60, command);
    for (size_t g = 0; g < many.size(); ++g) {
      SCOPED_TRACE("group " + std::to_string(g));
      EXPECT_EQ(many[g].left, alone.left);
      EXPECT_EQ(many[g].stayed, alone.stayed);
      EXPECT_EQ(many[g].handOff, alone.handOff);
      EXPECT_EQ(many[g].onDisk, alone.onDisk);
      EXPECT_EQ(many[g].log, alone.log);
    }
  }
}

// After the Recycle Bin took many items of one folder, one listing of it
// tells which went; what is still there (in any case) stays with its reason,
// and a name that may be a short alias is looked at by itself.
TEST_F(Deletion, AFolderOfManyHandedItemsIsListedOnceAfterwards) {
  std::vector<ResultRow> rows;
  for (const std::string name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
                                 "n", "o", "p", "Held", "q~1"}) {
    fake::FakeFileSystem::Node& file = win.fs.AddFile("T:\\d\\" + name, 10);
    file.locked = name == "Held" || name == "q~1";
    rows.push_back(Listed("T:\\d\\", name == "Held" ? "HELD" : name, 10));  // another case
  }
  list.Assign(std::move(rows));
  const int listed = win.fs.listings;
  DeleteAll(ctx, list);
  EXPECT_EQ(win.fs.listings - listed, 1);
  EXPECT_EQ(ListedNames(), (Strings{"HELD", "q~1"}));
  EXPECT_EQ(Reasons(), (Strings{"T:\\d\\HELD 2", "T:\\d\\q~1 2"}));  // in use
}

// A name the shell's parse would change ("zero " is read as "zero") is
// never handed to the Recycle Bin: its row stays, saying why, and the other
// file is untouched. Deleted permanently, exactly that file goes.
TEST_F(Deletion, NamesTheRecycleBinWouldMisreadStayWithTheirReason) {
  const char* const names[] = {"zero ", "dot.", "nul.txt", "COM1"};
  for (const char* name : names) win.fs.AddFile(std::string("T:\\n\\") + name, 3);
  for (const char* other : {"zero", "dot", "nul"}) win.fs.AddFile(std::string("T:\\n\\") + other, 4);
  win.fs.AddFile("T:\\dir.\\inner", 6);
  std::vector<ResultRow> rows;
  for (const char* name : names) rows.push_back(Listed("T:\\n\\", name, 3));
  rows.push_back(Listed("T:\\dir.\\", "inner", 6));
  list.Assign(std::move(rows));
  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.lastHandOff, "");
  EXPECT_EQ(list.Count(), 5);
  ASSERT_EQ(ctx.stayed.size(), 5u);
  EXPECT_EQ(StayedMessage(ctx.stayed).find(
                "T:\\n\\zero  (a name the Recycle Bin would take for another file's; delete it "
                "permanently instead)"),
            std::string("5 files were not deleted and stay in the list:\r\n\r\n").size());

  list.SetSelection({0, 1, 2, 3, 4});
  DeleteSel(ctx, list, false);
  EXPECT_EQ(list.Count(), 0);
  for (const char* name : names) EXPECT_FALSE(win.fs.Exists(std::string("T:\\n\\") + name)) << name;
  for (const char* other : {"zero", "dot", "nul"})
    EXPECT_EQ(win.fs.Find(std::string("T:\\n\\") + other)->size, 4u) << other;
}

// A folder row (the recent documents and the temporary folder list
// folders) is handed over whole only when it is none of the system's
// folders and holds none.
TEST_F(Deletion, SystemFoldersListedAsRowsAreNeverHandedOverWhole) {
  win.shell.AddUsers(win.fs, "C:\\Users", "me", {"other"});
  win.fs.AddFolder("C:\\Users\\me\\Recent\\project");
  auto folderRow = [](const std::string& path) {
    const size_t slash = path.rfind('\\');
    return ResultRow(path.substr(slash + 1), path.substr(0, slash + 1), 0, "d",
                     fake::kDefaultTime, 0, true);
  };
  list.Assign({folderRow("C:\\Users\\me\\Documents"), folderRow("C:\\Users\\other"),
               folderRow("C:\\Users"), folderRow("C:\\Users\\me\\Recent\\project")});
  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.lastHandOff, "C:\\Users\\me\\Recent\\project\r\n");
  EXPECT_EQ(ListedNames(), (Strings{"Documents", "other", "Users"}));
  ASSERT_EQ(ctx.stayed.size(), 3u);
  EXPECT_EQ(ReasonText(ctx.stayed[0]), "a profile's Documents folder, never handed over as a whole");
  EXPECT_EQ(ctx.stayed[1].detail, "a user's profile folder");
  EXPECT_EQ(ctx.stayed[2].detail, "the Users folder");
  EXPECT_TRUE(win.fs.Exists("C:\\Users\\me\\Documents"));
}

TEST_F(Deletion, NothingSelectedChangesNothing) {
  SixFiles();
  bar.Set(0, "keep");
  DeleteSel(ctx, list, true);
  DeleteSel(ctx, list, false);
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(bar.Get(0), "keep");
  EXPECT_EQ(win.purgix.calls, 0);
}

TEST_F(Deletion, StopFlagStopsEveryCommand) {
  SixFiles();
  win.fs.WriteFile(kHandOff, "old\r\n");
  stopFlag = true;
  list.SetSelection({0});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.fs.Content(kHandOff), "");  // emptied, library not called
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_EQ(list.Count(), 6);

  bar.Set(0, "Selected Size: 100 B");
  DeleteSel(ctx, list, false);
  EXPECT_TRUE(win.fs.Exists("T:\\d\\f0"));
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(bar.Get(0), "Selected Size: 0 B");  // panels set from the unchanged totals
  EXPECT_EQ(bar.Get(2), "Total Files: 6");

  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_EQ(list.Count(), 6);
}

TEST_F(Deletion, DeleteAllHandsOverEveryEntryFirstToLast) {
  SixFiles();
  list.SetSelection({4});
  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.recycleBin.size(), 6u);
  EXPECT_EQ(win.purgix.lastHandOff.substr(0, 18), "T:\\d\\f0\r\nT:\\d\\f1\r\n");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(bar.panels, (Panels{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"}));
  // On an empty list the file is emptied and the library still called.
  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.calls, 2);
  EXPECT_EQ(win.fs.Content(kHandOff), "");
}

// Both commands say so when the hand-off file cannot be written (a
// read-only program folder), and change nothing.
TEST_F(Deletion, HandOffFileThatCannotBeWritten) {
  SixFiles();
  win.fs.WriteFile(kHandOff, "");
  win.fs.Find(kHandOff)->attributes |= kAttrReadOnly;
  list.SetSelection({1});
  for (bool all : {false, true}) {
    SCOPED_TRACE(all ? "delete all" : "delete selected");
    try {
      all ? DeleteAll(ctx, list) : DeleteSel(ctx, list, true);
      ADD_FAILURE() << "the write error must be reported";
    } catch (const HandOffError& e) {
      EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(win.purgix.calls, 0);
    EXPECT_TRUE(win.fs.Exists("T:\\d\\f1"));
  }
  EXPECT_EQ(InOutErrorText(112), "Disk full");
  EXPECT_EQ(InOutErrorText(3), "I/O error 3");
}

TEST_F(Deletion, ExactPathsForNamesWithDelimitersAndNoSeparatorAdded) {
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\~DF12.tmp", 5);
  win.fs.AddFile("T:\\a;b.tmp", 5);
  win.fs.AddFile("T:\\a", 5);  // what a split row would have named
  list.Assign({Listed("C:\\WINDOWS\\TEMP\\", "~DF12.tmp", 5), Listed("T:\\", "a;b.tmp", 5)});
  list.SetSelection({0, 1});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.purgix.lastHandOff, "T:\\a;b.tmp\r\nC:\\WINDOWS\\TEMP\\~DF12.tmp\r\n");
  EXPECT_TRUE(win.fs.Exists("T:\\a"));
  EXPECT_FALSE(win.fs.Exists("T:\\a;b.tmp"));
}

TEST_F(Deletion, MissingLibrarySaysSoAndKeepsTheList) {
  SixFiles();
  win.purgix.available = false;
  list.SetSelection({0});
  DeleteSel(ctx, list, true);
  DeleteAll(ctx, list);
  EXPECT_EQ(list.Count(), 6);
  ASSERT_EQ(win.ui.messages.size(), 2u);
  EXPECT_EQ(win.ui.messages[0].text, kPurgixMissingText);
  EXPECT_TRUE(win.fs.Exists("T:\\d\\f0"));
}

// The commands of the main window around the two routines.
struct DeleteCommands : ::testing::Test {
  FakeWindows win;
  TUOptionsDialog optionsDialog{win.platform};
  TMainForm form{win.platform, optionsDialog};

  DeleteCommands() {
    win.fs.AddDrive('T');
    win.fs.AddFile("T:\\a.tmp", 10);
    win.fs.AddFile("T:\\b.tmp", 20);
    win.fs.WriteFile("C:\\Program Files\\Scourly\\settings.ini",
                     "[options]\r\nextn0=*.tmp\r\ntotal_extn=0\r\ntotal_chkd=1\r\n"
                     "[drives]\r\ndrive0=T:\\\r\ntotal_drives=0\r\n");
    form.pumpBudgetMs = 0;
    form.FormCreate();
    optionsDialog.FormCreate();
    form.FormShow();
    form.FindFilesTBClick();
  }
};

TEST_F(DeleteCommands, NoticeFirstThenButtonsOff) {
  form.ListBox1.SetSelection({1});
  form.ListBox1Click();
  ASSERT_TRUE(form.DeleteSelTB.enabled);
  form.Delete1Click();
  ASSERT_EQ(win.ui.messages.size(), 1u);
  EXPECT_EQ(win.ui.messages[0].text, "Some files may not be deleted if in use");
  EXPECT_EQ(win.ui.messages[0].icon, MsgIcon::kNone);
  EXPECT_FALSE(form.DeleteSelTB.enabled);
  EXPECT_EQ(win.purgix.recycleBin, (std::vector<std::string>{"T:\\b.tmp"}));
  EXPECT_EQ(form.StatusBar1.Get(2), "Total Files: 1");
  EXPECT_EQ(form.StatusBar1.Get(3), "10 B");
  EXPECT_EQ(form.TotalSizeText[0], "10 B");  // the rows that are left

  form.DeletePerTBClick();  // nothing selected: notice, nothing deleted
  EXPECT_EQ(win.ui.messages.size(), 2u);
  EXPECT_TRUE(win.fs.Exists("T:\\a.tmp"));

  form.DeleteAllTBClick();
  EXPECT_EQ(win.ui.messages.back().text, "Some files may not be deleted if in use!");
  EXPECT_FALSE(form.DeleteAllTB.enabled);
  EXPECT_FALSE(win.fs.Exists("T:\\a.tmp"));
  EXPECT_EQ(form.ListBox1.Count(), 0);
}

TEST_F(DeleteCommands, BrowserCacheTabDeletesNoFile) {
  form.ListBox1.SetSelection({0, 1});
  form.UserSelectsTab(kTabBrowserCache);
  form.Delete1Click();
  form.DeleteAllTBClick();
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_EQ(form.ListBox1.Count(), 2);
}

}  // namespace
}  // namespace scourly
