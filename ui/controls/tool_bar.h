// A flat toolbar of image buttons with hints: a thin layer over the common
// control that keeps only the hint texts its tooltip asks for. A screen
// reader reads each button by its hint; with the keyboard focus, the arrow
// keys move between the enabled buttons and Space or Enter presses one.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "ui/controls/accessible.h"
#include "ui/controls/window.h"

namespace scourly::gui {

class ToolBarControl {
 public:
  // A button (command id and picture index), or a separator (command 0).
  struct Button {
    int cmd;
    int image;
  };

  ToolBarControl() = default;
  ~ToolBarControl();
  void Create(HWND parent, int id, const std::vector<Button>& buttons);
  // Pictures, button size and the 8-pixel separators for `dpi`.
  void SetMetrics(HIMAGELIST images, int imageSize, HFONT font, Dpi dpi);

  void Enable(int cmd, bool enabled);
  bool Enabled(int cmd) const;
  void SetHint(int cmd, const std::wstring& hint);
  // Answers the tooltip's request for a hint; true when it was this bar's.
  bool AnswerHint(const NMHDR& hdr);

  HWND hwnd() const { return bar_; }
  HWND toolTip() const { return toolTip_; }

  // The buttons' commands and their places on the bar, separators left out.
  struct Place {
    int cmd;
    int index;
  };
  std::vector<Place> Buttons() const;
  const std::wstring& Hint(int cmd) const;
  // Clicks the button of `cmd` as the mouse does: the bar's owner gets the
  // command later, from its message loop, when the button is enabled.
  void Press(int cmd) const;

 private:
  static LRESULT CALLBACK Keyboard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR self);
  // The hot button moved by `step` enabled buttons (0: the first enabled).
  void MoveHot(int step);

  HWND bar_ = nullptr;
  HWND toolTip_ = nullptr;
  std::map<int, std::wstring> hints_;
  AccessibleControl access_;
};

}  // namespace scourly::gui
