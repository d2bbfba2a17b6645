#include "delete/deletion.h"

#include "lists/app_error.h"
#include "lists/app_title.h"
#include "lists/status_panels.h"

namespace scourly {
namespace {

constexpr size_t kNamedInMessage = 5;


// Tells the user the library is missing; true when it is there.
bool PurgixReady(Platform& platform) {
  if (platform.purgix.Available()) return true;
  platform.ui.ShowMessage(kPurgixMissingText, kAppTitle, MsgButtons::kOk, MsgIcon::kError);
  return false;
}

const char* ReasonText(StayReason reason) {
  switch (reason) {
    case StayReason::kChanged: return "changed since the scan";
    case StayReason::kLink: return "a link";
    case StayReason::kInUse: return "in use";
    case StayReason::kNotRecycled: return "could not be moved to the Recycle Bin";
    case StayReason::kNotDeleted: return "could not be deleted";
    case StayReason::kKept: return "kept";
  }
  return "";
}

// What becomes of one row in a deletion.
enum class Fate : uint8_t { kUntouched, kGone, kStays, kHandedOver };

// One run over the rows a command deletes, in the command's order.
class DeletionRun {
 public:
  DeletionRun(DeletionContext& ctx, ResultList& list, bool permanent)
      : ctx_(ctx),
        list_(list),
        permanent_(permanent),
        opener_(ctx.platform.fs.NewItemOpener()),
        fates_(list.Count(), static_cast<uint8_t>(Fate::kUntouched)) {}

  // Checks row i against what is on disk now; a permanent run deletes it
  // when it passes. A row that passes a Recycle Bin run joins the hand-off.
  void Take(int i) {
    const ResultRow& row = list_[i];
    const std::string path = row.FullPath();
    // Kept since the scan: not even looked at.
    if (ctx_.keep && ctx_.keep->Reaches(path, row.IsFolder())) return Stay(i, StayReason::kKept);
    uint32_t error = 0;
    std::unique_ptr<OpenedItem> item = opener_->Open(path, permanent_, error);
    if (!item) {
      if (error == kErrorFileNotFound || error == kErrorPathNotFound) {
        Mark(i, Fate::kGone);
      } else {
        Stay(i, error == kErrorSharingViolation ? StayReason::kInUse : StayReason::kNotDeleted);
      }
      return;
    }
    ItemStat now;
    if (!item->Stat(now)) return Stay(i, StayReason::kNotDeleted);
    if (now.link) return Stay(i, StayReason::kLink);
    const bool folder = (now.attributes & kAttrDirectory) != 0;
    if (folder != row.IsFolder() ||
        (!folder && (now.size != row.Size() || now.lastWrite != row.LastWrite())))
      return Stay(i, StayReason::kChanged);
    if (!permanent_) {
      handOff_.Add(path);
      handedOver_.push_back(i);
      Mark(i, Fate::kHandedOver);
      return;
    }
    if (uint32_t failed = item->Delete()) {
      Stay(i, failed == kErrorSharingViolation ? StayReason::kInUse : StayReason::kNotDeleted);
    } else {
      Mark(i, Fate::kGone);
      Log(i, nullptr);
    }
  }

  const HandOffList& HandOff() const { return handOff_; }

  // After the library has run: what it left in place stays.
  void SettleHandOff() {
    for (int i : handedOver_) {
      if (std::optional<StayReason> reason =
              StayedAfterHandOff(ctx_.platform.fs, *opener_, list_[i].FullPath())) {
        Stay(i, *reason);
      } else {
        Mark(i, Fate::kGone);
        Log(i, nullptr);
      }
    }
  }

  // Takes the gone rows out of the list in one pass; the rows that stayed
  // remain selected. Then the panels and the tab's total tell the truth.
  void Finish() {
    std::vector<uint8_t> remove(fates_.size()), select(fates_.size());
    for (size_t i = 0; i < fates_.size(); ++i) {
      remove[i] = fates_[i] == static_cast<uint8_t>(Fate::kGone);
      select[i] = fates_[i] == static_cast<uint8_t>(Fate::kStays);
    }
    list_.RemoveMarked(remove, select);
    ShowTotals(ctx_, list_);
  }

  static void ShowTotals(DeletionContext& ctx, const ResultList& list) {
    ctx.bar.Set(kPanelSelSize, SelectedSizeText(SelectedBytes(list)));
    ctx.bar.Set(kPanelSelFiles, SelectedFilesText(list.SelCount()));
    ctx.bar.Set(kPanelTotalFiles, TotalFilesText(list.Count()));
    ctx.bar.Set(kPanelTotalSize, SizeText(list.TotalBytes()));
    ctx.totalSizeText = SizeText(list.TotalBytes());
  }

 private:
  void Mark(int i, Fate fate) { fates_[i] = static_cast<uint8_t>(fate); }
  void Stay(int i, StayReason reason) {
    Mark(i, Fate::kStays);
    ctx_.stayed.push_back({list_[i].FullPath(), reason});
    Log(i, &reason);
  }
  // Row i's outcome in the deletion log: deleted, or why it stayed.
  void Log(int i, const StayReason* stayed) {
    if (!ctx_.log) return;
    const ResultRow& row = list_[i];
    ctx_.log->Write({permanent_ ? DeletionWay::kPermanent : DeletionWay::kRecycle,
                     row.IsFolder() ? std::nullopt : std::optional<uint64_t>(row.Size()),
                     row.FullPath(),
                     stayed ? std::optional<std::string>(ReasonText(*stayed)) : std::nullopt});
  }

  DeletionContext& ctx_;
  ResultList& list_;
  bool permanent_;
  std::unique_ptr<ItemOpener> opener_;
  std::vector<uint8_t> fates_;
  HandOffList handOff_;
  std::vector<int> handedOver_;
};

}  // namespace

const char* StayReasonText(StayReason reason) { return ReasonText(reason); }

uint32_t HandOffList::Write(FileSystem& fs) const {
  return fs.WriteFile(fs.ProgramFolder() + kHandOffFileName, text_);
}

std::optional<StayReason> StayedAfterHandOff(FileSystem& fs, ItemOpener& opener,
                                             const std::string& path) {
  if (!fs.FileExists(path)) return std::nullopt;
  uint32_t error = 0;
  bool inUse = !opener.Open(path, true, error) && error == kErrorSharingViolation;
  return inUse ? StayReason::kInUse : StayReason::kNotRecycled;
}

const char* const kPurgixMissingText =
    "Purgix.dll could not be loaded from Scourly's folder, so no file was moved to the Recycle "
    "Bin. Reinstall Scourly to restore it.";

std::string InOutErrorText(uint32_t code) {
  switch (code) {
    case 5:
      return "File access denied";
    case 112:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(code);
  }
}

std::string StayedMessage(const std::vector<StayedItem>& stayed) {
  if (stayed.empty()) return {};
  std::string text = stayed.size() == 1
                         ? std::string("1 file was not deleted and stays in the list:")
                         : std::to_string(stayed.size()) +
                               " files were not deleted and stay in the list:";
  text += "\r\n";
  for (size_t i = 0; i < stayed.size() && i < kNamedInMessage; ++i)
    text += "\r\n" + stayed[i].path + " (" + ReasonText(stayed[i].reason) + ")";
  if (stayed.size() > kNamedInMessage)
    text += "\r\n... and " + std::to_string(stayed.size() - kNamedInMessage) + " more.";
  return text;
}

void DeleteSel(DeletionContext& ctx, ResultList& list, bool toRecycleBin) {
  ctx.stayed.clear();
  if (list.SelCount() == 0) return;
  FileSystem& fs = ctx.platform.fs;
  if (toRecycleBin && !PurgixReady(ctx.platform)) return;
  if (ctx.stopFlag) {
    // A Stop still in force deletes nothing: the hand-off file is emptied,
    // and the permanent command shows the totals as they stand.
    if (toRecycleBin) {
      HandOffList().Write(fs);
    } else {
      ResetSelectionPanels(ctx.bar);
      ctx.bar.Set(kPanelTotalFiles, TotalFilesText(list.Count()));
      ctx.bar.Set(kPanelTotalSize, SizeText(list.TotalBytes()));
    }
    return;
  }

  DeletionRun run(ctx, list, !toRecycleBin);
  Ui& ui = ctx.platform.ui;
  // Tens of thousands of checks (and deletions) take seconds: the window
  // keeps answering while they run, and the list changes only afterwards.
  ui.RunWhileAnswering([&] {
    // From the last entry to the first: the hand-off file's order.
    for (int i = list.Count() - 1; i >= 0; --i) {
      if (list.Selected(i)) run.Take(i);
    }
  });
  if (toRecycleBin) {
    // The list changes only once the library has a complete hand-off file.
    if (run.HandOff().Write(fs) != 0) {
      ctx.stayed.clear();
      return;
    }
    if (!run.HandOff().Empty()) ctx.platform.purgix.DoDelete();
    ui.RunWhileAnswering([&] { run.SettleHandOff(); });
  }
  run.Finish();
}

void DeleteAll(DeletionContext& ctx, ResultList& list) {
  ctx.stayed.clear();
  FileSystem& fs = ctx.platform.fs;
  if (!PurgixReady(ctx.platform)) return;
  if (ctx.stopFlag) {
    if (uint32_t error = HandOffList().Write(fs)) throw AppError(InOutErrorText(error));
    return;
  }
  DeletionRun run(ctx, list, false);
  Ui& ui = ctx.platform.ui;
  ui.RunWhileAnswering([&] {
    for (int i = 0; i < list.Count(); ++i) run.Take(i);
  });
  if (uint32_t error = run.HandOff().Write(fs)) {
    ctx.stayed.clear();
    throw AppError(InOutErrorText(error));
  }
  ctx.platform.purgix.DoDelete();
  ui.RunWhileAnswering([&] { run.SettleHandOff(); });
  run.Finish();
}

}  // namespace scourly
