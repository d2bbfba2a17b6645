// The progress of a file scan in the status bar: panel 0 the folder being
// walked, panel 2 the running row count, panel 3 the running byte total.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "lists/controls.h"
#include "platform/ui.h"
#include "scan/walk_observer.h"

namespace scourly {

// The status bar and message pump of a running scan. Texts are written and
// messages pumped on a time budget, not per file; Finish() writes the exact
// last figures. StopFlag is read live, so a Stop handled inside a pump is
// seen at the walker's next test.
class ScanProgress : public WalkObserver {
 public:
  ScanProgress(StatusBar& bar, Ui& ui, const bool& stopFlag, int budgetMs);

  bool Stopped() const override { return stopFlag_; }

  // Panel 2 shows the running count; panel 3 the running bytes, once a walk
  // that counts them found a row.
  void Found(int64_t count, int64_t bytes, bool countsBytes) override {
    count_ = count;
    countShown_ = true;
    if (countsBytes) {
      bytes_ = bytes;
      bytesShown_ = true;
    }
  }

  // Panel 0 shows the folder; messages are pumped.
  void Pump(const std::string& folderText) override;

  // Writes panels 2 and 3 with the last figures found.
  void Finish();

 private:
  void Show(const std::string* folderText);

  StatusBar& bar_;
  Ui& ui_;
  const bool& stopFlag_;
  std::chrono::milliseconds budget_;
  std::chrono::steady_clock::time_point next_;
  int64_t count_ = 0;
  int64_t bytes_ = 0;
  bool countShown_ = false;
  bool bytesShown_ = false;
};

}  // namespace scourly
