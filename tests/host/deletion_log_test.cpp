// The deletion log: the format of its lines, the file (a mark when new, moved
// aside when full), and what every deletion path writes to it, kept rows and
// a log that cannot be written included.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "delete/deletion_log.h"
#include "platform/fake/fake_windows.h"
#include "tests/host/program_on_test_drive.h"

namespace scourly {
namespace {

using fake::FakeWindows;
using Texts = std::vector<std::string>;
constexpr const char* kLog = "C:\\Program Files\\Scourly\\deleted.log";
constexpr const char* kOldLog = "C:\\Program Files\\Scourly\\deleted.log.1";
constexpr const char* kMark = "\xEF\xBB\xBF";

TEST(DeletionLogLine, TimeWayTabsAndEscapes) {
  using enum DeletionWay;
  struct Case {
    int64_t seconds;
    LoggedItem item;
    const char* line;
  } cases[] = {
      {0, {kRecycle, 12, "C:\\a.tmp", std::nullopt},
       "1970-01-01T00:00:00Z\trecycle\t12\tC:\\a.tmp\tdeleted\r\n"},
      {951782400, {kPermanent, 3000000000ull, "T:\\x;y.old", std::nullopt},
       "2000-02-29T00:00:00Z\tpermanent\t3000000000\tT:\\x;y.old\tdeleted\r\n"},
      {1710504000, {kCache, std::nullopt, "http://a.test/?q=1\tb\r\nc\nd", "could not be deleted"},
       "2024-03-15T12:00:00Z\tcache\t-\thttp://a.test/?q=1\\tb\\nc\\nd\tstayed: could not be "
       "deleted\r\n"},
      {4102444799, {kRecycle, std::nullopt, "C:\\Cache", "in use"},
       "2099-12-31T23:59:59Z\trecycle\t-\tC:\\Cache\tstayed: in use\r\n"},
      {-1, {kRecycle, 0, "C:\\e", "kept"},
       "1969-12-31T23:59:59Z\trecycle\t0\tC:\\e\tstayed: kept\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(DeletionLogLine(c.seconds, c.item), c.line);
}

TEST(DeletionLogFile, ANewFileGetsAMarkAndAFullOneIsMovedAsideBeforeTheNextLine) {
  FakeWindows win;
  DeletionLog log(win.fs, [] { return int64_t{0}; });
  const std::string line = "1970-01-01T00:00:00Z\trecycle\t1\tC:\\a\tdeleted\r\n";
  log.Deleted(DeletionWay::kRecycle, 1, "C:\\a");
  log.Deleted(DeletionWay::kRecycle, 1, "C:\\a");
  EXPECT_EQ(log.Finish(), "");
  EXPECT_EQ(win.fs.Content(kLog), kMark + line + line);

  // Exactly 10 MB is not over; one byte more is.
  win.fs.WriteFile(kOldLog, "older");
  win.fs.WriteFile(kLog, std::string(kDeletionLogLimit, 'x'));
  log.Deleted(DeletionWay::kRecycle, 1, "C:\\a");
  EXPECT_EQ(win.fs.Content(kOldLog), "older");
  log.Deleted(DeletionWay::kRecycle, 1, "C:\\a");
  EXPECT_EQ(log.Finish(), "");
  EXPECT_EQ(win.fs.Content(kOldLog).size(), kDeletionLogLimit + line.size());
  EXPECT_EQ(win.fs.Content(kLog), kMark + line);
}

// The program on the test drive; each line of the log without its time.
struct LoggedProgram : ProgramOnTestDrive {
  Texts LogLines() {
    std::string text = win.fs.Content(kLog);
    EXPECT_EQ(text.rfind(kMark, 0), 0u) << "no byte order mark";
    Texts lines;
    for (size_t at = 3; at < text.size();) {
      size_t end = text.find("\r\n", at);
      std::string line = text.substr(at, end - at);
      EXPECT_EQ(line.size() > 20 ? line.substr(10, 1) + line.substr(19, 2) : "", "TZ\t") << line;
      lines.push_back(line.substr(21));
      at = end + 2;
    }
    return lines;
  }
  void SelectAll() {
    std::vector<int> all;
    for (int i = 0; i < form.ListBox1.Count(); ++i) all.push_back(i);
    form.ListBox1.SetSelection(all);
  }
};

TEST_F(LoggedProgram, TheFileMenuOpensTheLogOnceThereIsOne) {
  form.DeletionLog1Click();
  ASSERT_EQ(win.ui.messages.size(), 1u);
  EXPECT_EQ(win.ui.messages[0].text.rfind("There is no deletion log yet.", 0), 0u);
  EXPECT_TRUE(win.shell.opened.empty());
  form.FindFilesTBClick();
  SelectAll();
  form.DeletePermanently1Click();
  form.DeletionLog1Click();
  ASSERT_EQ(win.shell.opened.size(), 1u);
  EXPECT_EQ(win.shell.opened[0].target, kLog);
  EXPECT_EQ(LogLines().size(), 4u);
}

TEST_F(LoggedProgram, ALogThatCannotBeWrittenNeverStopsADeletionAndIsToldOnce) {
  win.fs.AddFile(kLog, 0, kAttrReadOnly);
  form.FindFilesTBClick();
  SelectAll();
  win.ui.messages.clear();
  form.DeletePermanently1Click();
  EXPECT_EQ(form.ListBox1.Count(), 0) << "every file went all the same";
  ASSERT_EQ(win.ui.messages.size(), 2u);  // the notice, then the log's trouble
  EXPECT_EQ(win.ui.messages[1].text,
            std::string("The deletion log ") + kLog +
                " could not be written (File access denied), so 4 items of this deletion are "
                "not recorded in it. The deletion itself was not affected.");
}

TEST_F(LoggedProgram, TheCacheViewAndClearNowLogWhatTheyDelete) {
  win.urlCache.Add("http://a.test/page", 0x1, 300);
  win.registry.SetString(RegistryRoot::kCurrentUser, kTypedUrlsKey, "url1", "http://typed.one/");
  form.UserSelectsTab(kTabBrowserCache);
  form.IECacheView().SetFilterIndex(kFilterHistory);  // the typed address, then the history
  form.ListBox4.SetSelection({0});
  form.Delete1Click();
  form.IECacheView().SetFilterIndex(kFilterAll);
  ASSERT_EQ(form.ListBox4.Rows(), Texts{"http://a.test/page"});
  form.ListBox4.SetSelection({0});
  form.Delete1Click();

  TNetscapeOperaCleaner& more = form.MoreCleaner();
  win.fs.AddFile("C:\\NS\\cookies.txt", 5);
  win.fs.AddFile("C:\\NS\\netscape.hst", 6);
  more.NProfile.text = "C:\\NS";
  more.NCookies.checked = more.NHistory.checked = true;
  optionsDialog.AddKeep("C:\\ns\\COOKIES.TXT");
  form.ClearBtnClick();
  EXPECT_TRUE(win.fs.Exists("C:\\NS\\cookies.txt"));
  EXPECT_EQ(win.purgix.recycleBin, Texts{"C:\\NS\\netscape.hst"});
  // Each line as its outcome is known: the kept file before the library ran.
  EXPECT_EQ(LogLines(), (Texts{"cache\t-\thttp://typed.one/\tdeleted",
                               "cache\t300\thttp://a.test/page\tdeleted",
                               "recycle\t5\tC:\\NS\\cookies.txt\tstayed: kept",
                               "recycle\t6\tC:\\NS\\netscape.hst\tdeleted"}));
}

}  // namespace
}  // namespace scourly
