// A status bar of text panels: a thin layer over the common control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

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
};

}  // namespace scourly::gui
