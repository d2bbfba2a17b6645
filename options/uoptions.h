// The options dialog's logic: it holds the scan options, loads them when it is
// created and each time it is shown, and saves them on OK.
#pragma once

#include "options/settings_file.h"
#include "platform/platform.h"
#include "platform/views.h"

namespace scourly {

class TUOptionsDialog {
 public:
  explicit TUOptionsDialog(Platform& platform);

  ScanOptions options;  // OptionBox, DrivesBox, TempFiles

  // Creation and showing handler: reloads the lists from the settings file
  // (writing the defaults when there is none).
  void FormCreate();
  // "Reset List": the default file types.
  void ResetClick();
  // "OK": saves and hides the dialog.
  void OKBtnClick();

  // Shows the dialog without waiting, or modally; both reload first.
  void Show();
  void ShowModal();

  SettingsFile& settings() { return settings_; }

  FormView* view = nullptr;  // set by the window that draws the dialog

 private:
  Platform& platform_;
  SettingsFile settings_;
};

}  // namespace scourly
