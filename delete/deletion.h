// Deleting the files of result-list entries: the selected ones to the Recycle
// Bin (through the hand-off file and Purgix.dll) or permanently, or all of
// them to the Recycle Bin.
//
// Only what was listed is ever deleted: each row goes through one
// DeletionRun (delete/deletion_run.h), which checks it right before it goes
// and hands each item over once. What fails stays on disk and in the list.
// After the deletion the list keeps exactly the rows whose items are still
// on disk, selected, and the caller is told which stayed and why; rows whose
// items are gone leave the list, a second row of an item with its twin.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "delete/deletion_log.h"
#include "delete/deletion_run.h"
#include "lists/app_error.h"
#include "lists/controls.h"
#include "platform/platform.h"

namespace scourly {

// The hand-off file could not be written, so nothing was deleted; its text
// is the runtime's input/output message, shown by the standard error box.
class HandOffError : public AppError {
 public:
  using AppError::AppError;
};

// What became of one row a deletion took: `stayed` is null when its item is
// gone, else why the item is still on disk (a second row of one item gets
// its twin's reason).
using RowSettled = std::function<void(int index, const ResultRow& row, const StayedItem* stayed)>;

struct DeletionContext {
  Platform& platform;
  StatusBar& bar;
  const bool& stopFlag;
  std::string& totalSizeText;  // the tab's, kept equal to the rows' total
  // Filled by each routine: the items that stayed, each once, in hand-off
  // order.
  std::vector<StayedItem> stayed;
  // Told of every row the routine took, in list order, once its item's fate
  // is known and before the list changes (`index` is the row's place then).
  // The one place where each row's outcome is known.
  RowSettled rowSettled = nullptr;
  // What is never deleted (null: nothing), and where each item's outcome is
  // written down (null: nowhere).
  const KeepFilter* keep = nullptr;
  DeletionLog* log = nullptr;
};

// Deletes the selected entries' items. Throws HandOffError when the
// hand-off file cannot be written; the list then stays as it was.
void DeleteSel(DeletionContext& ctx, ResultList& list, bool toRecycleBin);

// Hands every entry's item to the Recycle Bin. Throws HandOffError when the
// hand-off file cannot be written; the list then stays as it was.
void DeleteAll(DeletionContext& ctx, ResultList& list);

// The one message that tells the user what stayed and why, naming the first
// few; empty when nothing stayed.
std::string StayedMessage(const std::vector<StayedItem>& stayed);

// The text the runtime gives an input/output error code.
std::string InOutErrorText(uint32_t code);

// What the user is told when Purgix.dll cannot be loaded.
extern const char* const kPurgixMissingText;

}  // namespace scourly
