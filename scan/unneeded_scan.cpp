#include "scan/unneeded_scan.h"

#include "lists/app_title.h"
#include "lists/column_sort.h"
#include "lists/status_panels.h"
#include "platform/workers.h"
#include "scan/scan_progress.h"
#include "scan/folder_prefetch.h"

namespace scourly {
namespace {

constexpr const char* kNoTypesQuestion =
    "No unneeded file types are specified. Do u want to specify now?";
constexpr const char* kProceedNotice = "Scourly will now proceed to search for files";

}  // namespace

bool WalkCheckedDrives(WalkContext& ctx, const ScanOptions& options, ScanState& state,
                       WalkStrategy strategy, unsigned workers) {
  if (workers == 0) workers = WaitingWorkers();
  // The number of file types is taken once; a list shortened by the options
  // dialog during the scan ends the loop early instead of reading past it.
  const int typeCount = options.OptionBox.Count();
  for (int d = 0; d < options.DrivesBox.Count(); ++d) {
    if (ctx.progress.Stopped()) return false;
    const CheckItem& drive = options.DrivesBox.items[d];
    if (!drive.checked || drive.text.size() < 2) continue;
    const std::string letter = drive.text.substr(0, drive.text.size() - 2) + ":";

    std::vector<FileMask> masks;
    for (int t = 0; t < typeCount && t < options.OptionBox.Count(); ++t) {
      const CheckItem& type = options.OptionBox.items[t];
      if (type.checked) masks.emplace_back(type.text);
    }
    if (strategy == WalkStrategy::kSinglePass) {
      SweepDrive(ctx, letter, masks, state, workers);
    } else {
      for (const FileMask& mask : masks) {
        if (ctx.progress.Stopped()) break;
        FindMaskedFiles(ctx, letter, mask, state, true);
      }
      FindEmptyFiles(ctx, letter + "\\*.*", state);
    }
  }
  return true;
}

void WalkTempFolder(WalkContext& ctx, ScanState& state) {
  FindFolderFiles(ctx, ctx.fs.TempPath() + "*.*", state, true);
}

void UFindFilesClick(FileTabScan& tab, Platform& platform, TUOptionsDialog& options) {
  if (tab.stopFlag) return;
  tab.list.Clear();
  tab.findFilesTB.enabled = false;
  Ui& ui = platform.ui;
  if (options.settings().ReadScanSettings().totalChecked <= 0) {
    if (ui.ShowMessage(kNoTypesQuestion, kAppTitle, MsgButtons::kYesNo, MsgIcon::kInformation) ==
        MsgResult::kYes)
      options.ShowModal();
    ui.ShowMessage(kProceedNotice, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
  }
  ListUnneededFiles(tab, platform, options);
}

void ListUnneededFiles(FileTabScan& tab, Platform& platform, TUOptionsDialog& options) {
  ScanState state;
  tab.bar.Set(kPanelSelFiles, "");
  ScanProgress progress(tab.bar, platform.ui, tab.stopFlag, tab.pumpBudgetMs);
  DateTexts dates(platform.locale);
  const KeepFilter keep = MakeKeepFilter(tab.keep, platform.fs);
  WalkContext ctx{platform.fs, dates, progress, keep};
  if (!WalkCheckedDrives(ctx, options.options, state)) return;
  if (options.settings().ReadScanSettings().tempFiles) WalkTempFolder(ctx, state);

  tab.totalSizeText = SizeText(state.bytes);
  AssignRows(tab.list, std::move(state.rows), platform.locale);
  ResetSelectionPanels(tab.bar);
  // The final figures, also when nothing was found: a scan that found no
  // row must not leave the previous scan's count and size on show.
  tab.bar.Set(kPanelTotalFiles, TotalFilesText(state.count));
  tab.bar.Set(kPanelTotalSize, SizeText(state.bytes));
}

}  // namespace scourly
