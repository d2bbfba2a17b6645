// A flat toolbar of image buttons with hints: a thin layer over the common
// control that keeps only the hint texts its tooltip asks for.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "ui/controls/window.h"

namespace scourly::gui {

class ToolBarControl {
 public:
  // A button (command id and picture index), or a separator (command 0).
  struct Button {
    int cmd;
    int image;
  };

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

 private:
  HWND bar_ = nullptr;
  HWND toolTip_ = nullptr;
  std::map<int, std::wstring> hints_;
};

}  // namespace scourly::gui
