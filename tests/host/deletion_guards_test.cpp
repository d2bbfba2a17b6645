// The rules every deletion run applies before an item goes: which paths the
// shell takes as they stand, and which folders are never handed over whole.
#include <gtest/gtest.h>

#include "delete/protected_folders.h"
#include "delete/shell_path.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using Texts = std::vector<std::string>;
using shellpath::Verdict;

TEST(ShellPath, OnlyPathsTheParseLeavesAloneAreTaken) {
  struct Case {
    std::u16string path;
    Verdict verdict;
  };
  const Case cases[] = {
      {u"C:\\a\\b.tmp", Verdict::kTakes},
      {u"\\\\server\\share\\x", Verdict::kTakes},
      {u"C:\\with space\\a b", Verdict::kTakes},
      {u"C:\\...\\x", Verdict::kNotTaken},         // a part of dots only ends in a dot
      {u"C:\\a\\zero ", Verdict::kNotTaken},       // read as "zero"
      {u"C:\\a\\dot.", Verdict::kNotTaken},        // read as "dot"
      {u"C:\\dir.\\x", Verdict::kNotTaken},        // read as "dir\x"
      {u"C:\\dir \\x", Verdict::kNotTaken},
      {u"C:\\a\\nul.txt", Verdict::kNotTaken},     // read as the device
      {u"C:\\a\\Con", Verdict::kNotTaken},
      {u"C:\\a\\lpt9.log", Verdict::kNotTaken},
      {u"C:\\a\\com\u00b9", Verdict::kNotTaken},
      {u"C:\\a\\aux .c", Verdict::kNotTaken},
      {u"C:\\nul\\x", Verdict::kTakes},            // only the last name becomes a device
      {u"C:\\a\\console", Verdict::kTakes},
      {u"C:\\a\\com10", Verdict::kTakes},
      {u"C:\\a\\*.tmp", Verdict::kNotTaken},
      {u"C:\\a\\?", Verdict::kNotTaken},
      {u"C:\\a\\b:stream", Verdict::kNotTaken},
      {u"C:\\a/b", Verdict::kNotTaken},
      {u"C:\\a\\\\b", Verdict::kNotTaken},
      {u"C:\\a\\..\\b", Verdict::kNotTaken},
      {u"C:\\", Verdict::kNotTaken},
      {u"relative\\x", Verdict::kNotTaken},
      {u"C:x", Verdict::kNotTaken},
      {u"\\\\?\\C:\\x", Verdict::kNotTaken},
      {u"\\\\.\\C:\\x", Verdict::kNotTaken},
      {u"\\\\server\\share", Verdict::kNotTaken},
      {u"C:\\" + std::u16string(257, u'x'), Verdict::kTooLong},  // 260 units
      {u"C:\\" + std::u16string(256, u'x'), Verdict::kTakes},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shellpath::Judge(c.path), c.verdict)
        << std::string(c.path.begin(), c.path.begin() + std::min<size_t>(c.path.size(), 40));
  }
}

// A machine with the usual layout: the current user "me", the default
// profile, the shared one and another user "bob".
struct Machine {
  fake::FakeWindows win;
  Machine() {
    win.fs.AddFolder("C:\\WINDOWS");
    win.fs.AddFolder("C:\\Program Files (x86)");
    win.shell.knownFolders[{KnownFolder::kWindows, FolderOwner::kCurrentUser}] = "C:\\WINDOWS";
    win.shell.knownFolders[{KnownFolder::kProgramFiles, FolderOwner::kCurrentUser}] =
        "C:\\Program Files";
    win.shell.knownFolders[{KnownFolder::kProgramFilesX86, FolderOwner::kCurrentUser}] =
        "C:\\Program Files (x86)";
    win.shell.AddUsers(win.fs, "C:\\Users", "me", {"bob"});
  }
};

TEST(SystemFolders, OtherProfilesKnownFoldersLieWhereTheSystemsLayoutPutsThem) {
  Machine m;
  // The current user keeps Documents elsewhere; the default profile says
  // where other users keep theirs.
  m.win.shell.knownFolders[{KnownFolder::kDocuments, FolderOwner::kCurrentUser}] = "D:\\Docs\\";
  m.win.shell.knownFolders[{KnownFolder::kVideos, FolderOwner::kDefaultUser}] =
      "C:\\Users\\Default\\Media\\Videos";
  std::vector<SystemFolder> folders = SystemFolders(m.win.shell);
  auto whatOf = [&](const std::string& path) {
    for (const SystemFolder& f : folders) {
      if (f.path == path) return f.what;
    }
    return std::string("<not listed>");
  };
  EXPECT_EQ(whatOf("C:\\WINDOWS"), "the Windows folder");
  EXPECT_EQ(whatOf("C:\\Program Files (x86)"), "a Program Files folder");
  EXPECT_EQ(whatOf("C:\\Users"), "the Users folder");
  EXPECT_EQ(whatOf("C:\\Users\\bob"), "a user's profile folder");
  EXPECT_EQ(whatOf("C:\\Users\\Public"), "a user's profile folder");
  EXPECT_EQ(whatOf("D:\\Docs"), "a profile's Documents folder");
  EXPECT_EQ(whatOf("C:\\Users\\bob\\Documents"), "a profile's Documents folder");
  EXPECT_EQ(whatOf("C:\\Users\\bob\\Media\\Videos"), "a profile's Videos folder");
  EXPECT_EQ(whatOf("C:\\Users\\bob\\Videos"), "a profile's Videos folder");
  EXPECT_EQ(whatOf("C:\\Users\\Public\\AppData\\Local"), "a profile's Local AppData folder");
  EXPECT_EQ(whatOf("C:\\Users\\me\\AppData\\Roaming"), "a profile's AppData folder");
  EXPECT_EQ(whatOf("C:\\Program Files"), "a Program Files folder");
  size_t users = 0;
  for (const SystemFolder& f : folders) users += f.path == "C:\\Users";
  EXPECT_EQ(users, 1u) << "each folder once";
}

TEST(FolderGuard, RefusesTheSystemsFoldersAndWhatHoldsThemByWhatTheyAre) {
  Machine m;
  m.win.fs.AddDrive('D');
  m.win.fs.Find("C:\\Users\\bob")->shortName = "BOB~1";
  m.win.fs.AddFolder("C:\\Users\\me\\AppData\\Local\\Opera\\Cache4");
  m.win.fs.AddFolder("C:\\Users\\me\\Documents\\Netscape Cache");
  m.win.fs.AddFolder("D:\\Netscape\\Users\\default\\Cache");
  m.win.fs.AddFolder("C:\\Users\\me2");
  struct Case {
    const char* path;
    const char* refusal;  // nullptr: may go
  };
  const Case cases[] = {
      {"C:\\", "a drive root"},
      {"D:", "a drive root"},
      {"C:\\WINDOWS", "the Windows folder"},
      {"c:\\windows", "the Windows folder"},
      {"C:\\Program Files", "a Program Files folder"},
      {"C:\\Users", "the Users folder"},
      {"C:\\Users\\me", "a user's profile folder"},
      {"C:\\Users\\BOB~1", "a user's profile folder"},
      {"C:\\Users\\Default", "a user's profile folder"},
      {"C:\\Users\\bob\\Favorites", "a profile's Favorites folder"},
      {"C:\\Users\\me\\AppData", "holds C:\\Users\\me\\AppData\\Roaming, a profile's AppData folder"},
      {"C:\\Users\\me\\AppData\\Local", "a profile's Local AppData folder"},
      {"C:\\Users\\me\\AppData\\Local\\Opera\\Cache4", nullptr},
      {"C:\\Users\\me\\Documents\\Netscape Cache", nullptr},
      {"D:\\Netscape\\Users\\default\\Cache", nullptr},
      {"C:\\Users\\me2", nullptr},  // a name that only begins like a profile's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::unique_ptr<ItemOpener> opener = m.win.fs.NewItemOpener();
    FolderGuard guard(m.win.shell, *opener);
    uint32_t error = 0;
    std::unique_ptr<OpenedItem> item = opener->Open(c.path, false, error);
    ASSERT_TRUE(item);
    ItemStat stat;
    ASSERT_TRUE(item->Stat(stat));
    std::optional<std::string> refusal = guard.Refusal(c.path, stat);
    EXPECT_EQ(refusal.value_or("<may go>"), c.refusal ? c.refusal : "<may go>");
  }
}

}  // namespace
}  // namespace scourly
