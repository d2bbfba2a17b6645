#include "delete/deletion_run.h"

#include "delete/shell_path.h"
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
    : permanent_(permanent),
      keep_(keep && !keep->Empty() ? keep : nullptr),
      log_(log),
      opener_(platform.fs.NewItemOpener()),
      guard_(platform.shell, *opener_) {}

size_t DeletionRun::Stay(size_t n, StayReason reason, std::string detail) {
  items_[n].fate = Fate::kStays;
  items_[n].stayed = StayedItem{items_[n].path, reason, std::move(detail)};
  Log(n);
  return n;
}

size_t DeletionRun::Gone(size_t n) {
  items_[n].fate = Fate::kGone;
  Log(n);
  return n;
}

void DeletionRun::Log(size_t n) const {
  if (!log_) return;
  const Item& item = items_[n];
  log_->Write({permanent_ ? DeletionWay::kPermanent : DeletionWay::kRecycle, item.size, item.path,
               item.fate == Fate::kStays ? std::optional<std::string>(ReasonText(item.stayed))
                                         : std::nullopt});
}

size_t DeletionRun::Take(const std::string& path, const Expected& expected) {
  const size_t n = items_.size();
  Item& taken = items_.emplace_back();
  taken.path = path;
  if (expected.kind == Expected::Kind::kFile) taken.size = expected.size;
  if (IsRootPath(path)) return Stay(n, StayReason::kProtected, "a drive root");

  uint32_t error = 0;
  std::unique_ptr<OpenedItem> item = opener_->Open(path, permanent_, error);
  if (!item && error == kErrorSharingViolation && permanent_) {
    // Held by another program: it stays, but who it is still tells a second
    // path of it from another item.
    std::unique_ptr<OpenedItem> look = opener_->Open(path, false, error);
    ItemStat stat;
    if (look && look->Stat(stat) && !stat.finalPath.empty()) {
      auto [at, added] = byIdentity_.try_emplace({stat.finalPath, stat.fileId}, n);
      if (!added) {
        items_[n].twinOf = at->second;
        return n;
      }
    }
    return Stay(n, StayReason::kInUse);
  }
  if (!item) {
    if (Missing(error)) return n;  // kAbsent
    return Stay(n, error == kErrorSharingViolation ? StayReason::kInUse : StayReason::kNotDeleted);
  }
  ItemStat now;
  if (!item->Stat(now)) return Stay(n, StayReason::kNotDeleted);
  if (expected.visibleOnly && (now.attributes & (kAttrHidden | kAttrSystem))) return n;
  if (now.link) return Stay(n, StayReason::kLink);
  if (!now.finalPath.empty()) {
    auto [at, added] = byIdentity_.try_emplace({now.finalPath, now.fileId}, n);
    if (!added) {
      items_[n].twinOf = at->second;
      // The hand-off file keeps a line for every row handed over; the
      // library hands the item to the shell once.
      if (!permanent_ && items_[at->second].fate == Fate::kHandedOver &&
          ShellVerdict(path) == shellpath::Verdict::kTakes)
        handOff_.Add(path);
      return n;
    }
  }

  const bool folder = (now.attributes & kAttrDirectory) != 0;
  if (!folder && !items_[n].size) items_[n].size = now.size;
  if ((expected.kind == Expected::Kind::kFile && folder) ||
      (expected.kind == Expected::Kind::kFolder && !folder) ||
      (!folder && ((expected.size && now.size != *expected.size) ||
                   (expected.lastWrite && now.lastWrite != *expected.lastWrite))))
    return Stay(n, StayReason::kChanged);
  // Kept since the scan (or, for a folder, something in it).
  if (keep_ && keep_->Reaches(path, folder)) return Stay(n, StayReason::kKept);

  if (permanent_) {
    if (uint32_t failed = item->Delete()) {
      return Stay(n, failed == kErrorSharingViolation ? StayReason::kInUse : StayReason::kNotDeleted);
    }
    return Gone(n);
  }
  if (folder) {
    if (std::optional<std::string> refusal = guard_.Refusal(path, now))
      return Stay(n, StayReason::kProtected, *refusal);
  }
  switch (ShellVerdict(path)) {
    case shellpath::Verdict::kTakes: break;
    case shellpath::Verdict::kTooLong: return Stay(n, StayReason::kNotRecycled);
    case shellpath::Verdict::kNotTaken: return Stay(n, StayReason::kShellName);
  }
  handOff_.Add(path);
  items_[n].fate = Fate::kHandedOver;
  return n;
}

void DeletionRun::Settle() {
  for (Item& item : items_) {
    if (item.fate != Fate::kHandedOver) continue;
    if (std::optional<StayReason> reason = StayedAfterHandOff(*opener_, item.path)) {
      Stay(static_cast<size_t>(&item - items_.data()), *reason);
    } else {
      Gone(static_cast<size_t>(&item - items_.data()));
    }
  }
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
  if (!opener.Open(path, false, error) && Missing(error)) return std::nullopt;
  const bool inUse = !opener.Open(path, true, error) && error == kErrorSharingViolation;
  return inUse ? StayReason::kInUse : StayReason::kNotRecycled;
}

}  // namespace scourly
