#include "ui/controls/link_label.h"

namespace scourly::gui {

void LinkLabel::Attach(HWND label, std::optional<COLORREF> background) {
  label_ = label;
  background_ = background;
  if (background) brush_.reset(CreateSolidBrush(*background));
}

void LinkLabel::SetFont(const wchar_t* face, int points, const Dpi& dpi) {
  LOGFONTW lf{};
  lf.lfHeight = dpi.FontHeight(points);
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = TRUE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  font_ = Font(CreateFontIndirectW(&lf));
  SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

HBRUSH LinkLabel::Colour(HDC dc, HWND control) const {
  if (control != label_ || !label_) return nullptr;
  SetTextColor(dc, RGB(0, 0, 255));
  if (background_) {
    SetBkColor(dc, *background_);
    return brush_.get();
  }
  SetBkMode(dc, TRANSPARENT);
  return GetSysColorBrush(COLOR_BTNFACE);
}

bool LinkLabel::SetCursor(HWND under) const {
  if (!label_ || under != label_) return false;
  ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

}  // namespace scourly::gui
