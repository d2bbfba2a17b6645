// Program start: the Win32 services, the four windows in their order, the
// message loop until the main window closes. With arguments, the command
// line runs instead, and no window is made.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "about/about.h"
#include "app/main_form.h"
#include "cli/command_line.h"
#include "options/file_type.h"
#include "options/uoptions.h"
#include "platform/platform.h"
#include "platform/win32/win32_console.h"
#include "platform/win32/win32_windows.h"
#include "ui/controls/scoped.h"
#include "ui/dialogs/about_window.h"
#include "ui/dialogs/file_type_window.h"
#include "ui/dialogs/options_window.h"
#include "ui/main/main_window.h"

namespace {

// The arguments after the program's name.
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(scourly::Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

// A run of the command line: the window's services, but a console instead
// of message boxes and the deletion library's entry that shows nothing.
int RunWithoutWindow(const std::vector<std::string>& args) {
  using namespace scourly;
  // A drive without its medium must fail quietly, not ask for a disk.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  Win32Console console;
  ConsoleUi ui(console);
  Win32Windows services;
  Win32Purgix quietPurgix(PurgixEntry::kQuiet);
  Platform platform{services.fs,       ui,
                    services.locale,   quietPurgix,
                    services.shell,    services.urlCache,
                    services.registry, services.dateFormat,
                    services.version};
  return RunCommandLine(args, platform, console);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace scourly;
  if (std::vector<std::string> args = Arguments(); !args.empty()) return RunWithoutWindow(args);

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES |
                                           ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // COM for the whole run, released on every way out (it outlives the
  // windows and services below, which are destroyed first).
  gui::ScopedCom com;

  Win32Windows windows;
  Platform& platform = windows.platform;
  Win32Ui& ui = windows.ui;
  gui::Window::SetErrorReporter([&ui](const std::string& text) { ui.ShowError(text); });

  TUOptionsDialog optionsDialog(platform);
  TMainForm mainForm(platform, optionsDialog);

  // 1. The main window, which runs FormCreate once its controls exist.
  gui::MainWindow mainWindow(mainForm, ui);
  mainWindow.Create();
  if (!mainWindow.hwnd()) return 1;

  // 2. The options dialog; creating it loads (or first writes) settings.ini.
  gui::OptionsWindow optionsWindow(optionsDialog, ui);
  optionsWindow.Create(mainWindow.hwnd());
  mainWindow.Run([&] { optionsDialog.FormCreate(); });

  // 3. The file type dialog, asked by the options dialog's "Add...", and
  // 4. the about dialog; both hidden until asked for.
  TFileTypeDlg fileTypeDialog(ui);
  gui::FileTypeWindow fileTypeWindow(fileTypeDialog, ui);
  fileTypeWindow.Create(mainWindow.hwnd());
  optionsDialog.FileTypeDlg = &fileTypeDialog;
  TAboutDialog aboutDialog(platform.shell);
  mainForm.aboutDialog = &aboutDialog;
  gui::AboutWindow aboutWindow(aboutDialog, ui);
  aboutWindow.Create(mainWindow.hwnd());

  // Keyboard navigation of the modeless dialogs, in the main loop and while
  // a scan pumps messages.
  auto dialogMessage = [&](MSG& msg) {
    for (HWND dialog : {optionsWindow.hwnd(), fileTypeWindow.hwnd(), aboutWindow.hwnd()}) {
      if (dialog && IsWindowVisible(dialog) && IsDialogMessageW(dialog, &msg)) return true;
    }
    return false;
  };
  ui.SetMessageFilter(dialogMessage);

  mainWindow.ShowFirst();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (dialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ui.SetMessageFilter(nullptr);
  optionsDialog.view = nullptr;
  optionsDialog.FileTypeDlg = nullptr;
  gui::Window::SetErrorReporter(nullptr);
  return 0;
}
