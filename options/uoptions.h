// The options dialog's logic: it holds the scan options, loads them when it is
// created and each time it is shown, lets the user edit the two lists, and
// saves them on OK.
#pragma once

#include "options/file_type.h"
#include "options/keep_list.h"
#include "options/settings_file.h"
#include "platform/platform.h"
#include "platform/views.h"

namespace scourly {

inline constexpr int kPageFileTypes = 0;
inline constexpr int kPageScanDrives = 1;
inline constexpr int kPageKeep = 2;

// The question OK asks before it replaces a settings file at `path` that
// exists but cannot be read.
std::string UnreadableSettingsText(const std::string& path);

class TUOptionsDialog {
 public:
  explicit TUOptionsDialog(Platform& platform);

  ScanOptions options;  // OptionBox, DrivesBox, TempFiles

  // The page on view ("File Types" or "Scan Drives"); kept between showings.
  PageControl PageControl1;
  // The highlighted row of OptionBox, -1 for none (one row at a time).
  int OptionBoxIndex = -1;

  // The keep list in force: what no scan lists and no deletion touches.
  KeepList keep;
  // The "Keep" page: the list as edited (OK puts it in force, Cancel drops
  // it) and its highlighted row, -1 for none.
  KeepList KeepBox;
  int KeepBoxIndex = -1;

  // The file type dialog that "Add..." asks; set at program start.
  TFileTypeDlg* FileTypeDlg = nullptr;

  // Creation and showing handler: reloads the lists from the settings file
  // (writing the defaults when there is none).
  void FormCreate();
  // "Add...": asks for a mask; an existing one (same text, case included)
  // is checked, a new one appended checked.
  void AddClick();
  // "Remove": the highlighted row, if any.
  void RemoveClick();
  // "Check All" of the file types, and of the drives.
  void CheckClick();
  void Button1Click();
  // "Reset List": the default file types.
  void ResetClick();
  // "Description of File Types": the product's page in the browser.
  void Label4Click();
  // The "Keep" page's buttons: a file, or a folder (with everything below
  // it), chosen in the shell's dialogs; the highlighted entry removed.
  void AddFileBtnClick();
  void AddFolderBtnClick();
  void RemoveKeepBtnClick();
  // "OK": saves and hides the dialog.
  void OKBtnClick();
  // "Cancel", Esc and the close box: hides without saving or restoring.
  void CancelBtnClick();

  // Shows the dialog without waiting, or modally. A showing reloads the
  // lists; asking again while the dialog is open only brings it forward,
  // so the edits under way are kept.
  void Show();
  void ShowModal();
  bool Visible() const { return visible_; }

  SettingsFile& settings() { return settings_; }

  // Puts `entry` in force at once (and on the "Keep" page while the dialog
  // is open); false when it was kept already. SaveKeep writes the list in
  // force into the settings file and throws AppError when it cannot.
  bool AddKeep(const std::string& entry);
  void SaveKeep();

  FormView* view = nullptr;  // set by the window that draws the dialog

 private:
  void Hide();

  Platform& platform_;
  SettingsFile settings_;
  bool visible_ = false;
  std::string lastKeptFolder_;  // the folder the "Add Folder..." dialog chose last
};

}  // namespace scourly
