// The options dialog's window: draws TUOptionsDialog's models (the two check
// lists, the temporary files box, the page on view) and forwards the user's
// clicks to its handlers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "options/uoptions.h"
#include "ui/controls/check_list_box.h"
#include "ui/controls/dialog.h"
#include "ui/controls/image_strip.h"
#include "ui/controls/link_label.h"

namespace scourly::gui {

class OptionsWindow : public Dialog {
 public:
  OptionsWindow(TUOptionsDialog& form, Win32Ui& ui) : Dialog(ui), form_(form) {}

  // Creates the dialog hidden, owned by `owner`, and becomes the form's view.
  bool Create(HWND owner);

 protected:
  void OnInit() override;
  void OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& hdr, LRESULT& result) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  void ApplyDpi() override;
  void Sync() override;
  void AfterShow() override;

 private:
  void ShowPage(int page);
  // The "Keep" page's list, refilled only when its entries changed.
  void SyncKeepBox();

  TUOptionsDialog& form_;
  CheckListBox optionBox_, drivesBox_;
  LinkLabel label4_;
  ImageStrip images_;
  Font arialFont_;  // "Windows Temporary Files"
  int shownPage_ = -1;
  std::vector<std::string> shownKeep_;
  bool keepBoxStale_ = true;
};

}  // namespace scourly::gui
