// A status bar of text panels: a thin layer over the common control. A
// screen reader reads each panel as a child of the bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/controls/accessible.h"
#include "ui/controls/window.h"

namespace scourly::gui {

class StatusBarControl {
 public:
  void Create(HWND parent, int id);
  // Panel widths at 96 DPI; the last panel takes what is left.
  void SetParts(const std::vector<int>& widths96, Dpi dpi);
  void SetText(int panel, const std::wstring& text);
  int Height() const;
  // Fits the bar to its parent's width (after the parent was resized).
  void FitToParent();
  HWND hwnd() const { return bar_; }

 private:
  HWND bar_ = nullptr;
  AccessibleControl access_;
};

}  // namespace scourly::gui
