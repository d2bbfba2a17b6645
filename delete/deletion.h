// Deleting the files of result-list entries: the selected ones to the Recycle
// Bin (through the hand-off file and Purgix.dll) or permanently, or all of
// them to the Recycle Bin.
//
// Only what was listed is ever deleted. Right before the hand-off (or the
// permanent deletion) each row's path is checked against what the scan
// found there: still there, still a file (or still a folder), not a link,
// and a file still of its size and last-write time. What fails stays on disk
// and in the list. After the deletion the list keeps exactly the rows whose
// items are still on disk, selected, and the caller is told which stayed and
// why; rows whose items are gone leave the list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "delete/deletion_log.h"
#include "lists/controls.h"
#include "options/keep_list.h"
#include "platform/platform.h"

namespace scourly {

inline constexpr const char* kHandOffFileName = "FList.txt";

// The hand-off file "FList.txt" beside the program, as Purgix.dll reads it:
// one exact path per line (WTF-8), each ended by CR LF. Every hand-off goes
// through this one writer.
class HandOffList {
 public:
  void Add(const std::string& path) { text_.append(path).append("\r\n"); }
  bool Empty() const { return text_.empty(); }
  const std::string& Text() const { return text_; }
  // Creates or empties the file and writes the paths. Returns 0 or the
  // system error code.
  uint32_t Write(FileSystem& fs) const;

 private:
  std::string text_;
};

// Why a listed item is still on disk after a deletion.
enum class StayReason {
  kChanged,      // no longer what was listed (another kind, size or time)
  kLink,         // its path leads through a link
  kInUse,        // another program holds it
  kNotRecycled,  // the Recycle Bin did not take it
  kNotDeleted,   // it could not be deleted (read-only, a folder, access denied)
  kKept,         // the user keeps it (or something in it) since the scan
};

// The reason as the user is told it.
const char* StayReasonText(StayReason reason);

struct StayedItem {
  std::string path;
  StayReason reason;
};

struct DeletionContext {
  Platform& platform;
  StatusBar& bar;
  const bool& stopFlag;
  std::string& totalSizeText;  // the tab's, kept equal to the rows' total
  // Filled by each routine: the items that stayed, in hand-off order.
  std::vector<StayedItem> stayed;
  // What is never deleted (null: nothing), and where each item's outcome is
  // written down (null: nowhere).
  const KeepFilter* keep = nullptr;
  DeletionLog* log = nullptr;
};

// Deletes the selected entries' items. The hand-off file's errors leave
// everything unchanged and are not reported.
void DeleteSel(DeletionContext& ctx, ResultList& list, bool toRecycleBin);

// Hands every entry's item to the Recycle Bin. Throws AppError with the
// runtime's input/output message when the hand-off file cannot be written;
// the list then stays as it was.
void DeleteAll(DeletionContext& ctx, ResultList& list);

// Where a path handed to Purgix.dll stands once the library has run:
// nothing when it is gone, else why it stayed (kInUse or kNotRecycled).
std::optional<StayReason> StayedAfterHandOff(FileSystem& fs, ItemOpener& opener,
                                             const std::string& path);

// The one message that tells the user what stayed and why, naming the first
// few; empty when nothing stayed.
std::string StayedMessage(const std::vector<StayedItem>& stayed);

// The text the runtime gives an input/output error code.
std::string InOutErrorText(uint32_t code);

// What the user is told when Purgix.dll cannot be loaded.
extern const char* const kPurgixMissingText;

}  // namespace scourly
