// Scourly's command line, for scheduled cleaning and scripts:
//   Scourly.exe /list TAB [/out FILE]
//   Scourly.exe /clean TAB [/permanent] [/out FILE]
//   Scourly.exe /help (or /?)
// A run shows no window. It runs the tab's own scan with the options in
// settings.ini, and /clean the window's own deletion (Delete All, or the
// permanent deletion of every row), so what it lists and deletes is what the
// window would. Nothing asks a question: where the Recycle Bin cannot take
// an item, the item stays and the report says so.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options/uoptions.h"
#include "platform/platform.h"
#include "scan/file_tab_scan.h"

namespace scourly {

// Exit codes.
inline constexpr int kExitDone = 0;         // done, and every listed item went
inline constexpr int kExitError = 1;        // settings, output file or Purgix.dll
inline constexpr int kExitUsage = 2;        // the arguments were wrong
inline constexpr int kExitSomeStayed = 3;   // /clean left some items on disk

struct CommandLine {
  enum class Action { kWindow, kHelp, kList, kClean };
  Action action = Action::kWindow;
  std::string tab;  // a name of CommandLineTabs()
  bool permanent = false;
  std::optional<std::string> out;
};

// A parsed command line, or in `error` one line saying what was wrong.
struct ParsedCommandLine {
  CommandLine command;
  std::string error;
};

// The arguments after the program's name. Switches are matched without
// regard to case and may start with "/" or "-"; no arguments at all means
// the window.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// A tab the command line can name, with the scan its window tab runs.
struct CommandLineTab {
  const char* name;
  void (*scan)(FileTabScan& tab, Platform& platform, TUOptionsDialog& options);
};
std::span<const CommandLineTab> CommandLineTabs();

// The usage text, lines ended by CR LF; `version` as "2.2.0" (may be empty).
std::string UsageText(const std::string& version);

// Where a run writes: the data (the CSV, or the usage asked for) and the
// messages (the summary, errors). Texts are UTF-8 with their line ends.
class Console {
 public:
  virtual ~Console() = default;
  virtual void Out(std::string_view text) = 0;
  virtual void Err(std::string_view text) = 0;
  // The data goes to a file (a redirected output), which gets the byte order
  // mark a CSV file starts with; a console or a pipe does not.
  virtual bool OutIsFile() const { return false; }
};

// The window toolkit of a run without windows: nothing is shown and nothing
// waits for an answer. A notice goes to the console's messages; a question,
// which no path of a run should come to, is answered "No", the answer that
// changes nothing.
class ConsoleUi : public Ui {
 public:
  explicit ConsoleUi(Console& console) : console_(console) {}
  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  void ShowError(const std::string& text) override;
  void SetHourglass(bool) override {}
  void PumpMessages() override {}
  void RunWhileAnswering(const std::function<void()>& work) override { work(); }

 private:
  Console& console_;
};

// Runs the command line `args` (not empty) on `platform`, whose Ui is a
// ConsoleUi, and returns the exit code.
int RunCommandLine(const std::vector<std::string>& args, Platform& platform, Console& console);

}  // namespace scourly
