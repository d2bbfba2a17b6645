// A label that works as a web link: a static control with SS_NOTIFY drawn in
// blue, underlined, with the hand cursor over it. The dialog that holds it
// forwards WM_CTLCOLORSTATIC and WM_SETCURSOR; a click arrives as STN_CLICKED.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/controls/window.h"

namespace scourly::gui {

class LinkLabel {
 public:
  // `background`: the label's own colour; none for the dialog's.
  void Attach(HWND label, std::optional<COLORREF> background = std::nullopt);
  // The label's font: `face` at `points`, underlined, for `dpi`.
  void SetFont(const wchar_t* face, int points, const Dpi& dpi);

  HWND hwnd() const { return label_; }

  // WM_CTLCOLORSTATIC: the brush for `control` when it is this label.
  HBRUSH Colour(HDC dc, HWND control) const;
  // WM_SETCURSOR: sets the hand and returns true when the pointer is on it.
  bool SetCursor(HWND under) const;

 private:
  HWND label_ = nullptr;
  Font font_;
  std::optional<COLORREF> background_;
  GdiObject<HBRUSH> brush_;
};

}  // namespace scourly::gui
