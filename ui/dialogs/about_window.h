// The About window: the about picture at the top left of a white window with
// the maker's web address over it as a link. Not modal; the close box hides it.
//
// At other DPIs than 96 the window, the picture and the link grow together,
// so the link stays on its band of the picture: the picture is drawn for
// 100, 150 and 200 percent, and the one for the DPI is shown at its size
// (other scales stretch the next larger one down, smoothly).
#pragma once

#include <windows.h>

#include "about/about.h"
#include "ui/controls/dialog.h"
#include "ui/controls/link_label.h"

namespace scourly::gui {

// Decodes a GIF held in the program's resources into a bitmap.
Bitmap LoadGifResource(int resourceId, SIZE& size);

class AboutWindow : public Dialog {
 public:
  AboutWindow(TAboutDialog& form, Win32Ui& ui) : Dialog(ui), form_(form) {}

  // Creates the window hidden, owned by `owner`, and becomes the form's view.
  bool Create(HWND owner);

  // The picture as shown (pixels), for tests: empty when it could not be read.
  SIZE pictureSize() const { return shownSize_; }

 protected:
  void OnInit() override;
  void OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  void ApplyDpi() override;
  void Sync() override;

 private:
  void DrawPicture(const DRAWITEMSTRUCT& item) const;

  TAboutDialog& form_;
  LinkLabel label1_;
  Bitmap picture_;
  SIZE pictureSize_{};  // as decoded
  SIZE shownSize_{};    // at the window's DPI
};

}  // namespace scourly::gui
