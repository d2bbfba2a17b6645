#include "lists/selection.h"

#include "lists/result_row.h"
#include "lists/status_panels.h"

namespace scourly {
namespace {

constexpr const char* kInvertedSizePrefix = "Selected Size ";

}  // namespace

void SelectAll(ResultList& list, StatusBar& bar) {
  if (list.Count() == 0) return;
  int64_t sum = 0;
  for (int i = 0; i < list.Count(); ++i) {
    list.SetSelected(i, true);
    sum += static_cast<int64_t>(list[i].Size());
  }
  bar.Set(kPanelSelSize, SelectedSizeText(sum));
  bar.Set(kPanelSelFiles, SelectedFilesText(list.SelCount()));
}

void InvertSel(ResultList& list, StatusBar& bar) {
  int64_t sum = 0;
  int64_t count = 0;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Selected(i)) {
      list.SetSelected(i, false);
    } else {
      list.SetSelected(i, true);
      sum += static_cast<int64_t>(list[i].Size());
      ++count;
    }
  }
  bar.Set(kPanelSelSize, kInvertedSizePrefix + SizeText(sum));
  bar.Set(kPanelSelFiles, SelectedFilesText(count));
}

}  // namespace scourly
