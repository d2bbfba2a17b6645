// Program start: the Win32 services, the four windows in their order, the
// message loop until the main window closes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <exception>

#include "app/main_form.h"
#include "options/uoptions.h"
#include "platform/platform.h"
#include "ui/main/main_window.h"
#include "ui/controls/shell_form.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace scourly;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES |
                                           ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  Win32FileSystem fs;
  Win32Ui ui;
  Win32Locale locale;
  Win32Purgix purgix;
  Win32Shell shell;
  Platform platform{fs, ui, locale, purgix, shell};

  TUOptionsDialog optionsDialog(platform);
  TMainForm mainForm(platform, optionsDialog);

  // 1. The main window, which runs FormCreate once its controls exist.
  gui::MainWindow mainWindow(mainForm, ui);
  mainWindow.Create();
  if (!mainWindow.hwnd()) return 1;

  // 2. The options dialog; creating it loads (or first writes) settings.ini.
  //    Its window is a shell until the dialog's own controls are drawn.
  gui::ShellForm optionsWindow;
  optionsWindow.Create(mainWindow.hwnd(), L"Options", {330, 339},
                       WS_POPUP | WS_CAPTION | WS_SYSMENU);
  optionsDialog.view = &optionsWindow;
  mainWindow.Run([&] { optionsDialog.FormCreate(); });

  // 3. The file type dialog and 4. the about dialog, hidden for the whole run.
  gui::ShellForm fileTypeWindow;
  fileTypeWindow.Create(mainWindow.hwnd(), L"File Type", {230, 114},
                        WS_POPUP | WS_CAPTION | WS_SYSMENU);
  gui::ShellForm aboutWindow;
  aboutWindow.Create(mainWindow.hwnd(), L"About Scourly", {400, 300},
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);

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
  CoUninitialize();
  return 0;
}
