// The texts of the status bar's four panels and the refresh step that a list
// click or the showing of a tab runs.
#pragma once

#include <cstdint>
#include <string>

#include "lists/controls.h"

namespace scourly {

inline constexpr int kPanelSelSize = 0;
inline constexpr int kPanelSelFiles = 1;
inline constexpr int kPanelTotalFiles = 2;
inline constexpr int kPanelTotalSize = 3;

inline constexpr const char* kSelectedSizePrefix = "Selected Size: ";
inline constexpr const char* kSelectedFilesPrefix = "Selected Files: ";
inline constexpr const char* kTotalFilesPrefix = "Total Files: ";

std::string SelectedSizeText(int64_t bytes);
std::string SelectedFilesText(int64_t count);
std::string TotalFilesText(int64_t count);

// "Selected Size: 0 B" and "Selected Files: 0".
void ResetSelectionPanels(StatusBar& bar);
// The reset texts of all four panels, used for an empty list and by Clear.
void ResetPanels(StatusBar& bar);

// Sum of the sizes of the selected rows.
int64_t SelectedBytes(const ResultList& list);

// The refresh step of a result list: panels and the two delete buttons.
void RefreshListStatus(const ResultList& list, const std::string& totalSizeText, StatusBar& bar,
                       ToolButton& deleteAll, ToolButton& deleteSel);

}  // namespace scourly
