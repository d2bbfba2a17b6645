// The command line: its arguments, its CSV, and whole runs on the in-memory
// Windows, compared with what the window's own commands list and delete.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "cli/command_line.h"
#include "cli/csv.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeWindows;
using Action = CommandLine::Action;
using Args = std::vector<std::string>;

// ---- Arguments ----

struct ParseCase {
  Args args;
  Action action;
  std::string tab;
  bool permanent;
  std::optional<std::string> out;
  std::string error;  // empty when the arguments are right
};

TEST(CommandLineArguments, ParseIntoAnActionOrSayWhatIsWrong) {
  const std::string tabs = "unneeded, recent, favorites, dead or browsers";
  const ParseCase cases[] = {
      {{}, Action::kWindow, "", false, {}, ""},
      {{"/list", "unneeded"}, Action::kList, "unneeded", false, {}, ""},
      {{"-LIST", "Dead", "/Out", "C:\\r e.csv"}, Action::kList, "dead", false, "C:\\r e.csv", ""},
      {{"/clean", "recent", "/permanent"}, Action::kClean, "recent", true, {}, ""},
      {{"/out", "x.csv", "/clean", "favorites"}, Action::kClean, "favorites", false, "x.csv", ""},
      {{"/?"}, Action::kHelp, "", false, {}, ""},
      {{"/list", "bogus", "/HELP"}, Action::kHelp, "", false, {}, ""},
      {{"/list"}, Action::kList, "", false, {}, "/list needs a TAB: " + tabs},
      {{"/clean", "/out", "r.csv"}, Action::kClean, "", false, {}, "/clean needs a TAB: " + tabs},
      {{"/list", "Browsers"}, Action::kList, "browsers", false, {}, ""},
      {{"/list", "cookies"}, Action::kList, "", false, {}, "unknown TAB \"cookies\": use " + tabs},
      {{"/list", "dead", "extra"}, Action::kList, "dead", false, {}, "unknown argument \"extra\""},
      {{"/out", "r.csv"}, Action::kWindow, "", false, "r.csv", "/list or /clean is missing"},
      {{"/list", "dead", "/out"}, Action::kList, "dead", false, {}, "/out needs a FILE"},
      {{"/list", "dead", "/out", "a", "/out", "b"}, Action::kList, "dead", false, "a",
       "give /out only once"},
      {{"/list", "dead", "/clean", "dead"}, Action::kList, "dead", false, {},
       "give only one of /list and /clean"},
      {{"/list", "dead", "/permanent"}, Action::kList, "dead", true, {},
       "/permanent goes with /clean only"},
  };
  for (const ParseCase& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += " [" + arg + "]";
    ParsedCommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.error, c.error) << shown;
    if (!c.error.empty()) continue;
    EXPECT_EQ(parsed.command.action, c.action) << shown;
    EXPECT_EQ(parsed.command.tab, c.tab) << shown;
    EXPECT_EQ(parsed.command.permanent, c.permanent) << shown;
    EXPECT_EQ(parsed.command.out, c.out) << shown;
  }
}

// ---- CSV ----

TEST(CommandLineCsv, QuotesOnlyWhatNeedsItAndWritesValidUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"a.tmp", "a.tmp"},
      {"", ""},
      {"a,b.tmp", "\"a,b.tmp\""},
      {"x;y.old", "\"x;y.old\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"lf\nonly", "\"lf\nonly\""},
      {" spaced ", " spaced "},
      {"Grüße_日本_😀.tmp", "Grüße_日本_😀.tmp"},
      // An unpaired surrogate (WTF-8) and bytes that are no UTF-8 at all.
      {"a\xED\xA0\x80z", "a\xEF\xBF\xBDz"},
      {"\xFF\xC3", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // an overlong "/"
      {"\xE6\x97", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // a cut sequence
  };
  for (const auto& [field, written] : cases) EXPECT_EQ(CsvField(field), written) << field;
  EXPECT_EQ(CsvLine({"n,1", "C:\\d\\", "10", "15.03.2024"}), "\"n,1\",C:\\d\\,10,15.03.2024\r\n");
  EXPECT_EQ(CsvLine({"", ""}), ",\r\n");
}

// ---- Whole runs ----

struct CapturedConsole : Console {
  std::string out, err;
  bool outIsFile = false;
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
  bool OutIsFile() const override { return outIsFile; }
};

constexpr const char* kProgram = "C:\\Program Files\\Scourly\\";
constexpr const char* kRecent = "C:\\Users\\ann\\Recent";
constexpr const char* kFavorites = "C:\\Users\\ann\\Favorites";

// The "Web Browsers" sub-tab of the Browser Cache tab, for WindowRows.
constexpr int kTabWebBrowsers = -1;

// A machine whose user saved the default options once (C: and D: checked),
// with something for every tab to find.
struct Machine {
  FakeWindows win;
  CapturedConsole console;
  ConsoleUi ui{console};
  Platform platform{win.fs,       ui,           win.locale,     win.purgix, win.shell,
                    win.urlCache, win.registry, win.dateFormat, win.version};

  Machine() {
    win.version.version = ProductVersion{0x00020002, 0x00000000};
    win.fs.AddDrive('D');
    win.fs.AddFile("D:\\work\\a.tmp", 10);
    win.fs.AddFile("D:\\work\\b,c;d.bak", 3000000000ULL);
    win.fs.AddFile("D:\\work\\Grüße.old", 7);
    win.fs.AddFile("D:\\work\\empty.txt", 0);
    win.fs.AddFile("D:\\work\\keep.txt", 5);
    win.shell.specialFolders[kCsidlRecent] = kRecent;
    win.shell.specialFolders[kCsidlFavorites] = kFavorites;
    win.fs.AddFile(std::string(kRecent) + "\\doc.lnk", 300);
    win.fs.AddFile(std::string(kFavorites) + "\\site.url", 80);
    win.fs.AddFile(std::string(kFavorites) + "\\news\\paper.url", 90);
    win.fs.AddFile("D:\\links\\dead.lnk", 400);
    win.shell.links["D:\\links\\dead.lnk"].path = "D:\\gone.txt";
    win.fs.AddFile("D:\\links\\live.lnk", 500);
    win.shell.links["D:\\links\\live.lnk"].path = "D:\\work\\keep.txt";
    win.shell.specialFolders[kCsidlLocalAppData] = "C:\\Users\\ann\\AppData\\Local";
    const std::string chrome = "C:\\Users\\ann\\AppData\\Local\\Google\\Chrome\\User Data\\Default";
    win.fs.AddFile(chrome + "\\Preferences", 10);
    win.fs.AddFile(chrome + "\\Cache\\data_0", 600);
    TUOptionsDialog first(win.platform);
    first.FormCreate();  // no settings yet: the defaults are written
  }

  int Start(const Args& args) { return RunCommandLine(args, platform, console); }

  // What the window's Find Files lists on `tab`, as the CSV's records.
  std::string WindowRows(int tab) {
    TUOptionsDialog options(win.platform);
    TMainForm form(win.platform, options);
    options.FormCreate();
    form.FormCreate();
    form.FormShow();
    const bool web = tab == kTabWebBrowsers;
    form.UserSelectsTab(web ? kTabBrowserCache : tab);
    if (web) form.UserSelectsSubTab(kSubTabWebBrowsers);
    form.FindFilesTBClick();
    std::string rows;
    for (const ResultRow& row : (web ? form.ListBox6 : *form.ResultListOfTab(tab)).Rows())
      rows += CsvLine({row.Name(), row.Location(), std::to_string(row.Size()), row.Date()});
    return rows;
  }

  std::string Settings() { return std::string(kProgram) + "settings.ini"; }
  std::string LastErrLine() {
    std::string text = console.err;
    if (text.size() >= 2) text.resize(text.size() - 2);
    return text.substr(text.rfind('\n') + 1);
  }
};

struct CommandLineRun : Machine, ::testing::Test {};

const std::string kBom = "\xEF\xBB\xBF";
const std::string kListHeader = "name,location,size,time\r\n";
const std::string kCleanHeader = "name,location,size,time,result\r\n";

TEST_F(CommandLineRun, ListWritesTheRowsTheWindowListsOnEveryTab) {
  const std::pair<std::string, int> tabs[] = {{"unneeded", kTabUnneeded},
                                              {"recent", kTabRecent},
                                              {"favorites", kTabFavorites},
                                              {"dead", kTabDeadShortcuts},
                                              {"browsers", kTabWebBrowsers}};
  ASSERT_EQ(CommandLineTabs().size(), std::size(tabs));
  for (const auto& [name, tab] : tabs) {
    const std::string rows = WindowRows(tab);
    EXPECT_NE(rows, "") << name << ": the machine has something to list";
    console = {};
    EXPECT_EQ(Start({"/list", name, "/out", "D:\\out.csv"}), kExitDone) << name << console.err;
    EXPECT_EQ(win.fs.Content("D:\\out.csv"), kBom + kListHeader + rows) << name;
    EXPECT_EQ(console.out, "") << name;
    win.fs.Take("D:\\out.csv");
  }
  // Nothing was deleted, nothing asked, and only the report was written.
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_TRUE(win.fs.Exists("D:\\work\\a.tmp"));
  EXPECT_TRUE(win.ui.messages.empty());
}

TEST_F(CommandLineRun, NoFileTypeCountedAsksNothingAndListsWhatTheWindowListsAfterNo) {
  std::string text = win.fs.Content(Settings());
  text.replace(text.find("total_chkd=6"), 12, "total_chkd=0");
  win.fs.WriteFile(Settings(), text);
  win.ui.answers = {MsgResult::kNo};
  const std::string rows = WindowRows(kTabUnneeded);
  ASSERT_EQ(win.ui.messages.size(), 2u) << "the window asks, then says it goes on";
  EXPECT_EQ(Start({"/list", "unneeded"}), kExitDone);
  EXPECT_EQ(console.out, kListHeader + rows) << "no byte order mark on a console";
  EXPECT_NE(rows.find("\"b,c;d.bak\",D:\\work\\,3000000000,"), std::string::npos) << rows;
  EXPECT_EQ(console.err, "4 files, 3000000017 bytes\r\n") << "no question, no notice";
}

TEST_F(CommandLineRun, CleanHandsEveryListedRowToThePurgixOfDeleteAll) {
  EXPECT_EQ(Start({"/clean", "unneeded", "/out", "C:\\r.csv"}), kExitDone) << console.err;
  const std::vector<std::string> gone = {"D:\\work\\a.tmp", "D:\\work\\b,c;d.bak",
                                         "D:\\work\\Grüße.old", "D:\\work\\empty.txt"};
  for (const std::string& path : gone) EXPECT_FALSE(win.fs.Exists(path)) << path;
  EXPECT_EQ(win.purgix.calls, 1);
  EXPECT_EQ(win.purgix.recycleBin, gone);
  EXPECT_TRUE(win.fs.Exists("D:\\work\\keep.txt"));
  const std::string report = win.fs.Content("C:\\r.csv");
  ASSERT_EQ(report.compare(0, kBom.size() + kCleanHeader.size(), kBom + kCleanHeader), 0) << report;
  EXPECT_NE(report.find("a.tmp,D:\\work\\,10,15.03.2024,deleted\r\n"), std::string::npos) << report;
  EXPECT_EQ(console.err, "4 files, 3000000017 bytes\r\n4 deleted, 0 stayed\r\n");
}

TEST_F(CommandLineRun, TheKeepListHoldsAndEveryOutcomeIsLogged) {
  TUOptionsDialog options(win.platform);
  options.FormCreate();
  ASSERT_TRUE(options.AddKeep("D:\\work\\A.TMP"));
  options.SaveKeep();
  EXPECT_EQ(Start({"/list", "unneeded"}), kExitDone);
  EXPECT_EQ(console.out.find("a.tmp"), std::string::npos) << console.out;
  console = {};
  win.fs.Find("D:\\work\\empty.txt")->locked = true;
  EXPECT_EQ(Start({"/clean", "unneeded", "/permanent"}), kExitSomeStayed) << console.err;
  EXPECT_TRUE(win.fs.Exists("D:\\work\\a.tmp"));
  const std::string log = win.fs.Content(std::string(kProgram) + kDeletionLogName);
  EXPECT_NE(log.find("\tpermanent\t3000000000\tD:\\work\\b,c;d.bak\tdeleted\r\n"),
            std::string::npos) << log;
  EXPECT_NE(log.find("\tpermanent\t0\tD:\\work\\empty.txt\tstayed: in use\r\n"),
            std::string::npos) << log;
  EXPECT_EQ(log.find("a.tmp"), std::string::npos) << log;
}

TEST_F(CommandLineRun, PermanentDeletesForGoodWithoutTheLibraryAndKeepsReadOnlyFiles) {
  win.purgix.available = false;
  win.fs.Find("D:\\work\\Grüße.old")->attributes |= kAttrReadOnly;
  EXPECT_EQ(Start({"/clean", "unneeded", "/permanent"}), kExitSomeStayed);
  EXPECT_FALSE(win.fs.Exists("D:\\work\\a.tmp"));
  EXPECT_FALSE(win.fs.Exists("D:\\work\\b,c;d.bak"));
  EXPECT_TRUE(win.fs.Exists("D:\\work\\Grüße.old"));
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_NE(console.out.find("Grüße.old,D:\\work\\,7,15.03.2024,stayed: could not be deleted\r\n"),
            std::string::npos)
      << console.out;
}

TEST_F(CommandLineRun, AnErrorStopsTheRunBeforeAnythingIsDeleted) {
  struct ErrorCase {
    std::string what;
    std::function<void(Machine&)> arrange;
    std::string out;
    std::string line;  // the last line on the console
  };
  const std::string settings = std::string(kProgram) + "settings.ini";
  const ErrorCase cases[] = {
      {"no settings", [](Machine& t) { t.win.fs.Take(t.Settings()); }, "C:\\r.csv",
       "error: " + settings + " is missing: start Scourly once and choose the options"},
      {"settings unreadable", [](Machine& t) { t.win.fs.Find(t.Settings())->unreadable = true; },
       "C:\\r.csv", "error: cannot read " + settings},
      {"read-only report", [](Machine& t) { t.win.fs.AddFile("C:\\r.csv", 9, kAttrReadOnly); },
       "C:\\r.csv", "error: cannot write C:\\r.csv: the file is read-only"},
      {"report is a folder", [](Machine& t) { t.win.fs.AddFolder("C:\\r.csv"); }, "C:\\r.csv",
       "error: cannot write C:\\r.csv: it is a folder"},
      {"read-only folder", [](Machine& t) { t.win.fs.AddFolder("C:\\ro").readOnlyFolder = true; },
       "C:\\ro\\r.csv", "error: cannot write C:\\ro\\r.csv: File access denied"},
      {"the program's own file", [](Machine&) {}, "..\\Scourly\\Settings.INI",
       "error: cannot write ..\\Scourly\\Settings.INI: settings.ini is the name of one of "
       "Scourly's own files; choose another name for the report"},
      {"no folder", [](Machine&) {}, "C:\\nowhere\\r.csv",
       "error: cannot write C:\\nowhere\\r.csv: I/O error 3"},
      {"no Purgix.dll", [](Machine& t) { t.win.purgix.available = false; }, "C:\\r.csv",
       "error: Purgix.dll could not be loaded from Scourly's folder: nothing was deleted"},
      {"hand-off not writable",
       [](Machine& t) { t.win.fs.Find("C:\\Program Files\\Scourly")->readOnlyFolder = true; },
       "C:\\r.csv",
       "error: FList.txt beside Scourly.exe cannot be written (File access denied): nothing was "
       "deleted"},
  };
  for (const ErrorCase& c : cases) {
    Machine t;
    c.arrange(t);
    EXPECT_EQ(t.Start({"/clean", "unneeded", "/out", c.out}), kExitError) << c.what;
    EXPECT_EQ(t.LastErrLine(), c.line) << c.what;
    EXPECT_EQ(t.console.err.find('\n'), t.console.err.size() - 1) << c.what << ": one line";
    EXPECT_TRUE(t.win.fs.Exists("D:\\work\\a.tmp")) << c.what;
    EXPECT_TRUE(t.win.purgix.recycleBin.empty()) << c.what;
  }
}

TEST_F(CommandLineRun, WrongArgumentsPrintTheUsageAndWhatWasWrong) {
  const std::string usage = UsageText("2.2.0");
  EXPECT_EQ(usage.rfind("Scourly 2.2.0: ", 0), 0u) << usage;
  EXPECT_EQ(Start({"/list"}), kExitUsage);
  EXPECT_EQ(console.err,
            usage + "\r\nerror: /list needs a TAB: unneeded, recent, favorites, dead or browsers\r\n");
  EXPECT_EQ(console.out, "");
}

}  // namespace
}  // namespace scourly
