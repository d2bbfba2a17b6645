#include "scan/walkers.h"

#include <deque>
#include <memory>

#include "platform/workers.h"
#include "scan/folder_prefetch.h"

namespace scourly {
namespace {

constexpr uint64_t kTicksPerDay = 864000000000ULL;

// Next entry the listing shows with `set`, skipping the ones it hides.
bool NextShown(FolderListing& listing, FindEntry& entry, uint32_t set) {
  while (listing.Next(entry)) {
    if (ShownByListing(entry.attributes, set)) return true;
  }
  return false;
}

bool IsFolder(const FindEntry& e) { return (e.attributes & kAttrDirectory) != 0; }

// The folder of a "...\*.*" pattern, ending in "\".
std::string PatternFolder(const std::string& pattern) {
  return pattern.size() >= 3 ? pattern.substr(0, pattern.size() - 3) : std::string();
}

// The empty-file walk passes over a folder marked compressed, encrypted, not
// indexed or as a link. A subfolder's listing opens with ".", which carries
// the folder's own attributes; a drive root has no "." and its first entry
// is just some file, which says nothing about the drive.
bool OwnAttributesPlain(const FindEntry& first) {
  return first.name != "." || PlainAttributes(first.attributes, kSetAllButSystem);
}

ResultRow MakeRow(WalkContext& ctx, const FindEntry& e, FolderText& location) {
  return ResultRow(e.name, location.Get(), e.size, e.lastWrite, ctx.dates.Of(e.lastWrite),
                   IsFolder(e));
}

}  // namespace

bool IsPassedOverName(const std::string& name) {
  return name == "." || name == ".." || name == "SendTo" || name == "NetHood";
}

const SharedDay& DateTexts::Of(uint64_t utcTicks) {
  uint64_t local = locale_.ToLocalFileTime(utcTicks);
  uint64_t day = local / kTicksPerDay;
  auto [it, added] = byDay_.try_emplace(day);
  if (added)
    it->second = SharedDay::Make(DayText{static_cast<int64_t>(day), locale_.ShortDate(local)});
  return it->second;
}

void FindMaskedFiles(WalkContext& ctx, const std::string& folder, const FileMask& mask,
                     ScanState& state, bool showProgress) {
  WalkObserver& progress = ctx.progress;
  if (progress.Stopped()) return;
  const std::string location = folder + "\\";
  if (ctx.keep.Keeps(location, true)) return;
  const KeepFilter::Names* kept = ctx.keep.In(location);
  FolderText shared(location);
  FindEntry e;
  if (auto files = ctx.fs.ListFolder(folder)) {
    while (!progress.Stopped() && NextShown(*files, e, kSetAllButSystem)) {
      if (IsFolder(e) || e.size == 0 || !mask.Matches(e.name)) continue;
      if (kept && kept->File(e.name)) continue;
      state.rows.push_back(MakeRow(ctx, e, shared));
      state.bytes += static_cast<int64_t>(e.size);
      ++state.count;
      if (showProgress) progress.Found(state.count, state.bytes, true);
    }
  }
  progress.Pump(location);
  auto folders = ctx.fs.ListFolder(folder);
  if (!folders) return;
  while (!progress.Stopped() && NextShown(*folders, e, kSetAllButSystem)) {
    // A junction or folder link is never followed: it may lead back up the
    // tree, or reach files already listed through their real path.
    if (IsFolder(e) && !IsPassedOverName(e.name) && !(e.attributes & kAttrReparsePoint) &&
        !(kept && kept->Folder(e.name)))
      FindMaskedFiles(ctx, location + e.name, mask, state, showProgress);
  }
}

void FindEmptyFiles(WalkContext& ctx, const std::string& pattern, ScanState& state) {
  WalkObserver& progress = ctx.progress;
  if (progress.Stopped()) return;
  const std::string folder = PatternFolder(pattern);
  if (ctx.keep.Keeps(folder, true)) return;
  const KeepFilter::Names* kept = ctx.keep.In(folder);
  FolderText shared(folder);
  auto listing = ctx.fs.ListFolder(folder.substr(0, folder.size() - 1));
  FindEntry e;
  if (!listing || !NextShown(*listing, e, kSetAllButSystem)) return;
  if (!OwnAttributesPlain(e)) return;
  do {
    if (PlainAttributes(e.attributes, kSetAllButSystem)) {
      // A kept entry is passed over like the four names.
      const bool passed = IsPassedOverName(e.name) ||
                          (kept && (IsFolder(e) ? kept->Folder(e.name) : kept->File(e.name)));
      if (IsFolder(e) && !passed) {
        FindEmptyFiles(ctx, folder + e.name + "\\*.*", state);
      } else if (!IsFolder(e) && e.size == 0 && !passed) {
        state.rows.push_back(MakeRow(ctx, e, shared));
        ++state.count;
        progress.Found(state.count, state.bytes, false);
      }
      progress.Pump(folder);
    }
  } while (NextShown(*listing, e, kSetAllButSystem) && !progress.Stopped());
}

void FindFolderFiles(WalkContext& ctx, const std::string& pattern, ScanState& state,
                     bool recurse) {
  WalkObserver& progress = ctx.progress;
  if (progress.Stopped()) return;
  const std::string folder = PatternFolder(pattern);
  if (ctx.keep.Keeps(folder, true)) return;
  const KeepFilter::Names* kept = ctx.keep.In(folder);
  FolderText shared(folder);
  auto listing = ctx.fs.ListFolder(folder.substr(0, folder.size() - 1));
  if (!listing) return;
  FindEntry e;
  while (NextShown(*listing, e, kSetAll)) {
    if (!PlainAttributes(e.attributes, kSetAll)) continue;
    // A kept entry is neither listed nor entered.
    if (kept && (IsFolder(e) ? kept->Folder(e.name) : kept->File(e.name))) continue;
    if (recurse && IsFolder(e) && !IsPassedOverName(e.name)) {
      FindFolderFiles(ctx, folder + e.name + "\\*.*", state, recurse);
    } else if (e.name != "." && e.name != "..") {
      state.rows.push_back(MakeRow(ctx, e, shared));
      state.bytes += static_cast<int64_t>(e.size);
      ++state.count;
      progress.Found(state.count, state.bytes, true);
    }
    progress.Pump(folder);
  }
}

namespace {

// Which walks of the sweep enter a folder (PrefetchFolder::tag bits).
constexpr uint32_t kMaskWalk = 1;
constexpr uint32_t kEmptyWalk = 2;

// Whether the empty-file walk goes on in a folder it entered, given the
// folder's shown entries.
bool EmptyWalkHere(const std::vector<FindEntry>& entries, bool emptyWalk) {
  return emptyWalk && !entries.empty() && OwnAttributesPlain(entries[0]);
}

// Which walks enter the subfolder `f` of a folder they both walk as given.
// A junction or folder link is never entered by the mask walks: it may lead
// back up the tree, or reach files already listed through their real path.
// A kept folder is entered by none.
uint32_t EnteringWalks(const FindEntry& f, bool maskWalk, bool emptyWalk,
                       const KeepFilter::Names* kept) {
  if (!IsFolder(f) || IsPassedOverName(f.name) || (kept && kept->Folder(f.name))) return 0;
  uint32_t walks = 0;
  if (maskWalk && !(f.attributes & kAttrReparsePoint)) walks |= kMaskWalk;
  if (emptyWalk && PlainAttributes(f.attributes, kSetAllButSystem)) walks |= kEmptyWalk;
  return walks;
}

// The single traversal behind SweepDrive. Each folder is listed once; its
// entries feed the per-mask row lists (files of a folder before those of its
// subfolders, as each mask's own walk would find them) and the empty-file
// list (in listing order, subfolders walked where they stand).
//
// With more than one listing thread, folders are listed ahead (FolderPrefetch)
// while this thread takes the listings in the order a walk on one thread
// would, so rows, progress reports and stop tests are the same either way;
// this thread lists too, and keeps pumping while it waits for a listing.
class DriveSweep {
 public:
  DriveSweep(WalkContext& ctx, const std::vector<FileMask>& masks, ScanState& state)
      : ctx_(ctx), masks_(masks), state_(state), maskRows_(masks.size()) {}

  void Run(const std::string& drive, unsigned workers) {
    const uint32_t walks = (masks_.empty() ? 0 : kMaskWalk) | kEmptyWalk;
    if (ctx_.keep.Keeps(drive + "\\", true)) {
      // A kept drive is not walked at all.
    } else if (workers <= 1) {
      Visit(drive, walks & kMaskWalk, true, 0);
    } else {
      // The walk's own thread lists too: `workers` threads in all.
      auto plan = [&keep = ctx_.keep](const PrefetchFolder& folder,
                                      std::vector<PlannedFolder>& out) { Plan(folder, keep, out); };
      FolderPrefetch prefetch(ctx_.fs, workers - 1, kSetAllButSystem, plan);
      prefetch_ = &prefetch;
      VisitListed(prefetch.Start(drive, walks));
      prefetch_ = nullptr;
    }
    for (auto& rows : maskRows_) Append(rows);
    Append(emptyRows_);
  }

 private:
  void Append(std::vector<ResultRow>& rows) {
    state_.rows.insert(state_.rows.end(), std::make_move_iterator(rows.begin()),
                       std::make_move_iterator(rows.end()));
    rows.clear();
  }

  // The subfolders of a listed folder that the sweep enters, for the workers.
  static void Plan(const PrefetchFolder& folder, const KeepFilter& keep,
                   std::vector<PlannedFolder>& out) {
    const bool maskWalk = folder.tag & kMaskWalk;
    const bool emptyWalk = EmptyWalkHere(folder.entries, folder.tag & kEmptyWalk);
    const KeepFilter::Names* kept = keep.In(folder.path + "\\");
    for (const FindEntry& f : folder.entries) {
      if (uint32_t walks = EnteringWalks(f, maskWalk, emptyWalk, kept))
        out.push_back({folder.path + "\\" + f.name, walks});
    }
  }

  // `folder` has no trailing backslash.
  void Visit(const std::string& folder, bool maskWalk, bool emptyWalk, size_t depth) {
    if (ctx_.progress.Stopped()) return;
    auto listing = ctx_.fs.ListFolder(folder);
    if (!listing) return;
    if (entriesByDepth_.size() <= depth) entriesByDepth_.resize(depth + 1);
    std::vector<FindEntry>& entries = entriesByDepth_[depth];
    entries.clear();
    const std::string location = folder + "\\";
    FindEntry e;
    // A folder of many thousand entries takes a while to list: the window
    // keeps answering meanwhile.
    for (size_t n = 1; !ctx_.progress.Stopped() && NextShown(*listing, e, kSetAllButSystem); ++n) {
      entries.push_back(std::move(e));
      if (n % 64 == 0) ctx_.progress.Pump(location);
    }
    listing.reset();
    WalkEntries(location, entries, maskWalk, emptyWalk, [&](const FindEntry& f, uint32_t walks) {
      Visit(location + f.name, walks & kMaskWalk, walks & kEmptyWalk, depth + 1);
    });
  }

  void VisitListed(PrefetchFolder& folder) {
    WalkObserver& progress = ctx_.progress;
    if (progress.Stopped()) return;
    const std::string location = folder.path + "\\";
    if (!prefetch_->Await(folder, [&] {
          progress.Pump(location);
          return !progress.Stopped();
        }))
      return;
    if (folder.listed) {
      size_t next = 0;
      WalkEntries(location, folder.entries, folder.tag & kMaskWalk, folder.tag & kEmptyWalk,
                  [&](const FindEntry&, uint32_t) { VisitListed(*folder.children[next++]); });
    }
    prefetch_->Release(folder);
  }

  // Rows and progress from one folder's entries; `enter(f, walks)` walks the
  // subfolder `f` where it stands.
  template <class Enter>
  void WalkEntries(const std::string& location, const std::vector<FindEntry>& entries,
                   bool maskWalk, bool emptyWalk, Enter&& enter) {
    WalkObserver& progress = ctx_.progress;
    FolderText shared(location);
    emptyWalk = EmptyWalkHere(entries, emptyWalk);
    const KeepFilter::Names* kept = ctx_.keep.In(location);

    if (maskWalk) {
      size_t seen = 0;
      for (const FindEntry& f : entries) {
        if (progress.Stopped()) return;
        if (++seen % 64 == 0) progress.Pump(location);
        if (IsFolder(f) || f.size == 0 || (kept && kept->File(f.name))) continue;
        for (size_t k = 0; k < masks_.size(); ++k) {
          if (!masks_[k].Matches(f.name)) continue;
          maskRows_[k].push_back(MakeRow(ctx_, f, shared));
          state_.bytes += static_cast<int64_t>(f.size);
          ++state_.count;
          progress.Found(state_.count, state_.bytes, true);
        }
      }
      progress.Pump(location);
    }

    for (const FindEntry& f : entries) {
      if (progress.Stopped()) return;
      bool plain = PlainAttributes(f.attributes, kSetAllButSystem);
      if (IsFolder(f)) {
        if (IsPassedOverName(f.name) || (kept && kept->Folder(f.name))) {
          if (emptyWalk && plain) progress.Pump(location);
          continue;
        }
        if (uint32_t walks = EnteringWalks(f, maskWalk, emptyWalk, kept)) enter(f, walks);
      } else if (emptyWalk && plain && f.size == 0 && !IsPassedOverName(f.name) &&
                 !(kept && kept->File(f.name))) {
        emptyRows_.push_back(MakeRow(ctx_, f, shared));
        ++state_.count;
        progress.Found(state_.count, state_.bytes, false);
      }
      if (emptyWalk && plain) progress.Pump(location);
    }
  }

  WalkContext& ctx_;
  const std::vector<FileMask>& masks_;
  ScanState& state_;
  std::vector<std::vector<ResultRow>> maskRows_;
  std::vector<ResultRow> emptyRows_;
  // One entry buffer per depth, reused; a deque keeps references stable.
  std::deque<std::vector<FindEntry>> entriesByDepth_;
  FolderPrefetch* prefetch_ = nullptr;
};

}  // namespace

void SweepDrive(WalkContext& ctx, const std::string& drive, const std::vector<FileMask>& masks,
                ScanState& state) {
  SweepDrive(ctx, drive, masks, state, WaitingWorkers());
}

void SweepDrive(WalkContext& ctx, const std::string& drive, const std::vector<FileMask>& masks,
                ScanState& state, unsigned workers) {
  DriveSweep(ctx, masks, state).Run(drive, workers);
}

}  // namespace scourly
