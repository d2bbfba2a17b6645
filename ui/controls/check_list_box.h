// A check list box: an owner-drawn list box (one highlighted row at a time)
// whose rows each carry a check box. It draws a CheckList model and reports
// the user's toggles; the model itself is changed by the logic's side.
// Each row's item data is its checked flag (1 or 0), readable from outside.
// A screen reader reads each row's text with its check mark, and can toggle
// it as the row's default action.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "lists/controls.h"
#include "ui/controls/accessible.h"
#include "ui/controls/window.h"

namespace scourly::gui {

class CheckListBox {
 public:
  // Takes over the list box `list` (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
  // `toggled(row)` runs when the user clicks a row's check box or presses
  // the space bar on the highlighted row.
  void Attach(HWND list, std::function<void(int row)> toggled);
  ~CheckListBox();

  HWND hwnd() const { return list_; }

  // Rows 13 pixels high at 96 DPI.
  void SetMetrics(const Dpi& dpi);
  // Copies the rows and their checks; repaints only what changed. A change
  // of the rows' texts replaces them all.
  void Assign(const CheckList& model);
  // The highlighted row, -1 for none.
  void SetHighlight(int row);
  int Highlight() const;

  // WM_DRAWITEM for this list.
  void Draw(const DRAWITEMSTRUCT& item) const;

 private:
  static LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR self);
  // The row whose check box lies under a point of the list's client area.
  int CheckBoxAt(POINT pt) const;
  void AnnounceHighlight();

  HWND list_ = nullptr;
  std::function<void(int)> toggled_;
  Dpi dpi_;
  std::vector<CheckItem> shown_;
  AccessibleControl access_;
};

}  // namespace scourly::gui
