#include "scan/scan_progress.h"

#include "lists/status_panels.h"

namespace scourly {

ScanProgress::ScanProgress(StatusBar& bar, Ui& ui, const bool& stopFlag, int budgetMs)
    : bar_(bar),
      ui_(ui),
      stopFlag_(stopFlag),
      budget_(budgetMs),
      next_(std::chrono::steady_clock::now() + budget_) {}

void ScanProgress::Show(const std::string* folderText) {
  if (folderText) bar_.Set(kPanelSelSize, *folderText);
  if (countShown_) bar_.Set(kPanelTotalFiles, TotalFilesText(count_));
  if (bytesShown_) bar_.Set(kPanelTotalSize, SizeText(bytes_));
}

void ScanProgress::Pump(const std::string& folderText) {
  if (budget_.count() > 0) {
    auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    next_ = now + budget_;
  }
  Show(&folderText);
  ui_.PumpMessages();
}

void ScanProgress::Finish() { Show(nullptr); }

}  // namespace scourly
