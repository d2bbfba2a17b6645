// The "Web Browsers" sub-tab against the in-memory Windows: which profiles
// are found, which of their files each box lists and in what order, the
// running-browser rule, the boxes in settings.ini, and the page behaving as a
// file tab.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form.h"
#include "lists/app_error.h"
#include "lists/column_sort.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeWindows;
using Texts = std::vector<std::string>;

constexpr const char* kLocal = "C:\\Users\\ann\\AppData\\Local";
constexpr const char* kRoaming = "C:\\Users\\ann\\AppData\\Roaming";
const std::string kChrome = std::string(kLocal) + "\\Google\\Chrome\\User Data";
const std::string kEdge = std::string(kLocal) + "\\Microsoft\\Edge\\User Data";
const std::string kOpera = std::string(kRoaming) + "\\Opera Software\\Opera Stable";
const std::string kOperaLocal = std::string(kLocal) + "\\Opera Software\\Opera Stable";
const std::string kFirefox = std::string(kRoaming) + "\\Mozilla\\Firefox";
const std::string kFirefoxLocal = std::string(kLocal) + "\\Mozilla\\Firefox";

enum Kind { kCache = 1, kCookies = 2, kHistory = 4, kNever = 8 };

// A file of the machine and which box lists it (kNever: none).
struct Planted {
  std::string path;
  int kind;
};

// The machine every test starts from; `planted` in the order the scan must
// list them (with every box on).
const std::vector<Planted>& Machine() {
  static const std::vector<Planted> files = {
      // Google Chrome, profiles "Default", "Profile 10", "Profile 2" (code-point order).
      {kChrome + "\\Default\\Cache\\Cache_Data\\f_000001", kCache},
      {kChrome + "\\Default\\Cache\\Cache_Data\\index", kCache},
      {kChrome + "\\Default\\Code Cache\\js\\index-dir\\the-real-index", kCache},
      {kChrome + "\\Default\\GPUCache\\data_0", kCache},
      {kChrome + "\\Default\\Network\\Cookies", kCookies},
      {kChrome + "\\Default\\Network\\Cookies-journal", kCookies},
      {kChrome + "\\Default\\Cookies", kCookies},
      {kChrome + "\\Default\\History", kHistory},
      {kChrome + "\\Default\\History-journal", kHistory},
      {kChrome + "\\Default\\Visited Links", kHistory},
      {kChrome + "\\Default\\Top Sites", kHistory},
      {kChrome + "\\Profile 10\\Cache\\Cache_Data\\f_00000a", kCache},
      {kChrome + "\\Profile 2\\Network\\Cookies", kCookies},
      // Microsoft Edge: "Default" comes before every other name.
      {kEdge + "\\Default\\GPUCache\\data_1", kCache},
      {kEdge + "\\Admin\\GPUCache\\data_2", kCache},
      // Opera: the profile in the roaming folder, its cache in the local one.
      {kOperaLocal + "\\Cache\\Cache_Data\\o_1", kCache},
      {kOpera + "\\Network\\Cookies", kCookies},
      {kOpera + "\\History", kHistory},
      // Mozilla Firefox: "abc.default" (relative) then "work" (absolute).
      {kFirefoxLocal + "\\Profiles\\abc.default\\cache2\\entries\\E1", kCache},
      {kFirefoxLocal + "\\Profiles\\abc.default\\startupCache\\s.bin", kCache},
      {kFirefoxLocal + "\\Profiles\\abc.default\\thumbnails\\t.png", kCache},
      {kFirefox + "\\Profiles\\abc.default\\cookies.sqlite", kCookies},
      {kFirefox + "\\Profiles\\abc.default\\cookies.sqlite-wal", kCookies},
      {"D:\\FF\\work\\cache2\\entries\\E2", kCache},
      {"D:\\FF\\work\\cookies.sqlite", kCookies},
      // Never listed: the user's own data, folders without "Preferences",
      // what a link or an unsafe profile path leads to.
      {kChrome + "\\Local State", kNever},
      {kChrome + "\\Default\\Bookmarks", kNever},
      {kChrome + "\\Default\\Login Data", kNever},
      {kChrome + "\\Default\\Web Data", kNever},
      {kChrome + "\\Default\\Extensions\\abc\\1.0\\main.js", kNever},
      {kChrome + "\\Default\\Cache-old\\x", kNever},
      {kChrome + "\\System Profile\\Cache\\Cache_Data\\sys", kNever},
      {kChrome + "\\Crashpad\\Cookies", kNever},
      {kFirefox + "\\Profiles\\abc.default\\places.sqlite", kNever},
      {kFirefox + "\\Profiles\\abc.default\\logins.json", kNever},
      {kFirefox + "\\Profiles\\abc.default\\key4.db", kNever},
      {kFirefox + "\\Profiles\\abc.default\\prefs.js", kNever},
      {"C:\\Users\\ann\\Documents\\letter.doc", kNever},
      {"C:\\Users\\ann\\evil\\cookies.sqlite", kNever},
  };
  return files;
}

struct WebBrowsers : ::testing::Test {
  FakeWindows win;
  TUOptionsDialog optionsDialog{win.platform};
  TMainForm form{win.platform, optionsDialog};

  WebBrowsers() {
    win.shell.specialFolders[kCsidlLocalAppData] = kLocal;
    win.shell.specialFolders[kCsidlAppData] = kRoaming;
    for (const Planted& file : Machine()) win.fs.AddFile(file.path, file.path.size());
    for (const std::string& profile :
         {kChrome + "\\Default", kChrome + "\\Profile 2", kChrome + "\\Profile 10",
          kEdge + "\\Default", kEdge + "\\Admin", kOpera})
      win.fs.AddFile(profile + "\\Preferences", 10);
    // Profiles.ini as Firefox writes it, with a profile named twice and one
    // whose relative path would climb out of the Firefox folder.
    win.fs.WriteFile(kFirefox + "\\profiles.ini",
                     "[General]\r\nStartWithLastProfile=1\r\n\r\n"
                     "[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=D:\\FF\\work\r\n\r\n"
                     "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/abc.default\r\n"
                     "[Profile2]\r\nIsRelative=1\r\nPath=../../../../evil\r\n"
                     "[Profile3]\r\nIsRelative=1\r\nPath=Profiles/abc.default/\r\n"
                     "[Install308046B0AF4A39CB]\r\nDefault=Profiles/abc.default\r\n");
    // Links inside a cache folder: a junction to the documents, and a folder
    // link the platform shows as a plain folder.
    win.fs.AddJunction(kChrome + "\\Default\\Cache\\Cache_Data\\docs", "C:\\Users\\ann\\Documents");
    win.fs.AddFolder(kChrome + "\\Default\\GPUCache\\linked").symlink = true;
    win.fs.AddFile(kChrome + "\\Default\\GPUCache\\linked\\behind-link", 5);
    form.pumpBudgetMs = 0;
    form.FormCreate();
    form.FormShow();
    form.UserSelectsTab(kTabBrowserCache);
    form.UserSelectsSubTab(kSubTabWebBrowsers);
  }

  void Boxes(bool cache, bool cookies, bool history) {
    form.WebBrowsers().WCache.checked = cache;
    form.WebBrowsers().WCookies.checked = cookies;
    form.WebBrowsers().WHistory.checked = history;
  }
  Texts Listed() {
    Texts paths;
    for (const ResultRow& row : form.ListBox6.Rows()) paths.push_back(row.FullPath());
    return paths;
  }
  static Texts Expected(int kinds) {
    Texts paths;
    for (const Planted& file : Machine()) {
      if (file.kind & kinds) paths.push_back(file.path);
    }
    return paths;
  }
  std::string Settings() { return win.fs.Content("C:\\Program Files\\Scourly\\settings.ini"); }
};

TEST_F(WebBrowsers, EachBoxListsItsFilesInBrowserProfileCategoryOrder) {
  struct Case {
    bool cache, cookies, history;
    int kinds;
  };
  for (const Case& c : {Case{true, false, false, kCache}, Case{false, true, false, kCookies},
                        Case{false, false, true, kHistory}, Case{false, false, false, 0},
                        Case{true, true, true, kCache | kCookies | kHistory}}) {
    SCOPED_TRACE(c.kinds);
    Boxes(c.cache, c.cookies, c.history);
    form.FindFilesTBClick();
    EXPECT_EQ(Listed(), Expected(c.kinds));
  }
  EXPECT_TRUE(win.ui.messages.empty());
  // A row is a file tab's row: name, folder, size, date; the totals follow.
  const ResultRow& first = form.ListBox6[0];
  EXPECT_EQ(first.Text(), "f_000001;" + kChrome + "\\Default\\Cache\\Cache_Data\\;" +
                              std::to_string(first.FullPath().size()) + ";15.03.2024");
  EXPECT_EQ(form.StatusBar1.Get(2), "Total Files: " + std::to_string(Expected(7).size()));
  EXPECT_EQ(form.StatusBar1.Get(3), SizeText(form.ListBox6.TotalBytes()));
}

TEST_F(WebBrowsers, MissingFoldersAndProfilesIniListNothingOfThem) {
  Boxes(true, true, true);
  win.fs.Take(kFirefox + "\\profiles.ini");
  win.shell.specialFolders.erase(kCsidlLocalAppData);
  form.FindFilesTBClick();
  // Without the local folder: no Chromium "User Data", no cache of Opera;
  // without profiles.ini: no Firefox.
  EXPECT_EQ(Listed(), (Texts{kOpera + "\\Network\\Cookies", kOpera + "\\History"}));
}

TEST_F(WebBrowsers, FirefoxProfilesIniGivesOnlySafeProfilePaths) {
  struct Case {
    std::string ini;
    std::vector<FirefoxProfileEntry> expected;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF[Profile0]\nPath=Profiles/a.b\nIsRelative=1\n", {{"Profiles\\a.b", true}}},
      {"[profile7]\r\n IsRelative = 0 \r\nPath=E:\\p\\q\\\r\n", {{"E:\\p\\q", false}}},
      {"[Profile0]\r\nPath=\\\\srv\\share\\ff\r\n", {{"\\\\srv\\share\\ff", false}}},
      // Not a profile section, no path, unsafe or unqualified paths.
      {"[ProfileX]\r\nPath=a\r\nIsRelative=1\r\n[Profile1]\r\nIsRelative=1\r\n", {}},
      {"[Profile0]\r\nPath=a/../../b\r\nIsRelative=1\r\n", {}},
      {"[Profile0]\r\nPath=C:\\x\r\nIsRelative=1\r\n", {}},
      {"[Profile0]\r\nPath=relative\\only\r\n", {}},
      {"[Profile0]\r\nPath=C:\\\r\nIsRelative=0\r\n", {}},
      {"[Profile0]\r\nPath=\\\\srv\\share\r\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    std::vector<FirefoxProfileEntry> got = ParseFirefoxProfiles(c.ini);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].path, c.expected[i].path);
      EXPECT_EQ(got[i].relative, c.expected[i].relative);
    }
  }
}

TEST_F(WebBrowsers, RunningBrowsersAreLeftOutAndNamedInOneMessage) {
  Boxes(true, true, true);
  // A lock file nobody holds (a browser that crashed) says nothing.
  win.fs.AddFile(kEdge + "\\lockfile", 0);
  win.fs.AddFile(kChrome + "\\lockfile", 0).locked = true;
  win.fs.AddFile(kFirefox + "\\Profiles\\abc.default\\parent.lock", 0).locked = true;
  form.FindFilesTBClick();
  Texts expected;
  for (const std::string& path : Expected(7)) {
    if (path.rfind(kChrome, 0) != 0 && path.rfind(kFirefox, 0) != 0 &&
        path.rfind(kFirefoxLocal, 0) != 0 && path.rfind("D:\\FF", 0) != 0)
      expected.push_back(path);
  }
  EXPECT_EQ(Listed(), expected);
  ASSERT_EQ(win.ui.messages.size(), 1u);
  EXPECT_EQ(win.ui.messages[0].text,
            "Google Chrome and Mozilla Firefox are running, so none of their files were "
            "listed.\r\nPlease close them and scan again.");
}

TEST_F(WebBrowsers, BoxesAreWrittenOnlyWhenChangedAndReadAtStart) {
  optionsDialog.FormCreate();  // the first start writes the options file
  const std::string firstStart = Settings();
  EXPECT_EQ(firstStart.find("[browsers]"), std::string::npos);
  EXPECT_TRUE(form.WebBrowsers().WCache.checked);
  EXPECT_FALSE(form.WebBrowsers().WCookies.checked);
  EXPECT_FALSE(form.WebBrowsers().WHistory.checked);

  form.WebBrowsers().WCookies.checked = true;
  form.WCookiesClick();
  form.WebBrowsers().WCache.checked = false;
  form.WCacheClick();
  EXPECT_EQ(Settings(), firstStart + "[browsers]\r\nCookies=1\r\nCache=0\r\n");
  optionsDialog.OKBtnClick();  // the options keep the section
  EXPECT_NE(Settings().find("[browsers]\r\nCookies=1\r\nCache=0\r\n"), std::string::npos);

  TMainForm next(win.platform, optionsDialog);
  next.FormCreate();
  EXPECT_FALSE(next.WebBrowsers().WCache.checked);
  EXPECT_TRUE(next.WebBrowsers().WCookies.checked);
  EXPECT_FALSE(next.WebBrowsers().WHistory.checked);

  win.fs.failReplace = true;
  form.WebBrowsers().WHistory.checked = true;
  EXPECT_THROW(
      {
        try {
          form.WHistoryClick();
        } catch (const AppError& e) {
          EXPECT_EQ(std::string(e.what()),
                    "Unable to write to C:\\Program Files\\Scourly\\settings.ini");
          throw;
        }
      },
      AppError);
}

TEST_F(WebBrowsers, SubTabWorksAsAFileTabAndHandsBackTheCacheTabsCommands) {
  EXPECT_TRUE(form.Open1.enabled);
  EXPECT_TRUE(form.Delete1.enabled);
  EXPECT_TRUE(form.FindFilesTB.enabled);
  EXPECT_EQ(form.DeleteAllTB.hint, "Delete All files to the Recycle Bin");
  EXPECT_EQ(form.DeletePermanently1.caption, "Delete Selected file Permanently");

  form.FindFilesTBClick();
  ASSERT_EQ(Listed(), Expected(kCache));
  form.ListBox6HeaderSectionClick(kSectionSize);
  EXPECT_EQ(form.ListBox6[0].FullPath(), "D:\\FF\\work\\cache2\\entries\\E2");
  form.ListBox6.itemIndex = 0;
  form.OpenTBClick();
  ASSERT_EQ(win.shell.opened.size(), 1u);
  EXPECT_EQ(win.shell.opened[0].target, "D:\\FF\\work\\cache2\\entries\\E2");

  // Delete Selected to the Recycle Bin is the file tabs' deletion: exactly
  // the listed files go.
  form.InvertSelTBClick();
  form.Delete1Click();
  EXPECT_EQ(Listed(), Texts{});
  Texts recycled = win.purgix.recycleBin, expected = Expected(kCache);
  std::sort(recycled.begin(), recycled.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(recycled, expected);

  // Clear empties this list and nothing else.
  Boxes(false, true, false);
  form.FindFilesTBClick();
  ASSERT_EQ(Listed(), Expected(kCookies));
  form.ClearTBClick();
  EXPECT_EQ(form.ListBox6.Count(), 0);
  EXPECT_FALSE(form.DeleteAllTB.enabled);
  for (const std::string& path : Expected(kCookies)) EXPECT_TRUE(win.fs.Exists(path)) << path;

  // Back on "IE Cache": the cache tab's permanent deletions and no Open.
  form.UserSelectsSubTab(kSubTabIECache);
  EXPECT_FALSE(form.Open1.enabled);
  EXPECT_EQ(form.DeleteAllTB.hint, "Delete All files Permanently");
  EXPECT_EQ(form.DeletePermanently1.caption, "Delete Selected files Permanently");
}

}  // namespace
}  // namespace scourly
