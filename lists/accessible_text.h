// What a screen reader reads of the lists and the toolbar: names built from
// the fields the screen shows, and the events that tell it a list's
// selection changed. Portable, so the wording is tested on the host.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/result_row.h"

namespace scourly {

// A row of a list with columns, read as "CAPTION: CELL" per column joined by
// ", ": for a result row "File Name: NAME, Location: FOLDER, Size (B): SIZE,
// Time Stamp: DATE". Each cell is the row's own field, so a name holding ";"
// reads whole.
std::string ColumnsName(const std::vector<std::string>& captions,
                        const std::function<std::string(int column)>& cell);

// Column k of a result row (0 "File Name" to 3 "Time Stamp") as the list
// draws it: the size is the full byte count in decimal.
std::string ResultCell(const ResultRow& row, int column);

// A button's name from its hint: a single "&" marks a shortcut letter and is
// dropped, "&&" reads as one "&", and a line break reads as one blank.
std::string NameFromHint(std::string_view hint);

// One event announcing a change of a list's selection.
struct SelectionEvent {
  enum Kind { kSelection, kAdd, kRemove, kWithin };
  Kind kind;
  int row;  // -1 for kWithin: the list as a whole
  bool operator==(const SelectionEvent&) const = default;
};

// A list box's events for a selection going from `before` to `after` (row
// numbers, ascending): nothing when nothing changed; "selection" when one
// row alone is selected now; one "add" or "remove" per row when few rows
// changed; otherwise one "changed within" for the list, so selecting a
// million rows is one event, not a million.
std::vector<SelectionEvent> SelectionEvents(const std::vector<int>& before,
                                            const std::vector<int>& after);

// Above this many changed rows a selection change is one "changed within".
inline constexpr size_t kMaxSelectionEvents = 16;

}  // namespace scourly
