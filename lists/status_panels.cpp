#include "lists/status_panels.h"

#include "lists/result_row.h"

namespace scourly {

std::string SelectedSizeText(int64_t bytes) { return kSelectedSizePrefix + SizeText(bytes); }

std::string SelectedFilesText(int64_t count) {
  return kSelectedFilesPrefix + std::to_string(count);
}

std::string TotalFilesText(int64_t count) { return kTotalFilesPrefix + std::to_string(count); }

void ResetSelectionPanels(StatusBar& bar) {
  bar.Set(kPanelSelSize, SelectedSizeText(0));
  bar.Set(kPanelSelFiles, SelectedFilesText(0));
}

void ResetPanels(StatusBar& bar) {
  ResetSelectionPanels(bar);
  bar.Set(kPanelTotalFiles, TotalFilesText(0));
  bar.Set(kPanelTotalSize, SizeText(0));
}

int64_t SelectedBytes(const ResultList& list) {
  int64_t sum = 0;
  if (list.SelCount() == 0) return sum;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Selected(i)) sum += static_cast<int64_t>(list[i].Size());
  }
  return sum;
}

void RefreshListStatus(const ResultList& list, const std::string& totalSizeText, StatusBar& bar,
                       ToolButton& deleteAll, ToolButton& deleteSel) {
  if (list.Count() == 0) {
    deleteAll.enabled = false;
    ResetPanels(bar);  // DeleteSelTB keeps its state here
    return;
  }
  deleteAll.enabled = true;
  bar.Set(kPanelSelSize, SelectedSizeText(SelectedBytes(list)));
  bar.Set(kPanelSelFiles, SelectedFilesText(list.SelCount()));
  bar.Set(kPanelTotalFiles, TotalFilesText(list.Count()));
  bar.Set(kPanelTotalSize, totalSizeText);
  deleteSel.enabled = list.SelCount() > 0;
}

}  // namespace scourly
