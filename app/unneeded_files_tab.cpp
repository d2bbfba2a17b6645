#include "app/unneeded_files_tab.h"

#include "app/main_form.h"
#include "scan/scan_progress.h"
#include "lists/app_title.h"
#include "lists/status_panels.h"
#include "scan/unneeded_scan.h"

namespace scourly {
namespace {

constexpr const char* kNoTypesQuestion =
    "No unneeded file types are specified. Do u want to specify now?";
constexpr const char* kProceedNotice = "Scourly will now proceed to search for files";

}  // namespace

void UnneededFilesTab::UFindFilesClick() {
  if (form_.StopFlag) return;
  form_.RunScan([this] {
    list_.Clear();
    form_.FindFilesTB.enabled = false;
    Platform& platform = form_.platform();
    TUOptionsDialog& options = form_.options();
    Ui& ui = platform.ui;
    if (options.settings().ReadScanSettings().totalChecked <= 0) {
      if (ui.MessageBox(kNoTypesQuestion, kAppTitle, MsgButtons::kYesNo,
                        MsgIcon::kInformation) == MsgResult::kYes)
        options.ShowModal();
      ui.MessageBox(kProceedNotice, kAppTitle, MsgButtons::kOk, MsgIcon::kNone);
    }

    ScanState state;
    StatusBar& bar = form_.StatusBar1;
    bar.Set(kPanelSelFiles, "");
    ScanProgress progress(bar, ui, form_.StopFlag, form_.pumpBudgetMs);
    DateTexts dates(platform.locale);
    WalkContext ctx{platform.fs, dates, progress};
    if (!WalkCheckedDrives(ctx, options.options, state)) return;
    if (options.settings().ReadScanSettings().tempFiles) WalkTempFolder(ctx, state);

    TotalSizeText() = SizeText(state.bytes);
    list_.Assign(std::move(state.rows));
    ResetSelectionPanels(bar);
    // The final figures, also when nothing was found: a scan that found no
    // row must not leave the previous scan's count and size on show.
    bar.Set(kPanelTotalFiles, TotalFilesText(state.count));
    bar.Set(kPanelTotalSize, SizeText(state.bytes));
  });
}

}  // namespace scourly
