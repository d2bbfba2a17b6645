// A virtual multi-selection list: an owner-drawn list box that holds no rows
// of its own (LBS_NODATA), only their count and selection, and asks the model
// for what it paints. With columns it has a header above it and draws each
// column of a row from the model's own field, cut with an ellipsis at the
// column's edge. Screen readers read each row as the model gives it at the
// moment they ask, and the header's sections by their captions
// (ui/controls/accessible.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls/accessible.h"
#include "ui/controls/window.h"

namespace scourly::gui {

struct ListColumn {
  const wchar_t* caption;
  int width96;  // at 96 DPI
};

class VirtualList : public Window {
 public:
  struct Events {
    // The model's rows: the list asks only for rows the model has, also
    // while the list box still counts rows the model has dropped (a modal
    // loop may paint before the window copies the models again).
    std::function<int()> rowCount;
    std::function<std::string(int row)> rowText;  // UTF-8; fields joined by ";"
    std::function<std::string(int row, int column)> cellText;  // with columns
    std::function<void(std::vector<int>, int caret)> selectionChanged;  // by the user
    std::function<void(POINT screen)> contextMenu;
    std::function<void(int section)> headerClick;
    std::function<void()> doubleClick;
    // A key pressed in the list: true when handled (the list box's own
    // handling is then skipped).
    std::function<bool(int virtualKey)> keyDown;
  };

  // Creates the list as child `id` of `parent`; no columns: a plain list.
  void Create(HWND parent, int id, std::vector<ListColumn> columns, Events events);
  // Font of header and rows, header height and column widths for `dpi`.
  void SetMetrics(HFONT font, Dpi dpi);
  void Move(int x, int y, int w, int h);
  void Show(bool visible);
  void Focus() { SetFocus(list_); }
  // What a screen reader calls the list itself (the rows have their own names).
  void SetAccessibleName(const std::wstring& name) { SetWindowTextW(list_, name.c_str()); }

  // The rows changed: a new count, everything repainted, no selection.
  void SetCount(int count);
  // Copies a selection onto the list box: `selected(i)` for each row, and the
  // caret (focused row, -1 for none).
  void ApplySelection(int count, const std::function<bool(int)>& selected, int caret);

  HWND listBox() const { return list_; }
  HWND header() const { return header_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Layout();
  void DrawRow(const DRAWITEMSTRUCT& item);
  void ReportSelection();
  bool ModelHas(int row) const;
  // A row as a screen reader reads it: "CAPTION: FIELD" per column.
  std::wstring AccessibleName(int row) const;

  HWND list_ = nullptr;
  HWND header_ = nullptr;
  std::vector<ListColumn> columns_;
  Events events_;
  HFONT font_ = nullptr;
  Dpi dpi_;
  int headerHeight_ = 17;
  std::vector<std::string> captions_;  // the columns' captions, UTF-8
  AccessibleControl rowsAccess_;
  AccessibleControl headerAccess_;
};

}  // namespace scourly::gui
