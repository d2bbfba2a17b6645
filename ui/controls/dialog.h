// Base of Scourly's dialogs: a dialog template from the resources, created
// once and hidden, shown without blocking or modally as the logic asks, with
// the dialog manager's keyboard navigation. One dialog procedure binds the
// object on WM_INITDIALOG and forwards every later message to it, behind an
// exception barrier: an error escaping a handler is shown in the standard
// error box and the program goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/views.h"
#include "platform/win32/win32_platform.h"
#include "ui/controls/window.h"

namespace scourly::gui {

class Dialog : public FormView {
 public:
  explicit Dialog(Win32Ui& ui) : ui_(ui) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  ~Dialog() override;

  HWND hwnd() const { return hwnd_; }

  // Creates the dialog from template `templateId`, hidden, owned by `owner`.
  // False when the template or a control could not be created.
  bool Create(HWND owner, int templateId);

  // FormView. Show brings a dialog that is already open to the front;
  // ShowModal disables the program's other windows until the dialog hides.
  void Show() override;
  void ShowModal() override;
  void Hide() override;
  void Close() override { Hide(); }

  bool modal() const { return modal_; }

 protected:
  // The controls exist and the object is bound: set fonts, places, models.
  virtual void OnInit() {}
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual bool OnNotify(const NMHDR& /*hdr*/, LRESULT& /*result*/) { return false; }
  // Any other message; true when handled, `result` being what the dialog
  // procedure returns (for WM_CTLCOLOR* a brush).
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, INT_PTR& /*result*/) {
    return false;
  }
  // The DPI is first known (after OnInit) or changed: the form's font is
  // set on every control; the special fonts, sizes and places follow here.
  virtual void ApplyDpi() {}
  // Copies the logic's models onto the controls.
  virtual void Sync() {}
  // Just before the window appears, and once it is up (for the focus).
  virtual void BeforeShow() { Sync(); }
  virtual void AfterShow() {}

  // Runs a logic handler; an error escaping it is shown in the standard
  // error box. Message boxes raised meanwhile belong to this dialog. The
  // controls are brought up to date afterwards.
  void Run(const std::function<void()>& handler);

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  const Dpi& dpi() const { return dpi_; }
  // MS Sans Serif 8 points at the dialog's DPI: the form's font.
  HFONT font() const { return font_.get(); }

  // Moves control `id` to a rectangle given in pixels at 96 DPI (relative
  // to a point of origin that is already in pixels of the dialog's DPI).
  void Place(int id, int x96, int y96, int w96, int h96, POINT origin = {0, 0});
  // The size of a label's text in the label's font: an auto-sized label.
  SIZE TextSize(int id) const;
  // Sizes the window so that its client area (or its outer frame) has the
  // given size at 96 DPI, and centres it on the desktop.
  void SizeClient(int w96, int h96);
  void SizeOuter(int w96, int h96);
  // Moves the focus to control `id` the way the Tab key would (the default
  // button follows).
  void FocusItem(int id);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  // The form's font for `dpi`, on the dialog and every control.
  void SetFonts(int dpi);
  void EndModal();
  void Centre(int w, int h);

  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  Dpi dpi_;
  Font font_;
  bool modal_ = false;
  std::vector<HWND> disabledByModal_;
  HWND activeBeforeModal_ = nullptr;
};

}  // namespace scourly::gui
