// The file type dialog's logic: asks for one file mask for the options
// dialog's "Add...", checks it by the extension rule, and ends with OK only
// for a text that passes.
#pragma once

#include <string>

#include "lists/controls.h"
#include "platform/ui.h"
#include "platform/views.h"

namespace scourly {

inline constexpr const char* kBadExtensionMessage = "Incorrect format specified for file extension";

// The extension rule: the text has a "." and exactly three characters follow
// the first one. Nothing else is looked at (wildcards, blanks, more dots and
// what stands before the dot all pass), so the text is taken as entered.
bool IsValidFileExtension(const std::string& text);

enum class TModalResult { mrNone, mrOk, mrCancel };

// A one-line text field.
class TFileTypeDlg {
 public:
  explicit TFileTypeDlg(Ui& ui);

  Edit Edit1;
  // The control that has the focus: set by FormShow, read by the window.
  enum class Focus { kNone, kEdit1 } ActiveControl = Focus::kNone;
  TModalResult ModalResult = TModalResult::mrNone;

  // Shows the dialog modally; true when it ended with OK, the mask then in
  // Edit1.text exactly as entered.
  bool Execute();

  // Each showing: an empty field with the focus.
  void FormShow();
  // "OK" and Enter: ends with OK when the text passes; otherwise tells the
  // user and stays open with the text as entered.
  void OKBtnClick();
  // "Cancel", Esc and the close box.
  void CancelBtnClick();

  FormView* view = nullptr;  // set by the window that draws the dialog

 private:
  Ui& ui_;
};

}  // namespace scourly
