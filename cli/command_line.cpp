#include "cli/command_line.h"

#include <array>
#include <cctype>
#include <exception>
#include <initializer_list>

#include "cache/web_browsers.h"
#include "cli/csv.h"
#include "delete/deletion.h"
#include "lists/app_error.h"
#include "lists/app_title.h"
#include "options/browser_settings.h"
#include "scan/dead_shortcuts.h"
#include "scan/folder_scans.h"
#include "scan/unneeded_scan.h"

namespace scourly {
namespace {

// The window's tabs with a file list, by the names a command line gives
// them, each running the scan its window tab runs.
constexpr std::array<CommandLineTab, 5> kTabs = {{
    {"unneeded", &ListUnneededFiles},
    {"recent", [](FileTabScan& tab, Platform& platform, TUOptionsDialog&) {
       RFindFilesClick(tab, platform);
     }},
    {"favorites", [](FileTabScan& tab, Platform& platform, TUOptionsDialog&) {
       FFindFilesClick(tab, platform);
     }},
    {"dead", [](FileTabScan& tab, Platform& platform, TUOptionsDialog& options) {
       DFindFilesClick(tab, platform, options.options.DrivesBox);
     }},
    // The "Web Browsers" sub-tab, with its boxes as settings.ini keeps them.
    {"browsers", [](FileTabScan& tab, Platform& platform, TUOptionsDialog&) {
       const std::string running = RunningBrowsersMessage(
           WebBrowsersFindFiles(tab, platform, ReadBrowserCategories(platform.fs)));
       if (!running.empty())
         platform.ui.ShowMessage(running, kAppTitle, MsgButtons::kOk, MsgIcon::kInformation);
     }},
}};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsSwitch(const std::string& arg) {
  return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-');
}

const CommandLineTab* FindTab(const std::string& name) {
  for (const CommandLineTab& tab : kTabs) {
    if (Lower(name) == tab.name) return &tab;
  }
  return nullptr;
}

// "unneeded, recent, favorites, dead or browsers".
std::string TabNames() {
  std::string names;
  for (size_t i = 0; i < kTabs.size(); ++i) {
    if (i > 0) names += i + 1 == kTabs.size() ? " or " : ", ";
    names += kTabs[i].name;
  }
  return names;
}

std::string VersionOf(VersionInfo& info) {
  std::optional<ProductVersion> version = info.ProgramProductVersion();
  if (!version) return {};
  return std::to_string(version->mostSignificant >> 16) + "." +
         std::to_string(version->mostSignificant & 0xFFFF) + "." +
         std::to_string(version->leastSignificant >> 16);
}

// The report's file is made (or emptied) before anything is scanned or
// deleted: a file that cannot be written stops the run while nothing has
// happened yet. A read-only file refuses, as it does on Windows whoever
// runs the program.
void PrepareOutput(FileSystem& fs, const std::string& path, const std::string& start) {
  // The report must never overwrite the program's own files: where a
  // relative FILE lands depends on the current folder, so the names are
  // refused wherever they are.
  const std::string name = Lower(path.substr(path.find_last_of("\\/:") + 1));
  for (const char* own : {kSettingsFileName, kHandOffFileName, "Scourly.exe", "Purgix.dll"}) {
    if (name == Lower(own))
      throw AppError("cannot write " + path + ": " + own + " is the name of one of Scourly's " +
                     "own files; choose another name for the report");
  }
  uint32_t error = 0;
  std::unique_ptr<ItemOpener> opener = fs.NewItemOpener();  // outlives what it opens
  ItemStat stat;
  if (std::unique_ptr<OpenedItem> item = opener->Open(path, false, error); item && item->Stat(stat)) {
    if (stat.attributes & kAttrDirectory) throw AppError("cannot write " + path + ": it is a folder");
    if (stat.attributes & kAttrReadOnly)
      throw AppError("cannot write " + path + ": the file is read-only");
  }
  if (uint32_t code = fs.WriteFile(path, start))
    throw AppError("cannot write " + path + ": " + InOutErrorText(code));
}

// Deletes every row of `list` the way the window does, and returns each
// row's result, by row.
std::vector<std::string> Clean(Platform& platform, ResultList& list, bool permanent,
                               FileTabScan& scan) {
  std::vector<std::string> results(list.Count());
  const KeepFilter keep = MakeKeepFilter(scan.keep, platform.fs);
  DeletionLog log(platform.fs);
  DeletionContext ctx{platform, scan.bar, scan.stopFlag, scan.totalSizeText, {},
                      [&results](int index, const ResultRow&, const StayedItem* stayed) {
                        results[index] =
                            stayed ? "stayed: " + ReasonText(*stayed) : std::string("deleted");
                      },
                      &keep, &log};
  // A log that cannot be written never stops the cleaning; the console says so.
  auto finishLog = [&log, &platform] {
    const std::string trouble = log.Finish();
    if (!trouble.empty())
      platform.ui.ShowMessage(trouble, kAppTitle, MsgButtons::kOk, MsgIcon::kError);
  };
  try {
    if (permanent) {
      // "Select All", then "Delete Selected files Permanently".
      std::vector<int> all(list.Count());
      for (int i = 0; i < list.Count(); ++i) all[i] = i;
      list.SetSelection(all);
      DeleteSel(ctx, list, false);
    } else {
      DeleteAll(ctx, list);
    }
  } catch (const AppError& error) {
    finishLog();
    throw AppError(std::string(kHandOffFileName) + " beside Scourly.exe cannot be written (" +
                   error.what() + "): nothing was deleted");
  }
  finishLog();
  // Every row is taken; one the deletion did not settle has not gone.
  for (std::string& result : results) {
    if (result.empty()) result = "stayed: " + ReasonText({{}, StayReason::kNotDeleted});
  }
  return results;
}

int Run(const CommandLine& command, Platform& platform, Console& console) {
  FileSystem& fs = platform.fs;
  const bool clean = command.action == CommandLine::Action::kClean;
  const std::string settingsPath = fs.ProgramFolder() + kSettingsFileName;
  std::string settings;
  if (!fs.FileExists(settingsPath))
    throw AppError(settingsPath + " is missing: start Scourly once and choose the options");
  if (!fs.ReadFile(settingsPath, settings)) throw AppError("cannot read " + settingsPath);

  const std::string header = clean ? CsvLine({"name", "location", "size", "time", "result"})
                                   : CsvLine({"name", "location", "size", "time"});
  if (command.out) PrepareOutput(fs, *command.out, std::string(kUtf8ByteOrderMark) + header);
  if (clean && !command.permanent && !platform.purgix.Available())
    throw AppError("Purgix.dll could not be loaded from Scourly's folder: nothing was deleted");

  TUOptionsDialog options(platform);
  options.FormCreate();
  ResultList list;
  std::string totalSizeText;
  StatusBar bar;
  ToolButton findFiles;
  bool stopFlag = false;
  FileTabScan scan{list, totalSizeText, bar, findFiles, stopFlag};
  scan.keep = &options.keep;
  FindTab(command.tab)->scan(scan, platform, options);

  // The rows as listed: a deletion takes the rows whose items went out of
  // the list.
  const std::vector<ResultRow> rows = list.Rows();
  std::vector<std::string> results;
  if (clean) results = Clean(platform, list, command.permanent, scan);

  std::string csv = header;
  int64_t bytes = 0;
  int stayed = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const ResultRow& row = rows[i];
    const std::string size = std::to_string(row.Size());
    bytes += static_cast<int64_t>(row.Size());
    if (clean) {
      stayed += results[i] != "deleted";
      csv += CsvLine({row.Name(), row.Location(), size, row.Date(), results[i]});
    } else {
      csv += CsvLine({row.Name(), row.Location(), size, row.Date()});
    }
  }
  std::string summary =
      std::to_string(rows.size()) + " files, " + std::to_string(bytes) + " bytes\r\n";
  if (clean) {
    summary += std::to_string(rows.size() - stayed) + " deleted, " + std::to_string(stayed) +
               " stayed\r\n";
  }
  if (command.out) {
    if (uint32_t code = fs.WriteFile(*command.out, std::string(kUtf8ByteOrderMark) + csv)) {
      // What was done is told all the same, before the error.
      console.Err(summary);
      throw AppError("cannot write " + *command.out + ": " + InOutErrorText(code));
    }
  } else {
    console.Out(console.OutIsFile() ? std::string(kUtf8ByteOrderMark) + csv : csv);
  }
  console.Err(summary);
  return stayed > 0 ? kExitSomeStayed : kExitDone;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CommandLine& command = parsed.command;
  auto fail = [&parsed](std::string why) {
    parsed.error = std::move(why);
    return parsed;
  };
  if (args.empty()) return parsed;
  for (const std::string& arg : args) {
    if (IsSwitch(arg) && (Lower(arg.substr(1)) == "help" || arg.substr(1) == "?")) {
      command.action = CommandLine::Action::kHelp;
      return parsed;
    }
  }
  bool haveAction = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string name = IsSwitch(arg) ? Lower(arg.substr(1)) : std::string();
    const bool valueFollows = i + 1 < args.size() && !IsSwitch(args[i + 1]);
    if (name == "list" || name == "clean") {
      if (haveAction) return fail("give only one of /list and /clean");
      haveAction = true;
      command.action = name == "list" ? CommandLine::Action::kList : CommandLine::Action::kClean;
      if (!valueFollows) return fail("/" + name + " needs a TAB: " + TabNames());
      const CommandLineTab* tab = FindTab(args[++i]);
      if (!tab) return fail("unknown TAB \"" + args[i] + "\": use " + TabNames());
      command.tab = tab->name;
    } else if (name == "out") {
      if (command.out) return fail("give /out only once");
      if (!valueFollows || args[i + 1].empty()) return fail("/out needs a FILE");
      command.out = args[++i];
    } else if (name == "permanent") {
      command.permanent = true;
    } else {
      return fail("unknown argument \"" + arg + "\"");
    }
  }
  if (!haveAction) return fail("/list or /clean is missing");
  if (command.permanent && command.action != CommandLine::Action::kClean)
    return fail("/permanent goes with /clean only");
  return parsed;
}

std::span<const CommandLineTab> CommandLineTabs() { return kTabs; }

std::string UsageText(const std::string& version) {
  std::string tabs;
  for (const CommandLineTab& tab : kTabs) tabs += std::string(tabs.empty() ? "" : ", ") + tab.name;
  return "Scourly" + (version.empty() ? std::string() : " " + version) +
         ": lists the files you usually no longer need, and deletes them.\r\n"
         "\r\n"
         "Usage:\r\n"
         "  Scourly.exe                        opens the window\r\n"
         "  Scourly.exe /list TAB [/out FILE]  lists what the tab's scan finds, as CSV\r\n"
         "  Scourly.exe /clean TAB [/permanent] [/out FILE]\r\n"
         "                                     lists, then deletes every listed file: to\r\n"
         "                                     the Recycle Bin, or for good with /permanent\r\n"
         "  Scourly.exe /help                  shows this text (also /?)\r\n"
         "\r\n"
         "TAB is one of: " + tabs + "\r\n"
         "The scans use the options saved in settings.ini beside Scourly.exe. The CSV\r\n"
         "(UTF-8) has the columns name,location,size,time and, for /clean, result:\r\n"
         "\"deleted\", or \"stayed: \" and the reason. It goes to FILE, or to the console.\r\n"
         "The console then shows \"N files, B bytes\" (and for /clean how many were deleted\r\n"
         "and how many stayed). Nothing asks a question: a file the Recycle Bin cannot\r\n"
         "take stays where it is.\r\n"
         "\r\n"
         "Exit codes: 0 done, every listed file went; 3 some files stayed;\r\n"
         "1 an error (settings.ini, the output file, Purgix.dll); 2 wrong arguments.\r\n";
}

MsgResult ConsoleUi::ShowMessage(const std::string& text, const std::string&, MsgButtons buttons,
                                MsgIcon) {
  console_.Err(text + "\r\n");
  return buttons == MsgButtons::kYesNo ? MsgResult::kNo : MsgResult::kOk;
}

void ConsoleUi::ShowError(const std::string& text) { console_.Err("error: " + text + "\r\n"); }

int RunCommandLine(const std::vector<std::string>& args, Platform& platform, Console& console) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  const std::string usage = UsageText(VersionOf(platform.version));
  if (!parsed.error.empty()) {
    console.Err(usage + "\r\nerror: " + parsed.error + "\r\n");
    return kExitUsage;
  }
  switch (parsed.command.action) {
    case CommandLine::Action::kWindow:
    case CommandLine::Action::kHelp:
      console.Out(usage);
      return kExitDone;
    default:
      break;
  }
  try {
    return Run(parsed.command, platform, console);
  } catch (const std::exception& error) {
    console.Err(std::string("error: ") + error.what() + "\r\n");
    return kExitError;
  }
}

}  // namespace scourly
