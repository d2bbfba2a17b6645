#include "delete/deletion_run.h"

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "delete/shell_path.h"
#include "platform/workers.h"
#include "platform/wtf8.h"

namespace scourly {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "X:", "X:\" or "\\server\share" with or without its backslash.
bool IsRootPath(const std::string& path) {
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':')
    return path.size() == 2 || (path.size() == 3 && path[2] == '\\');
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos) return true;
    const size_t share = path.find('\\', server + 1);
    return share == std::string::npos || share + 1 == path.size();
  }
  return false;
}

shellpath::Verdict ShellVerdict(const std::string& path) {
  std::u16string units;
  if (!wtf8::ToUtf16(path, units)) return shellpath::Verdict::kNotTaken;
  return shellpath::Judge(units);
}

bool Missing(uint32_t error) { return error == kErrorFileNotFound || error == kErrorPathNotFound; }

// Holds `shared` when there is one: other threads take items at the same time.
std::unique_lock<std::mutex> Hold(std::mutex* shared) {
  return shared ? std::unique_lock<std::mutex>(*shared) : std::unique_lock<std::mutex>();
}

}  // namespace

std::string ReasonText(const StayedItem& item) {
  switch (item.reason) {
    case StayReason::kChanged: return "changed since the scan";
    case StayReason::kLink: return "a link";
    case StayReason::kInUse: return "in use";
    case StayReason::kNotRecycled: return "could not be moved to the Recycle Bin";
    case StayReason::kNotDeleted: return "could not be deleted";
    case StayReason::kShellName:
      return "a name the Recycle Bin would take for another file's; delete it permanently instead";
    case StayReason::kProtected: return item.detail + ", never handed over as a whole";
    case StayReason::kKept: return "kept";
  }
  return "";
}

uint32_t HandOffList::Write(FileSystem& fs) const {
  return fs.WriteFile(fs.ProgramFolder() + kHandOffFileName, text_);
}

DeletionRun::DeletionRun(Platform& platform, bool permanent, const KeepFilter* keep,
                         DeletionLog* log)
    : platform_(platform),
      permanent_(permanent),
      keep_(keep && !keep->Empty() ? keep : nullptr),
      log_(log),
      opener_(platform.fs.NewItemOpener()),
      guard_(platform.shell, *opener_) {}

void DeletionRun::Stay(size_t n, StayReason reason, std::mutex* shared, std::string detail) {
  items_[n].fate = Fate::kStays;
  items_[n].stayed = StayedItem{items_[n].path, reason, std::move(detail)};
  Log(n, shared);
}

void DeletionRun::Gone(size_t n, std::mutex* shared) {
  items_[n].fate = Fate::kGone;
  Log(n, shared);
}

void DeletionRun::Log(size_t n, std::mutex* shared) const {
  if (!log_) return;
  const Item& item = items_[n];
  LoggedItem line{permanent_ ? DeletionWay::kPermanent : DeletionWay::kRecycle, item.size,
                  item.path,
                  item.fate == Fate::kStays ? std::optional<std::string>(ReasonText(item.stayed))
                                            : std::nullopt};
  std::unique_lock<std::mutex> hold = Hold(shared);
  log_->Write(line);
}

size_t DeletionRun::Take(const std::string& path, const Expected& expected) {
  const size_t n = items_.size();
  items_.emplace_back().path = path;
  TakeAt(n, expected, *opener_, nullptr);
  return n;
}

size_t DeletionRun::TakeMany(size_t count, const ItemSource& item) {
  const size_t first = items_.size();
  items_.resize(first + count);
  ForEach(first, first + count, [&](size_t n, ItemOpener& opener, std::mutex* shared) {
    auto [path, expected] = item(n - first);
    items_[n].path = std::move(path);
    TakeAt(n, expected, opener, shared);
  });
  return first;
}

void DeletionRun::ForEach(size_t begin, size_t end,
                          const std::function<void(size_t, ItemOpener&, std::mutex*)>& work) {
  // Below this, starting the threads costs more than they save.
  constexpr size_t kWorthSharing = 64;
  const unsigned threads = end - begin < kWorthSharing ? 1 : WaitingWorkers();
  if (threads <= 1) {
    for (size_t n = begin; n < end; ++n) work(n, *opener_, nullptr);
    return;
  }
  // Each thread takes the next item in turn, so the items go roughly in
  // order and every thread stays busy to the end.
  std::mutex shared;
  std::atomic<size_t> next{begin};
  std::exception_ptr error;
  auto run = [&](ItemOpener& opener) {
    try {
      for (size_t n; (n = next.fetch_add(1)) < end;) work(n, opener, &shared);
    } catch (...) {
      std::lock_guard<std::mutex> hold(shared);
      if (!error) error = std::current_exception();
      next = end;  // the others stop at their next item
    }
  };
  std::vector<std::unique_ptr<ItemOpener>> openers;
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads; ++t) {
    openers.push_back(platform_.fs.NewItemOpener());
    try {
      helpers.emplace_back(run, std::ref(*openers.back()));
    } catch (const std::system_error&) {
      break;  // no more threads to be had: fewer do the work
    }
  }
  // Not opener_: the folder guard uses that one, from any thread.
  std::unique_ptr<ItemOpener> mine = platform_.fs.NewItemOpener();
  run(*mine);
  for (std::thread& helper : helpers) helper.join();
  if (error) std::rethrow_exception(error);
}

void DeletionRun::TakeAt(size_t n, const Expected& expected, ItemOpener& opener,
                         std::mutex* shared) {
  Item& taken = items_[n];
  const std::string& path = taken.path;
  if (expected.kind == Expected::Kind::kFile) taken.size = expected.size;
  if (IsRootPath(path)) return Stay(n, StayReason::kProtected, shared, "a drive root");

  // A second path of an item already taken shares its outcome.
  auto twin = [&](const ItemStat& stat) {
    if (stat.finalPath.empty()) return false;
    std::unique_lock<std::mutex> hold = Hold(shared);
    // The file's number tells two items apart only where Wine's final path
    // may be another item's; for any other path the final path alone does,
    // whether the item was opened or looked at (a look gives no number).
    const uint64_t number = shellpath::HasLooseName(path) ? stat.fileId : 0;
    auto [at, added] = byIdentity_.try_emplace({stat.finalPath, number}, n);
    if (!added) taken.twinOf = at->second;
    return !added;
  };

  // A permanent run deletes through the handle it checked. An item handed
  // to Purgix.dll is opened there right before the shell gets it (still
  // there, through no link, held by nobody), so here a look by its path,
  // where the system can give one, compares it with its row.
  ItemStat now;
  std::unique_ptr<OpenedItem> item;
  const ItemOpener::Glance glance =
      permanent_ ? ItemOpener::Glance::kOpen : opener.Look(path, now);
  if (glance == ItemOpener::Glance::kMissing) return;  // kAbsent
  if (glance == ItemOpener::Glance::kOpen) {
    uint32_t error = 0;
    item = opener.Open(path, permanent_, error);
    if (!item && error == kErrorSharingViolation && permanent_) {
      // Held by another program: it stays, but who it is still tells a
      // second path of it from another item.
      std::unique_ptr<OpenedItem> look = opener.Open(path, false, error);
      ItemStat stat;
      if (look && look->Stat(stat) && twin(stat)) return;
      return Stay(n, StayReason::kInUse, shared);
    }
    if (!item) {
      if (Missing(error)) return;  // kAbsent
      return Stay(n, error == kErrorSharingViolation ? StayReason::kInUse : StayReason::kNotDeleted,
                  shared);
    }
    if (!item->Stat(now)) return Stay(n, StayReason::kNotDeleted, shared);
  }
  if (expected.visibleOnly && (now.attributes & (kAttrHidden | kAttrSystem))) return;
  if (now.link) return Stay(n, StayReason::kLink, shared);
  if (twin(now)) return;

  const bool folder = (now.attributes & kAttrDirectory) != 0;
  if (!folder && !taken.size) taken.size = now.size;
  if ((expected.kind == Expected::Kind::kFile && folder) ||
      (expected.kind == Expected::Kind::kFolder && !folder) ||
      (!folder && ((expected.size && now.size != *expected.size) ||
                   (expected.lastWrite && now.lastWrite != *expected.lastWrite))))
    return Stay(n, StayReason::kChanged, shared);
  // Kept since the scan (or, for a folder, something in it).
  if (keep_ && keep_->Reaches(path, folder)) return Stay(n, StayReason::kKept, shared);

  if (permanent_) {
    if (uint32_t failed = item->Delete()) {
      return Stay(n, failed == kErrorSharingViolation ? StayReason::kInUse : StayReason::kNotDeleted,
                  shared);
    }
    return Gone(n, shared);
  }
  if (folder) {
    std::optional<std::string> refusal;
    {
      std::unique_lock<std::mutex> hold = Hold(shared);
      refusal = guard_.Refusal(path, now);
    }
    if (refusal) return Stay(n, StayReason::kProtected, shared, *refusal);
  }
  switch (ShellVerdict(path)) {
    case shellpath::Verdict::kTakes: break;
    case shellpath::Verdict::kTooLong: return Stay(n, StayReason::kNotRecycled, shared);
    case shellpath::Verdict::kNotTaken: return Stay(n, StayReason::kShellName, shared);
  }
  taken.fate = Fate::kHandedOver;
}

const HandOffList& DeletionRun::HandOff() const {
  for (; handOffThrough_ < items_.size(); ++handOffThrough_) {
    const Item& item = items_[handOffThrough_];
    if (item.twinOf) {
      // The hand-off file keeps a line for every row handed over; the
      // library hands the item to the shell once.
      if (!permanent_ && items_[*item.twinOf].fate == Fate::kHandedOver &&
          ShellVerdict(item.path) == shellpath::Verdict::kTakes)
        handOff_.Add(item.path);
    } else if (item.fate == Fate::kHandedOver) {
      handOff_.Add(item.path);
    }
  }
  return handOff_;
}

void DeletionRun::Settle() {
  HandOff();  // written before any outcome changes
  // Where many items of one folder were handed over, one listing of the
  // folder tells which of them are gone: a name it no longer holds (in any
  // case) is gone. A name with a "~" may be a short alias the listing does
  // not show, so it is opened like the items of other folders.
  constexpr size_t kWorthListing = 16;
  // Each folder's handed items: the item and where its name starts.
  std::unordered_map<std::string, std::vector<std::pair<size_t, size_t>>> byFolder;
  for (size_t n = 0; n < items_.size(); ++n) {
    const std::string& path = items_[n].path;
    const size_t slash = path.rfind('\\');
    if (items_[n].fate != Fate::kHandedOver || slash == std::string::npos || slash < 2 ||
        slash + 1 >= path.size() || path.find('~', slash) != std::string::npos)
      continue;
    byFolder[path.substr(0, slash)].emplace_back(n, slash + 1);
  }
  for (const auto& [folder, handed] : byFolder) {
    if (handed.size() < kWorthListing) continue;
    std::unique_ptr<FolderListing> listing = platform_.fs.ListFolder(folder);
    if (!listing) continue;
    std::unordered_set<std::string> names;
    for (FindEntry entry; listing->Next(entry);) names.insert(UpperOrdinal(entry.name));
    for (const auto& [n, name] : handed) {
      if (!names.count(UpperOrdinal(std::string_view(items_[n].path).substr(name)))) Gone(n, nullptr);
    }
  }
  ForEach(0, items_.size(), [this](size_t n, ItemOpener& opener, std::mutex* shared) {
    if (items_[n].fate != Fate::kHandedOver) return;
    if (std::optional<StayReason> reason = StayedAfterHandOff(opener, items_[n].path)) {
      Stay(n, *reason, shared);
    } else {
      Gone(n, shared);
    }
  });
}

std::optional<StayedItem> DeletionRun::StayedOf(size_t n) const {
  const Item& item = items_[n];
  if (item.twinOf || item.fate != Fate::kStays) return std::nullopt;
  return item.stayed;
}

std::vector<StayedItem> DeletionRun::Stayed() const {
  std::vector<StayedItem> stayed;
  for (size_t n = 0; n < items_.size(); ++n) {
    if (std::optional<StayedItem> item = StayedOf(n)) stayed.push_back(std::move(*item));
  }
  return stayed;
}

std::optional<StayReason> StayedAfterHandOff(ItemOpener& opener, const std::string& path) {
  uint32_t error = 0;
  std::unique_ptr<OpenedItem> item = opener.Open(path, false, error);
  if (!item && Missing(error)) return std::nullopt;
  // A link the run's look could not see (one shown as a plain file), which
  // Purgix.dll refused to hand over.
  ItemStat stat;
  if (item && item->Stat(stat) && stat.link) return StayReason::kLink;
  const bool inUse = !opener.Open(path, true, error) && error == kErrorSharingViolation;
  return inUse ? StayReason::kInUse : StayReason::kNotRecycled;
}

}  // namespace scourly
