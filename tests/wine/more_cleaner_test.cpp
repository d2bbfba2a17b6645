// The Netscape and Opera cleaner with the real registry of the test prefix,
// real folders on T: and the real Purgix.dll: the paths it finds and saves,
// and what "Clear Now" moves to the Recycle Bin.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cache/more_cleaner.h"
#include "platform/win32/win32_windows.h"
#include "tests/support/box_answerer.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::ExeFolder;
using support::Exists;
using support::MakeFile;
using support::MakeFolder;
using support::ReadAll;
using support::RemoveProgramFile;
using support::ScriptedUi;
using support::SetAttributes;
using support::TestFolder;
using support::TrashedAs;
using Texts = std::vector<std::string>;

// A registry key a test makes and removes again, from the first level of
// its path that was not there. A key that is there already is never changed:
// the test then fails instead.
class OwnKey {
 public:
  OwnKey(HKEY root, const std::string& path) : root_(root), path_(Widen(path)) {
    for (size_t end = 0; end != std::wstring::npos && made_.empty();) {
      end = path_.find(L'\\', end + 1);
      const std::wstring level = path_.substr(0, end);
      HKEY key;
      if (RegOpenKeyExW(root_, level.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        made_ = level;
      else
        RegCloseKey(key);
    }
  }
  ~OwnKey() {
    if (made_.empty()) return;
    RegDeleteTreeW(root_, made_.c_str());
    RegDeleteKeyW(root_, made_.c_str());
  }
  OwnKey(const OwnKey&) = delete;
  OwnKey& operator=(const OwnKey&) = delete;

  bool Ours() const { return !made_.empty(); }
  void Set(const std::string& name, const std::string& text) {
    const std::wstring data = Widen(text);
    ASSERT_EQ(RegSetKeyValueW(root_, path_.c_str(), Widen(name).c_str(), REG_SZ, data.c_str(),
                              static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  // The text of a REG_SZ value, "<missing>" when there is none.
  std::string Text(const std::string& name) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root_, path_.c_str(), Widen(name).c_str(), RRF_RT_REG_SZ, nullptr, data,
                     &bytes) != ERROR_SUCCESS)
      return "<missing>";
    return Narrow(data);
  }

 private:
  HKEY root_;
  std::wstring path_;
  std::wstring made_;  // the first level that was missing
};

class MoreCleanerOnWindows : public testing::Test {
 protected:
  void SetUp() override {
    RemoveProgramFile("FList.txt");
    ASSERT_TRUE(saved.Ours() && biff.Ours() && netscapeMain.Ours() && opera.Ours())
        << "the test prefix already holds a key these tests would change";
  }
  void TearDown() override { RemoveProgramFile("FList.txt"); }

  Texts Edits() {
    return {more.NProfile.text, more.NCacheDir.text, more.OProgramDir.text, more.OCacheDir.text};
  }
  Texts Boxes() {
    Texts texts;
    for (const auto& box : ui.boxes) texts.push_back(box.text);
    return texts;
  }

  OwnKey saved{HKEY_LOCAL_MACHINE, "Software\\SW1\\Caches"};
  OwnKey biff{HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\biff"};
  OwnKey netscapeMain{HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main"};
  OwnKey opera{HKEY_CURRENT_USER, "Software\\Opera Software"};

  support::ScriptedWindows real;
  ScriptedUi& ui = real.ui;
  Platform& platform = real.platform;
  bool StopFlag = false;
  ToolButton FindFilesTB;
  TNetscapeOperaCleaner more{platform, StopFlag, FindFilesTB};
};

TEST_F(MoreCleanerOnWindows, TheBrowsersKeysGiveThePathsUntilPathsAreSaved) {
  biff.Set("CurrentUser", "default");
  netscapeMain.Set("Install Directory", "C:\\Program Files\\Netscape\\Communicator");
  opera.Set("Last Directory", "C:\\Program Files\\Opera");
  more.TabSheet7Show();
  EXPECT_FALSE(FindFilesTB.enabled);
  EXPECT_EQ(Edits(), (Texts{"C:\\Program Files\\Netscape\\Users\\default",
                            "C:\\Program Files\\Netscape\\Users\\default\\Cache",
                            "C:\\Program Files\\Opera", "C:\\Program Files\\Opera\\Cache4"}));

  more.NProfile.text = "T:\\Grüße\\日本";
  more.OCacheDir.text = "";
  more.SaveBtnClick();
  EXPECT_EQ(Boxes(), Texts{kPathsSavedText});
  EXPECT_EQ(saved.Text("NProfile"), "T:\\Grüße\\日本");
  EXPECT_EQ(saved.Text("NCacheDir"), "C:\\Program Files\\Netscape\\Users\\default\\Cache");
  EXPECT_EQ(saved.Text("OCacheDir"), "");

  // From now on the saved key wins, whatever the browsers say.
  opera.Set("Last Directory", "C:\\Elsewhere");
  more.OProgramDir.text = "typed, not saved";
  more.TabSheet7Show();
  EXPECT_EQ(Edits(), (Texts{"T:\\Grüße\\日本", "C:\\Program Files\\Netscape\\Users\\default\\Cache",
                            "C:\\Program Files\\Opera", ""}));
}

TEST_F(MoreCleanerOnWindows, ClearNowMovesExactlyThePresentTargetsToTheRecycleBin) {
  TestFolder dir("more");
  const std::string profile = dir / "Users", opera = dir / "Opera";
  // "Cache2" starts like the cache folder's name; there is no autopera.win.
  for (const char* folder :
       {"Users", "Users\\Cache", "Users\\Cache\\sub", "Users\\Cache2", "Opera", "Opera\\Cache4"})
    MakeFolder(dir / folder);
  for (const char* file :
       {"Users\\Cache\\index.db", "Users\\Cache\\sub\\M1.gif", "Users\\Cache2\\keep.db",
        "Users\\cookies.txt", "Users\\netscape.hst", "Users\\prefs.js",
        "Opera\\Cache4\\opr0001.tmp", "Opera\\cookies4.dat", "Opera\\opera.win",
        "Opera\\global.dat", "Opera\\opera.ini", "outside.txt"})
    MakeFile(dir / file, file);

  more.NProfile.text = profile;
  more.NCacheDir.text = profile + "\\Cache";
  more.OProgramDir.text = opera;
  more.OCacheDir.text = opera + "\\Cache4";
  for (CheckBox* box :
       {&more.NCache, &more.NCookies, &more.NHistory, &more.OCache, &more.OCookies, &more.OHistory})
    box->checked = true;
  ASSERT_TRUE(real.windows.purgix.Available());
  more.ClearBtnClick();

  const Texts targets = {profile + "\\Cache",        profile + "\\cookies.txt",
                         profile + "\\netscape.hst", opera + "\\Cache4",
                         opera + "\\cookies4.dat",   opera + "\\opera.win",
                         opera + "\\global.dat"};
  std::string list;
  for (const std::string& target : targets) list += target + "\r\n";
  EXPECT_EQ(ReadAll(ExeFolder() + "FList.txt"), list);
  EXPECT_EQ(Boxes(), Texts{kCleanedText});
  EXPECT_FALSE(ui.hourglass);
  for (const std::string& target : targets) {
    EXPECT_FALSE(Exists(target)) << target;
    EXPECT_NE(TrashedAs(target), "") << target << " is not in the Recycle Bin";
  }
  // The cache folders went whole.
  const std::string cache = TrashedAs(profile + "\\Cache");
  EXPECT_EQ(ReadAll(cache + "\\sub\\M1.gif"), "Users\\Cache\\sub\\M1.gif");
  EXPECT_EQ(ReadAll(TrashedAs(opera + "\\Cache4") + "\\opr0001.tmp"), "Opera\\Cache4\\opr0001.tmp");
  for (const std::string& kept : {profile + "\\Cache2\\keep.db", profile + "\\prefs.js",
                                  opera + "\\opera.ini", dir / "outside.txt"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_EQ(TrashedAs(kept), "") << kept;
  }
}

TEST_F(MoreCleanerOnWindows, ACacheFolderThatIsAUnixLinkIsNotFollowed) {
  TestFolder dir("more-link");
  MakeFolder(dir / "elsewhere");
  MakeFile(dir / "elsewhere" + "\\precious.doc", "precious");
  MakeFolder(dir / "Users");
  ASSERT_TRUE(support::MakeUnixLink(dir / "Users" + "\\Cache", dir / "elsewhere"));
  MakeFolder(dir / "Opera");
  MakeFolder(dir / "Opera" + "\\Cache4");
  MakeFile(dir / "Opera" + "\\Cache4\\opr0001.tmp", "cached");
  SetAttributes(dir / "Opera" + "\\Cache4", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

  more.NCacheDir.text = dir / "Users" + "\\Cache";
  more.OCacheDir.text = dir / "Opera" + "\\Cache4";
  more.NCache.checked = more.OCache.checked = true;
  more.ClearBtnClick();

  EXPECT_EQ(ReadAll(ExeFolder() + "FList.txt"), "");
  EXPECT_EQ(ReadAll(dir / "elsewhere" + "\\precious.doc"), "precious");
  EXPECT_TRUE(Exists(dir / "Users" + "\\Cache"));
  EXPECT_EQ(ReadAll(dir / "Opera" + "\\Cache4\\opr0001.tmp"), "cached") << "hidden: not chosen";
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "No file has been cleaned. These were left on disk:\r\n\r\n" +
                            dir / "Users" + "\\Cache (a link, which Scourly does not follow)");
}

// A cache path that is a folder of the system (here the profile, the
// Windows and Favorites folders and a folder holding the AppData folder,
// where the system says they are) is refused and named
// with its reason; the rest of Clear Now goes on. (The prefix's Documents,
// Desktop and the like are Unix links to the home folder: refused as links.) Both cache edits naming one folder, once by its short 8.3 path,
// hand it over once.
TEST_F(MoreCleanerOnWindows, FoldersThatCannotBeABrowsersCacheAreRefused) {
  Win32Shell shell;
  const std::string profile =
      shell.KnownFolderPath(KnownFolder::kProfile, FolderOwner::kCurrentUser).value_or("");
  const std::string favorites =
      shell.KnownFolderPath(KnownFolder::kFavorites, FolderOwner::kCurrentUser).value_or("");
  const std::string roaming =
      shell.KnownFolderPath(KnownFolder::kRoamingAppData, FolderOwner::kCurrentUser).value_or("");
  ASSERT_TRUE(Exists(profile)) << profile;
  ASSERT_TRUE(Exists(favorites)) << favorites;
  ASSERT_TRUE(Exists(roaming)) << roaming;
  struct Case {
    std::string cacheDir;
    std::string reason;
  };
  const Case cases[] = {
      {profile, "a user's profile folder"},
      {shell.KnownFolderPath(KnownFolder::kWindows, FolderOwner::kCurrentUser).value_or(""),
       "the Windows folder"},
      {favorites, "a profile's Favorites folder"},
      {profile + "\\AppData", "holds " + roaming + ", a profile's AppData folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cacheDir);
    TestFolder dir("more-refused");
    MakeFolder(dir / "Cache4");
    MakeFile(dir / "Cache4" + "\\opr0001.tmp", "cached");
    ui.boxes.clear();
    more.NCacheDir.text = c.cacheDir;
    more.OCacheDir.text = dir / "Cache4";
    more.NCache.checked = more.OCache.checked = true;
    more.ClearBtnClick();
    EXPECT_EQ(ReadAll(ExeFolder() + "FList.txt"), dir / "Cache4" + "\r\n");
    EXPECT_TRUE(Exists(c.cacheDir));
    EXPECT_EQ(TrashedAs(c.cacheDir), "");
    EXPECT_EQ(ReadAll(TrashedAs(dir / "Cache4") + "\\opr0001.tmp"), "cached") << "the rest goes on";
    EXPECT_EQ(Boxes(), Texts{"Files have been cleaned, except these, which were left on disk:\r\n\r\n" +
                             c.cacheDir + " (" + c.reason + ", which cannot be a browser's cache)"});
  }

  TestFolder dir("more-twice");
  MakeFolder(dir / "Netscape Cache");
  MakeFile(dir / "Netscape Cache" + "\\index.db", "index");
  wchar_t shortPath[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(Widen(dir / "Netscape Cache").c_str(), shortPath, MAX_PATH), 0u);
  ui.boxes.clear();
  more.NCacheDir.text = dir / "Netscape Cache";
  more.OCacheDir.text = Narrow(shortPath);
  support::BoxAnswerer user(IDNO, 3000);
  more.ClearBtnClick();
  user.Wait();
  EXPECT_FALSE(user.answered) << "the shell asked: " << Narrow(user.text);
  EXPECT_EQ(ReadAll(ExeFolder() + "FList.txt"),
            dir / "Netscape Cache" + "\r\n" + Narrow(shortPath) + "\r\n");
  EXPECT_EQ(ReadAll(TrashedAs(dir / "Netscape Cache") + "\\index.db"), "index");
  EXPECT_EQ(Boxes(), Texts{kCleanedText});
}

}  // namespace
}  // namespace scourly
