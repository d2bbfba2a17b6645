// The "    More    " sub-tab of the Browser Cache tab: cleans the cache folders,
// cookie files and history files of Netscape 4.7 and Opera in one step.
//
// The four paths live only in the four edits. They are filled from the
// program's own registry key when it exists, otherwise from the browsers'
// settings, every time the sheet is shown. "Clear Now" hands the chosen
// targets that exist to Purgix.dll through the one hand-off file, by the
// same deletion run as the file tabs (delete/deletion_run.h): a target that
// is a link, or is reached through one, is never handed over, nor a folder
// that cannot be a browser's cache (a drive root, a system folder, a
// profile or one of its known folders, or one that holds them), nor a
// second path of a target already handed over, nor a path that is not a
// full one. The user is then told what was left on disk and why, each path
// once, as when the library leaves something, and the success message comes
// only when everything chosen went.
//
// The cleaner holds the sheet's own models and references to what it shares
// with the main window.
#pragma once

#include <string>

#include "delete/deletion_log.h"
#include "lists/controls.h"
#include "options/keep_list.h"
#include "platform/platform.h"

namespace scourly {

// The program's key (HKEY_LOCAL_MACHINE) and the browsers' keys
// (HKEY_CURRENT_USER, read only).
inline constexpr const char* kSavedPathsKey = "\\Software\\SW1\\Caches";
inline constexpr const char* kNetscapeBiffKey = "\\Software\\Netscape\\Netscape Navigator\\biff";
inline constexpr const char* kNetscapeMainKey = "\\Software\\Netscape\\Netscape Navigator\\Main";
inline constexpr const char* kOperaKey = "\\Software\\Opera Software";

inline constexpr const char* kCleanedText = "Files have been successfully cleaned!";
inline constexpr const char* kPathsSavedText = "Directory Paths have been saved successfully";
// What the user is told when the program's key can be neither opened nor
// created.
extern const char* const kPathsNotSavedText;

class TNetscapeOperaCleaner {
 public:
  TNetscapeOperaCleaner(Platform& platform, const bool& StopFlag, ToolButton& FindFilesTB);
  TNetscapeOperaCleaner(const TNetscapeOperaCleaner&) = delete;
  TNetscapeOperaCleaner& operator=(const TNetscapeOperaCleaner&) = delete;

  // What "Clear Now" never hands over (null: nothing), and where it writes
  // down each target's outcome (null: nowhere).
  const KeepList* keep = nullptr;
  DeletionLog* log = nullptr;

  // ---- The sheet's controls ----
  Label Label13;                                 // the note on closing the browsers
  CheckBox NCache, NCookies, NHistory;  // group box "Netscape 4.7"
  CheckBox OCache, OCookies, OHistory;  // group box "Opera"
  Edit NProfile, NCacheDir, OProgramDir, OCacheDir;
  Button ClearBtn, SaveBtn;

  // ---- Handlers ----
  // The sheet comes into view (every time): Find Files off, the four paths
  // from the saved key, else from the browsers' settings. A value that is not
  // text raises AppError and ends the showing there.
  void TabSheet7Show();
  // "Clear Now": the present targets of the ticked boxes to the Recycle Bin.
  // Throws AppError with the input/output message when the hand-off file
  // cannot be written (nothing is deleted then).
  void ClearBtnClick();
  // "Save Directory Paths": the four edits into the program's key. A value
  // that cannot be written raises AppError; the rest are not written.
  void SaveBtnClick();
  // The "..." buttons: the folder-browse dialog for NProfile, NCacheDir,
  // OProgramDir and OCacheDir.
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton4Click();

 private:
  void Browse(Edit& edit);
  void Tell(const std::string& text, MsgIcon icon);

  Platform& platform_;
  const bool& StopFlag_;
  ToolButton& FindFilesTB_;
  // The one browse dialog's memory: the folder chosen last by any button.
  std::string lastBrowsed_;
};

}  // namespace scourly
