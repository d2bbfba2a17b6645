#include "delete/deletion.h"

#include <algorithm>

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

Expected ExpectedOf(const ResultRow& row) {
  Expected expected;
  expected.kind = row.IsFolder() ? Expected::Kind::kFolder : Expected::Kind::kFile;
  if (!row.IsFolder()) {
    expected.size = row.Size();
    expected.lastWrite = row.LastWrite();
  }
  return expected;
}

void WriteHandOff(FileSystem& fs, const HandOffList& list) {
  if (uint32_t error = list.Write(fs)) throw HandOffError(InOutErrorText(error));
}

void ShowTotals(DeletionContext& ctx, const ResultList& list) {
  ctx.bar.Set(kPanelSelSize, SelectedSizeText(SelectedBytes(list)));
  ctx.bar.Set(kPanelSelFiles, SelectedFilesText(list.SelCount()));
  ctx.bar.Set(kPanelTotalFiles, TotalFilesText(list.Count()));
  ctx.bar.Set(kPanelTotalSize, SizeText(list.TotalBytes()));
  ctx.totalSizeText = SizeText(list.TotalBytes());
}

// The rows of one command, in its order, through one run.
class RowRun {
 public:
  RowRun(DeletionContext& ctx, ResultList& list, bool permanent)
      : ctx_(ctx), list_(list), run_(ctx.platform, permanent, ctx.keep, ctx.log) {}

  // Takes `rows` in their order, on every core when they are many.
  void Take(const std::vector<int>& rows) {
    const size_t first = run_.TakeMany(rows.size(), [&](size_t i) {
      const ResultRow& row = list_[rows[i]];
      return std::make_pair(row.FullPath(), ExpectedOf(row));
    });
    for (size_t i = 0; i < rows.size(); ++i) taken_.emplace_back(rows[i], first + i);
  }
  DeletionRun& run() { return run_; }

  // Takes the gone rows out of the list in one pass; the rows that stayed
  // remain selected. Then the panels and the tab's total tell the truth.
  void Finish() {
    std::vector<uint8_t> remove(list_.Count()), select(list_.Count());
    for (const auto& [row, n] : taken_) {
      const DeletionRun::Fate fate = run_.Outcome(n);
      remove[row] = fate == DeletionRun::Fate::kGone || fate == DeletionRun::Fate::kAbsent;
      select[row] = fate == DeletionRun::Fate::kStays;
    }
    if (ctx_.rowSettled) {
      // In list order, before the list changes.
      std::vector<std::pair<int, size_t>> byRow = taken_;
      std::sort(byRow.begin(), byRow.end());
      for (const auto& [row, n] : byRow) {
        if (remove[row]) {
          ctx_.rowSettled(row, list_[row], nullptr);
        } else if (select[row]) {
          const StayedItem why = run_.WhyStays(n);
          ctx_.rowSettled(row, list_[row], &why);
        }
      }
    }
    list_.RemoveMarked(remove, select);
    ShowTotals(ctx_, list_);
    ctx_.stayed = run_.Stayed();
  }

 private:
  DeletionContext& ctx_;
  ResultList& list_;
  DeletionRun run_;
  std::vector<std::pair<int, size_t>> taken_;  // row, its number in the run
};

}  // namespace

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
    text += "\r\n" + stayed[i].path + " (" + ReasonText(stayed[i]) + ")";
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
      WriteHandOff(fs, HandOffList());
    } else {
      ResetSelectionPanels(ctx.bar);
      ctx.bar.Set(kPanelTotalFiles, TotalFilesText(list.Count()));
      ctx.bar.Set(kPanelTotalSize, SizeText(list.TotalBytes()));
    }
    return;
  }

  RowRun rows(ctx, list, !toRecycleBin);
  Ui& ui = ctx.platform.ui;
  // Tens of thousands of checks (and deletions) take seconds: the window
  // keeps answering while they run, and the list changes only afterwards.
  ui.RunWhileAnswering([&] {
    // From the last entry to the first: the hand-off file's order.
    std::vector<int> selected;
    for (int i = list.Count() - 1; i >= 0; --i) {
      if (list.Selected(i)) selected.push_back(i);
    }
    rows.Take(selected);
  });
  if (toRecycleBin) {
    // The list changes only once the library has a complete hand-off file.
    WriteHandOff(fs, rows.run().HandOff());
    if (!rows.run().HandOff().Empty()) ctx.platform.purgix.DoDelete();
    ui.RunWhileAnswering([&] { rows.run().Settle(); });
  }
  rows.Finish();
}

void DeleteAll(DeletionContext& ctx, ResultList& list) {
  ctx.stayed.clear();
  FileSystem& fs = ctx.platform.fs;
  if (!PurgixReady(ctx.platform)) return;
  if (ctx.stopFlag) {
    WriteHandOff(fs, HandOffList());
    return;
  }
  RowRun rows(ctx, list, false);
  Ui& ui = ctx.platform.ui;
  ui.RunWhileAnswering([&] {
    std::vector<int> all(list.Count());
    for (int i = 0; i < list.Count(); ++i) all[i] = i;
    rows.Take(all);
  });
  WriteHandOff(fs, rows.run().HandOff());
  ctx.platform.purgix.DoDelete();
  ui.RunWhileAnswering([&] { rows.run().Settle(); });
  rows.Finish();
}

}  // namespace scourly
