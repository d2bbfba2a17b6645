// Deleting the files of result-list entries: the selected ones to the Recycle
// Bin (through the hand-off file and Purgix.dll) or permanently, or all of
// them to the Recycle Bin.
#pragma once

#include <string>

#include "lists/controls.h"
#include "platform/platform.h"

namespace scourly {

inline constexpr const char* kHandOffFileName = "FList.txt";

struct DeletionContext {
  Platform& platform;
  StatusBar& bar;
  const bool& stopFlag;
};

// Removes the selected entries and deletes their files. Throws AppError only
// when the running totals in the status bar cannot be read; the hand-off
// file's errors leave everything unchanged and are not reported.
void DeleteSel(DeletionContext& ctx, ResultList& list, bool toRecycleBin);

// Hands every entry to the Recycle Bin and empties the list. Throws AppError
// with the runtime's input/output message when the hand-off file cannot be
// written; the list then stays as it was.
void DeleteAll(DeletionContext& ctx, ResultList& list);

// The text the runtime gives an input/output error code.
std::string InOutErrorText(uint32_t code);

// What the user is told when Purgix.dll cannot be loaded.
extern const char* const kPurgixMissingText;

}  // namespace scourly
