// Control models: the state of each control of a form, free of any UI code.
// The Win32 windows copy this state onto real controls after each handler and
// whenever the logic pumps messages; tests read it directly.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/result_row.h"

namespace scourly {

struct ToolButton {
  bool enabled = true;
  std::string hint;
};

struct MenuItem {
  bool enabled = true;
  std::string caption;
};

struct CheckBox {
  bool checked = false;
  std::string caption;
};

// A push button: its caption and hint.
struct Button {
  std::string caption;
  std::string hint;
};

struct Edit {
  std::string text;
};

struct Label {
  std::string caption;
};

struct GroupBox {
  std::string caption;
};

// A group of option buttons, `columns` side by side; no item chosen is -1.
struct RadioGroup {
  std::string caption;
  int columns = 1;
  std::vector<std::string> items;
  int itemIndex = -1;
};

// Position and width of a control that the window's resize rule moves.
struct Bounds {
  int left = 0;
  int width = 0;
};

struct PageControl {
  int activeIndex = 0;
};

// The four panels of the main window's status bar.
struct StatusBar {
  std::array<std::string, 4> panels;
  uint64_t revision = 0;  // bumped on every change, so a window repaints only when needed

  void Set(int panel, std::string text) {
    if (panels[panel] != text) {
      panels[panel] = std::move(text);
      ++revision;
    }
  }
  const std::string& Get(int panel) const { return panels[panel]; }
};

struct CheckItem {
  std::string text;
  bool checked = false;
};

// A check list box: ordered texts with a checked flag each.
struct CheckList {
  std::vector<CheckItem> items;

  int Count() const { return static_cast<int>(items.size()); }
  void Clear() { items.clear(); }
  void Add(std::string text, bool checked = false) { items.push_back({std::move(text), checked}); }
};

// A multi-selection list box. Rows are replaced in one step or removed, never
// edited in place. `revision` changes whenever rows change and
// `selectionRevision` whenever the logic changes the selection, so the window
// copies only what moved.
template <class Row>
class SelectableList {
 public:
  int Count() const { return static_cast<int>(rows_.size()); }
  const Row& operator[](int i) const { return rows_[i]; }
  const std::vector<Row>& Rows() const { return rows_; }

  bool Selected(int i) const { return selected_[i] != 0; }
  int SelCount() const { return selCount_; }
  void SetSelected(int i, bool on) {
    if (Selected(i) == on) return;
    selected_[i] = on;
    selCount_ += on ? 1 : -1;
    ++selectionRevision_;
  }
  // The whole selection at once, as the window reports it after a click.
  void SetSelection(const std::vector<int>& indexes) {
    std::fill(selected_.begin(), selected_.end(), 0);
    selCount_ = 0;
    for (int i : indexes) {
      if (i >= 0 && i < Count() && !selected_[i]) {
        selected_[i] = 1;
        ++selCount_;
      }
    }
    ++selectionRevision_;
  }

  // The focused row, -1 when there is none.
  int itemIndex = -1;
  // The list box's sorted style (case-insensitive order of the row texts).
  bool sorted = false;

  void Clear() { Assign({}); }
  void Assign(std::vector<Row> rows) {
    rows_ = std::move(rows);
    selected_.assign(rows_.size(), 0);
    selCount_ = 0;
    itemIndex = rows_.empty() ? -1 : 0;
    totalBytes_ = 0;
    if constexpr (kHasSize) {
      for (const Row& row : rows_) totalBytes_ += static_cast<int64_t>(row.Size());
    }
    Changed();
  }
  // Removes every selected row in one pass; the others keep their order.
  void RemoveSelected() { RemoveMarked(selected_, {}); }
  // Removes the rows whose `remove` flag is set, in one pass; of the rows that
  // stay, those whose `select` flag is set are selected (an empty `select`
  // selects none). Both vectors are indexed by the rows as they stand now.
  void RemoveMarked(const std::vector<uint8_t>& remove, const std::vector<uint8_t>& select) {
    size_t out = 0;
    std::vector<uint8_t> selectedAfter;
    selectedAfter.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (remove[i]) {
        if constexpr (kHasSize) totalBytes_ -= static_cast<int64_t>(rows_[i].Size());
        continue;
      }
      if (out != i) rows_[out] = std::move(rows_[i]);
      selectedAfter.push_back(!select.empty() && select[i]);
      ++out;
    }
    rows_.resize(out);
    selected_ = std::move(selectedAfter);
    selCount_ = static_cast<int>(std::count(selected_.begin(), selected_.end(), uint8_t{1}));
    if (itemIndex >= Count()) itemIndex = Count() - 1;
    Changed();
  }

  // The sum of the rows' sizes, kept as rows come and go (result rows only).
  int64_t TotalBytes() const { return totalBytes_; }

  uint64_t revision() const { return revision_; }
  uint64_t selectionRevision() const { return selectionRevision_; }

 private:
  void Changed() {
    ++revision_;
    ++selectionRevision_;
  }

  static constexpr bool kHasSize = requires(const Row& row) { row.Size(); };

  std::vector<Row> rows_;
  std::vector<uint8_t> selected_;
  int selCount_ = 0;
  int64_t totalBytes_ = 0;
  uint64_t revision_ = 0;
  uint64_t selectionRevision_ = 0;
};

using ResultList = SelectableList<ResultRow>;  // ListBox1, 2, 3, 5
using TextList = SelectableList<std::string>;  // ListBox4

}  // namespace scourly
