// Select All and Invert Selection on a result list, with the selection
// figures they leave in status panels 0 and 1.
#pragma once

#include "lists/controls.h"

namespace scourly {

// Selects every row; panel 0 "Selected Size: " and the size text of all rows,
// panel 1 "Selected Files: " and the count. An empty list changes nothing.
void SelectAll(ResultList& list, StatusBar& bar);

// Selects exactly the rows that were not selected; panel 0 "Selected Size "
// (no colon: the panel's text after an invert) and the size text of the
// newly selected rows, panel 1 "Selected Files: " and their count. An empty
// list shows "Selected Size 0 B" and "Selected Files: 0".
void InvertSel(ResultList& list, StatusBar& bar);

}  // namespace scourly
