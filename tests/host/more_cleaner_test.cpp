// The Netscape and Opera cleaner ("More" sub-tab) against the in-memory
// Windows: which paths the sheet shows, what "Clear Now" hands to the
// deletion library and what it tells the user, saving the paths and the
// browse buttons.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cache/more_cleaner.h"
#include "delete/deletion.h"
#include "lists/app_error.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using Texts = std::vector<std::string>;
constexpr RegistryRoot kHklm = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;

const std::string kProfile = "C:\\Netscape\\Users\\default";
const std::string kNCache = kProfile + "\\Cache";
const std::string kOpera = "C:\\Opera";
const std::string kOCache = kOpera + "\\Cache4";
const std::string kFList = "C:\\Program Files\\Scourly\\FList.txt";

// Every target of the six boxes, in the order of the boxes.
const Texts kAllTargets = {kNCache,
                           kProfile + "\\cookies.txt",
                           kProfile + "\\netscape.hst",
                           kOCache,
                           kOpera + "\\cookies4.dat",
                           kOpera + "\\opera.win",
                           kOpera + "\\autopera.win",
                           kOpera + "\\global.dat"};

// A machine with both browsers' files in place, the four edits filled and an
// old hand-off file beside the program.
struct Sheet {
  fake::FakeWindows win;
  bool StopFlag = false;
  ToolButton FindFilesTB;
  TNetscapeOperaCleaner more{win.platform, StopFlag, FindFilesTB};

  Sheet() {
    win.fs.AddFile(kNCache + "\\index.db", 10);
    win.fs.AddFile(kNCache + "\\M1ABC.gif", 20);
    win.fs.AddFile(kOCache + "\\opr0001.tmp", 30);
    for (size_t i : {1, 2, 4, 5, 6, 7}) win.fs.AddFile(kAllTargets[i], 5);
    win.fs.AddFile(kProfile + "\\prefs.js", 5);  // never chosen
    win.fs.AddFile(kOpera + "\\opera.ini", 5);   // never chosen
    win.fs.WriteFile(kFList, "C:\\old entry\r\n");
    more.NProfile.text = kProfile;
    more.NCacheDir.text = kNCache;
    more.OProgramDir.text = kOpera;
    more.OCacheDir.text = kOCache;
  }
  Texts Edits() {
    return {more.NProfile.text, more.NCacheDir.text, more.OProgramDir.text, more.OCacheDir.text};
  }
  void TickAll() {
    for (CheckBox* box : {&more.NCache, &more.NCookies, &more.NHistory, &more.OCache,
                          &more.OCookies, &more.OHistory})
      box->checked = true;
  }
  Texts HandOff() {
    Texts lines;
    std::string text = win.fs.Content(kFList);
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find("\r\n", at);
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }
  Texts Messages() {
    Texts texts;
    for (const auto& m : win.ui.messages) texts.push_back(m.text);
    return texts;
  }
};

TEST(MoreCleaner, ClearNowHandsOverThePresentTargetsOfTheTickedBoxes) {
  struct Case {
    const char* name;
    std::function<void(Sheet&)> setUp;
    Texts handed;
  };
  const Case cases[] = {
      {"no box ticked", [](Sheet&) {}, {}},
      {"all six ticked", [](Sheet& s) { s.TickAll(); }, kAllTargets},
      {"cookies with an empty profile edit",
       [](Sheet& s) {
         s.win.fs.AddFile("C:\\cookies.txt", 5);
         s.more.NProfile.text = "";
         s.more.NCookies.checked = s.more.NHistory.checked = true;
       },
       {}},
      {"Opera history with only global.dat",
       [](Sheet& s) {
         s.win.fs.Take(kOpera + "\\opera.win");
         s.win.fs.Take(kOpera + "\\autopera.win");
         s.more.OHistory.checked = true;
       },
       {kOpera + "\\global.dat"}},
      {"hidden and system cache folders",
       [](Sheet& s) {
         s.win.fs.Find(kNCache)->attributes |= kAttrHidden;
         s.win.fs.Find(kOCache)->attributes |= kAttrSystem;
         s.more.NCache.checked = s.more.OCache.checked = true;
       },
       {}},
      {"a typed cache path with doubled and trailing separators",
       [](Sheet& s) {
         s.more.NCacheDir.text = "C:\\Netscape\\\\Users\\default/Cache\\";
         s.more.NCache.checked = true;
       },
       {kNCache}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sheet s;
    c.setUp(s);
    s.more.ClearBtnClick();
    EXPECT_EQ(s.HandOff(), c.handed);
    EXPECT_EQ(s.win.fs.Content(kFList).find("old entry"), std::string::npos);
    EXPECT_EQ(s.win.purgix.calls, c.handed.empty() ? 0 : 1);
    EXPECT_EQ(s.win.purgix.recycleBin, c.handed);
    EXPECT_EQ(s.Messages(), c.handed.empty() ? Texts{} : Texts{kCleanedText});
    EXPECT_EQ(s.win.ui.hourglassChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(s.win.fs.Exists(kProfile + "\\prefs.js") ||
                c.handed == Texts{kProfile + "\\prefs.js"});
    EXPECT_TRUE(s.win.fs.Exists(kOpera + "\\opera.ini"));
  }
}

TEST(MoreCleaner, AStaleStopDeletesAndShowsNothing) {
  Sheet s;
  s.TickAll();
  s.more.NProfile.text = "relative\\profile";  // would otherwise be reported
  s.StopFlag = true;
  s.more.ClearBtnClick();
  EXPECT_EQ(s.HandOff(), Texts{});
  EXPECT_EQ(s.win.purgix.calls, 0);
  EXPECT_EQ(s.Messages(), Texts{});
  for (size_t i : {0, 3, 4, 7}) EXPECT_TRUE(s.win.fs.Exists(kAllTargets[i])) << kAllTargets[i];
}

TEST(MoreCleaner, LinksAreNeverHandedOverAndTheUserIsToldWhich) {
  // The Netscape cache folder is a junction; the Opera folder is reached
  // through one, so its cookie file is not handed over either.
  Sheet s;
  s.win.fs.Take(kNCache);
  s.win.fs.AddFile("C:\\Elsewhere\\precious.doc", 100);
  s.win.fs.AddJunction(kNCache, "C:\\Elsewhere");
  s.win.fs.AddFile("C:\\Real\\Opera\\cookies4.dat", 5);
  s.win.fs.AddJunction("C:\\Linked", "C:\\Real");
  s.more.OProgramDir.text = "C:\\Linked\\Opera";
  s.more.NCache.checked = s.more.NHistory.checked = s.more.OCookies.checked = true;
  s.more.ClearBtnClick();
  EXPECT_EQ(s.HandOff(), Texts{kAllTargets[2]});
  EXPECT_TRUE(s.win.fs.Exists("C:\\Elsewhere\\precious.doc"));
  EXPECT_TRUE(s.win.fs.Exists("C:\\Real\\Opera\\cookies4.dat"));
  EXPECT_EQ(s.Messages(),
            Texts{"Files have been cleaned, except these, which were left on disk:\r\n\r\n" +
                  kNCache + " (a link, which Scourly does not follow)\r\n" +
                  "C:\\Linked\\Opera\\cookies4.dat (a link, which Scourly does not follow)"});
}

TEST(MoreCleaner, WhatIsLeftOnDiskIsNamedInsteadOfSuccess) {
  struct Case {
    const char* name;
    std::function<void(Sheet&)> setUp;
    Texts handed;
    const char* expected;  // a part of the one message
  };
  const Case cases[] = {
      {"a cookie file in use",
       [](Sheet& s) { s.win.fs.Find(kAllTargets[1])->locked = true; },
       {kAllTargets[0], kAllTargets[1]},
       "cookies.txt (in use)\r\n\r\nClose Netscape and Opera, then press \"Clear Now\" again."},
      {"a relative profile path",
       [](Sheet& s) { s.more.NProfile.text = "Netscape\\Users\\default"; },
       {kAllTargets[0]},
       "\r\nNetscape\\Users\\default\\cookies.txt (not the full path of one file or folder, so it "
       "was not looked for)"},
      {"a wildcard in the cache path",
       [](Sheet& s) { s.more.NCacheDir.text = "C:\\Netscape\\Users\\default\\Cach?"; },
       {kAllTargets[1]},
       "Cach? (not the full path"},
      {"a dotted cache path",
       [](Sheet& s) { s.more.NCacheDir.text = kNCache + "\\.."; },
       {kAllTargets[1]},
       "Cache\\.. (not the full path"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sheet s;
    s.more.NCache.checked = s.more.NCookies.checked = true;
    c.setUp(s);
    s.more.ClearBtnClick();
    EXPECT_EQ(s.HandOff(), c.handed);
    ASSERT_EQ(s.Messages().size(), 1u);
    EXPECT_NE(s.Messages()[0].find(c.expected), std::string::npos) << s.Messages()[0];
    EXPECT_EQ(s.Messages()[0].rfind("Files have been cleaned, except", 0), 0u);
    EXPECT_TRUE(s.win.fs.Exists(kProfile)) << "a path with \"..\" must not reach the profile";
  }
}

// A cache path that names a folder no browser keeps its cache in (typed,
// browsed, saved, or detected from a broken setting) is refused, and named
// with its reason in the one message; the rest of Clear Now goes on.
TEST(MoreCleaner, FoldersThatCannotBeABrowsersCacheAreRefused) {
  struct Case {
    const char* cacheDir;
    const char* named;  // as the message names it
  };
  // Which folders these are is the guard's own table (deletion_guards_test).
  const Case cases[] = {
      {"c:\\users\\ME\\", "c:\\users\\ME (a user's profile folder, which cannot be a browser's cache)"},
      {"C:\\", "C:\\ (a drive root, which cannot be"},
      {"C:\\Users\\bob\\AppData", "C:\\Users\\bob\\AppData (holds C:\\Users\\bob\\AppData\\Roaming, "
                                 "a profile's AppData folder, which cannot be a browser's cache)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cacheDir);
    Sheet s;
    s.win.shell.knownFolders[{KnownFolder::kWindows, FolderOwner::kCurrentUser}] = "C:\\WINDOWS";
    s.win.shell.AddUsers(s.win.fs, "C:\\Users", "me", {"bob"});
    s.win.fs.AddFile("C:\\Users\\me\\Documents\\thesis.doc", 50);
    s.more.NCacheDir.text = c.cacheDir;
    s.more.NCache.checked = s.more.OCache.checked = s.more.OCookies.checked = true;
    s.more.ClearBtnClick();
    EXPECT_EQ(s.HandOff(), (Texts{kOCache, kOpera + "\\cookies4.dat"})) << "the rest goes on";
    EXPECT_EQ(s.win.purgix.recycleBin, (Texts{kOCache, kOpera + "\\cookies4.dat"}));
    EXPECT_TRUE(s.win.fs.Exists("C:\\Users\\me\\Documents\\thesis.doc"));
    ASSERT_EQ(s.Messages().size(), 1u);
    EXPECT_EQ(s.Messages()[0].rfind("Files have been cleaned, except these, which were left on "
                                    "disk:\r\n\r\n", 0),
              0u)
        << s.Messages()[0];
    EXPECT_NE(s.Messages()[0].find(c.named), std::string::npos) << s.Messages()[0];
  }
}

// Both cache edits naming one folder, in two spellings: it is one item,
// moved once, and the user is told of it once.
TEST(MoreCleaner, OneFolderNamedByBothCacheEditsIsOneItem) {
  Sheet s;
  s.more.OCacheDir.text = "c:\\netscape\\users\\DEFAULT\\cache\\";
  s.more.NCache.checked = s.more.OCache.checked = true;
  s.more.ClearBtnClick();
  EXPECT_EQ(s.HandOff(), (Texts{kNCache, "c:\\netscape\\users\\DEFAULT\\cache"}));
  EXPECT_EQ(s.win.purgix.recycleBin, Texts{kNCache});
  EXPECT_EQ(s.Messages(), Texts{kCleanedText});

  Sheet locked;
  locked.win.fs.Find(kNCache)->locked = true;
  locked.more.OCacheDir.text = kNCache;
  locked.more.NCache.checked = locked.more.OCache.checked = true;
  locked.more.ClearBtnClick();
  EXPECT_EQ(locked.Messages(),
            Texts{"No file has been cleaned. These were left on disk:\r\n\r\n" + kNCache +
                  " (in use)\r\n\r\nClose Netscape and Opera, then press \"Clear Now\" again."});
}

TEST(MoreCleaner, WithoutTheLibraryNothingIsDeletedAndTheUserIsTold) {
  Sheet s;
  s.win.purgix.available = false;
  s.TickAll();
  s.more.ClearBtnClick();
  EXPECT_EQ(s.win.purgix.calls, 0);
  EXPECT_EQ(s.Messages(), Texts{kPurgixMissingText});
  for (const std::string& target : kAllTargets) EXPECT_TRUE(s.win.fs.Exists(target)) << target;
}

TEST(MoreCleaner, AHandOffFileThatCannotBeWrittenIsAnErrorAndDeletesNothing) {
  Sheet s;
  s.win.fs.Take(kFList);
  s.win.fs.Find("C:\\Program Files\\Scourly")->readOnlyFolder = true;
  s.TickAll();
  try {
    s.more.ClearBtnClick();
    ADD_FAILURE() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "File access denied");
  }
  EXPECT_EQ(s.win.purgix.calls, 0);
  EXPECT_EQ(s.Messages(), Texts{});
  EXPECT_EQ(s.win.ui.hourglassChanges, (std::vector<bool>{true, false}));
}

// ---- The paths the sheet shows ----

void Netscape(fake::FakeRegistry& r, const std::string& user, const std::string& install) {
  r.SetString(kHkcu, kNetscapeBiffKey, "CurrentUser", user);
  r.SetString(kHkcu, kNetscapeMainKey, "Install Directory", install);
}

TEST(MoreCleaner, ShowingTheSheetFillsTheSavedOrDetectedPaths) {
  struct Case {
    const char* name;
    std::function<void(fake::FakeRegistry&)> keys;
    Texts edits;  // NProfile, NCacheDir, OProgramDir, OCacheDir; before: old1 to old4
    const char* error = nullptr;
  };
  auto browsers = [](fake::FakeRegistry& r) {
    Netscape(r, "default", "C:\\Program Files\\Netscape\\Communicator");
    r.SetString(kHkcu, kOperaKey, "Last Directory", "C:\\Program Files\\Opera");
  };
  auto saved = [&](const char* text) {
    return [=](fake::FakeRegistry& r) {
      browsers(r);
      for (const char* name : {"NProfile", "NCacheDir", "OProgramDir", "OCacheDir"})
        r.SetString(kHklm, kSavedPathsKey, name, text + std::string(*text ? name : ""));
    };
  };
  const Case cases[] = {
      {"detected",
       browsers,
       {"C:\\Program Files\\Netscape\\Users\\default",
        "C:\\Program Files\\Netscape\\Users\\default\\Cache", "C:\\Program Files\\Opera",
        "C:\\Program Files\\Opera\\Cache4"}},
      {"saved paths win",
       saved("D:\\"),
       {"D:\\NProfile", "D:\\NCacheDir", "D:\\OProgramDir", "D:\\OCacheDir"}},
      {"a saved key with empty values", saved(""), {"", "", "", ""}},
      {"an install directory ending in a backslash",
       [](fake::FakeRegistry& r) { Netscape(r, "me", "C:\\Netscape\\"); },
       {"C:\\Netscape\\Users\\me", "C:\\Netscape\\Users\\me\\Cache", "old3", "old4"}},
      {"no Netscape main key",
       [](fake::FakeRegistry& r) {
         r.SetString(kHkcu, kNetscapeBiffKey, "CurrentUser", "me");
         r.SetString(kHkcu, kOperaKey, "Last Directory", "C:\\O");
       },
       {"old1", "old2", "C:\\O", "C:\\O\\Cache4"}},
      {"missing values read as empty",
       [](fake::FakeRegistry& r) {
         r.AddKey(kHkcu, kNetscapeBiffKey);
         r.AddKey(kHkcu, kNetscapeMainKey);
         r.AddKey(kHkcu, kOperaKey);
       },
       {"Users\\", "Users\\\\Cache", "", "old4"}},
      {"a saved value that is not text",
       [](fake::FakeRegistry& r) {
         r.SetString(kHklm, kSavedPathsKey, "NProfile", "D:\\p");
         r.SetBinary(kHklm, kSavedPathsKey, "NCacheDir", "\x01\x02");
       },
       {"D:\\p", "old2", "old3", "old4"},
       "Invalid data type for 'NCacheDir'"},
      {"a browser value that is not text",
       [](fake::FakeRegistry& r) {
         r.SetBinary(kHkcu, kNetscapeBiffKey, "CurrentUser", "\x01");
         r.SetString(kHkcu, kNetscapeMainKey, "Install Directory", "C:\\N\\P");
         r.SetString(kHkcu, kOperaKey, "Last Directory", "C:\\O");
       },
       {"old1", "old2", "old3", "old4"},
       "Invalid data type for 'CurrentUser'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sheet s;
    c.keys(s.win.registry);
    TNetscapeOperaCleaner& m = s.more;
    m.NProfile.text = "old1";
    m.NCacheDir.text = "old2";
    m.OProgramDir.text = "old3";
    m.OCacheDir.text = "old4";
    std::string error;
    try {
      m.TabSheet7Show();
    } catch (const AppError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error ? c.error : "");
    EXPECT_EQ(s.Edits(), c.edits);
    EXPECT_FALSE(s.FindFilesTB.enabled);
    EXPECT_EQ(s.win.registry.openKeys, 0);
  }
}

// ---- Saving and browsing ----

TEST(MoreCleaner, SavedPathsAreWhatTheNextShowingFinds) {
  Sheet s;
  s.win.registry.SetString(kHkcu, kOperaKey, "Last Directory", "C:\\Detected");
  s.more.NProfile.text = "";
  s.more.SaveBtnClick();
  EXPECT_EQ(s.Messages(), Texts{kPathsSavedText});
  EXPECT_EQ(s.win.registry.Names(kHklm, kSavedPathsKey),
            (Texts{"NProfile", "NCacheDir", "OProgramDir", "OCacheDir"}));
  s.more.NCacheDir.text = s.more.OProgramDir.text = "typed, not saved";
  s.more.TabSheet7Show();
  EXPECT_EQ(s.Edits(), (Texts{"", kNCache, kOpera, kOCache}));
  EXPECT_EQ(s.win.registry.openKeys, 0);
}

TEST(MoreCleaner, PathsThatCannotBeSavedAreNotReportedAsSaved) {
  {
    SCOPED_TRACE("the key can be neither opened nor created");
    Sheet s;
    s.win.registry.createFails = true;
    s.more.SaveBtnClick();
    ASSERT_EQ(s.win.ui.messages.size(), 1u);
    EXPECT_EQ(s.win.ui.messages[0].text, kPathsNotSavedText);
    EXPECT_EQ(s.win.ui.messages[0].icon, MsgIcon::kError);
    EXPECT_EQ(s.win.registry.FindKey(kHklm, kSavedPathsKey), nullptr);
  }
  {
    SCOPED_TRACE("a value cannot be written");
    Sheet s;
    s.win.registry.AddKey(kHklm, kSavedPathsKey).readOnly = true;
    try {
      s.more.SaveBtnClick();
      ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), "Failed to set data for 'NProfile'");
    }
    EXPECT_EQ(s.Messages(), Texts{});
    EXPECT_EQ(s.win.registry.openKeys, 0);
  }
}

TEST(MoreCleaner, OneBrowseDialogRemembersTheLastChosenFolderForAllFourButtons) {
  Sheet s;
  auto& answers = s.win.shell.browseAnswers;
  answers = {"C:\\A", "D:\\B", std::nullopt, "E:\\C"};
  s.more.SpeedButton1Click();
  s.more.SpeedButton3Click();
  s.more.SpeedButton4Click();  // cancelled
  s.more.SpeedButton2Click();
  EXPECT_EQ(s.win.shell.browsePreselected, (Texts{"", "C:\\A", "D:\\B", "D:\\B"}));
  EXPECT_EQ(s.Edits(), (Texts{"C:\\A", "E:\\C", "D:\\B", kOCache}));
}

}  // namespace
}  // namespace scourly
