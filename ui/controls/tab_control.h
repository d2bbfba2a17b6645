// A tab control: a thin layer over the common control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "ui/controls/accessible.h"

namespace scourly::gui {

class TabControl {
 public:
  struct Tab {
    const wchar_t* caption;
    int image;  // -1: none
  };

  void Create(HWND parent, int id, DWORD style, const std::vector<Tab>& tabs);
  int Selected() const;
  void Select(int index);
  // The page area, in the parent's client coordinates.
  RECT PageRect() const;
  int RowCount() const;
  HWND hwnd() const { return tabs_; }

 private:
  HWND tabs_ = nullptr;
  AccessibleControl access_;  // a screen reader reads the tabs by their captions
};

}  // namespace scourly::gui
