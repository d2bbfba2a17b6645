// The folder walkers every file scan shares, and the scan state they fill.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "lists/result_row.h"
#include "options/keep_list.h"
#include "platform/filesystem.h"
#include "platform/locale.h"
#include "scan/mask_match.h"
#include "scan/walk_observer.h"

namespace scourly {

// Attribute sets of a listing: all but system entries (59) and all (63).
inline constexpr uint32_t kSetAllButSystem = 59;
inline constexpr uint32_t kSetAll = 63;

// Whether a listing made with `set` shows an entry: hidden, system, volume
// and directory entries need their bit in the set.
inline bool ShownByListing(uint32_t attributes, uint32_t set) {
  constexpr uint32_t kFiltered = kAttrHidden | kAttrSystem | kAttrVolumeLabel | kAttrDirectory;
  return (attributes & ~set & kFiltered) == 0;
}

// The plain-attribute test: no bit outside the set.
inline bool PlainAttributes(uint32_t attributes, uint32_t set) { return (attributes & ~set) == 0; }

// ".", "..", "SendTo" and "NetHood", compared exactly.
bool IsPassedOverName(const std::string& name);

// What one scan collects: rows in the order found, their count and bytes.
struct ScanState {
  std::vector<ResultRow> rows;
  int64_t count = 0;
  int64_t bytes = 0;
};

// Short date texts of file times, made once per local day and shared by
// every row of that day.
class DateTexts {
 public:
  explicit DateTexts(Locale& locale) : locale_(locale) {}
  const SharedDay& Of(uint64_t utcTicks);

 private:
  Locale& locale_;
  std::unordered_map<uint64_t, SharedDay> byDay_;
};

// A folder's location text, made when the folder's first row is found and
// shared by all its rows.
class FolderText {
 public:
  explicit FolderText(const std::string& location) : location_(location) {}
  const SharedText& Get() {
    if (!shared_) shared_ = SharedText::Make(location_);
    return shared_;
  }

 private:
  const std::string& location_;
  SharedText shared_;
};

// What a walk works with. A walk never lists what `keep` keeps and never
// enters a kept folder; every scan hands its walks the user's keep list
// (KeepFilter::None() lists everything).
struct WalkContext {
  FileSystem& fs;
  DateTexts& dates;
  WalkObserver& progress;
  const KeepFilter& keep;
};

// Non-empty files matching `mask` in `folder` (no trailing backslash, "C:"
// for a root) and every subfolder; a folder's files before its subfolders.
void FindMaskedFiles(WalkContext& ctx, const std::string& folder, const FileMask& mask,
                     ScanState& state, bool showProgress);

// Empty files of the tree of `pattern` (a folder path ending in "\*.*").
void FindEmptyFiles(WalkContext& ctx, const std::string& pattern, ScanState& state);

// Every entry of the folder of `pattern` (ending in "\*.*"), and of its
// subfolders when `recurse`; hidden and system entries included.
void FindFolderFiles(WalkContext& ctx, const std::string& pattern, ScanState& state, bool recurse);

// One traversal of a drive that yields exactly the rows of FindMaskedFiles
// for each mask in turn followed by FindEmptyFiles, in that order. Folders
// are listed by `workers` threads, the calling thread among them (by default
// WaitingWorkers), or, with 1, by the calling thread alone. The rows, the rows
// reported and the points where a stop takes effect are the same either way; while it
// waits for a worker's listing, the calling thread offers more pump points.
void SweepDrive(WalkContext& ctx, const std::string& drive, const std::vector<FileMask>& masks,
                ScanState& state);
void SweepDrive(WalkContext& ctx, const std::string& drive, const std::vector<FileMask>& masks,
                ScanState& state, unsigned workers);

}  // namespace scourly
