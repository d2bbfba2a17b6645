// The file type dialog's window: draws TFileTypeDlg's text field and focus,
// hands what the user typed to the logic and forwards OK and Cancel.
#pragma once

#include <windows.h>

#include "options/file_type.h"
#include "ui/controls/dialog.h"

namespace scourly::gui {

class FileTypeWindow : public Dialog {
 public:
  FileTypeWindow(TFileTypeDlg& form, Win32Ui& ui) : Dialog(ui), form_(form) {}

  // Creates the dialog hidden, owned by `owner`, and becomes the form's view.
  bool Create(HWND owner);

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void ApplyDpi() override;
  void Sync() override;
  void AfterShow() override;

 private:
  TFileTypeDlg& form_;
  bool syncing_ = false;  // the window itself is writing the field
};

}  // namespace scourly::gui
