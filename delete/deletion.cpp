#include "delete/deletion.h"

#include <charconv>

#include "lists/app_error.h"
#include "lists/status_panels.h"
#include "lists/app_title.h"

namespace scourly {
namespace {

// Parses the whole of `text` as a decimal number.
bool ParseNumber(std::string_view text, int64_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// The running totals shown in panels 2 ("Total Files: N") and 3 ("N kB" or
// "N B").
bool ReadTotals(const StatusBar& bar, int64_t& files, int64_t& bytes) {
  const std::string& count = bar.Get(kPanelTotalFiles);
  size_t colon = count.find(": ");
  if (colon == std::string::npos || !ParseNumber(std::string_view(count).substr(colon + 2), files))
    return false;
  const std::string& size = bar.Get(kPanelTotalSize);
  size_t blank = size.find(' ');
  if (blank == std::string::npos || !ParseNumber(std::string_view(size).substr(0, blank), bytes))
    return false;
  if (size.compare(blank, std::string::npos, " kB") == 0) bytes *= 1024;
  return true;
}

void ShowTotals(StatusBar& bar, int64_t files, int64_t bytes) {
  ResetSelectionPanels(bar);
  bar.Set(kPanelTotalFiles, TotalFilesText(files));
  bar.Set(kPanelTotalSize, SizeText(bytes));
}

std::string HandOffPath(FileSystem& fs) { return fs.ProgramFolder() + kHandOffFileName; }

// Tells the user the library is missing; true when it is there.
bool PurgixReady(Platform& platform) {
  if (platform.purgix.Available()) return true;
  platform.ui.MessageBox(kPurgixMissingText, kAppTitle, MsgButtons::kOk, MsgIcon::kError);
  return false;
}

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

void DeleteSel(DeletionContext& ctx, ResultList& list, bool toRecycleBin) {
  if (list.SelCount() == 0) return;
  FileSystem& fs = ctx.platform.fs;
  if (toRecycleBin && !PurgixReady(ctx.platform)) return;
  int64_t files = 0, bytes = 0;
  if (!ReadTotals(ctx.bar, files, bytes))
    throw AppError("The totals in the status bar are not numbers");

  if (toRecycleBin) {
    std::string lines;
    if (!ctx.stopFlag) {
      for (int i = list.Count() - 1; i >= 0; --i) {
        if (!list.Selected(i)) continue;
        lines.append(list[i].FullPath()).append("\r\n");
        --files;
        bytes -= static_cast<int64_t>(list[i].Size());
      }
    }
    // The list changes only once the library has a complete hand-off file.
    if (fs.WriteFile(HandOffPath(fs), lines) != 0 || ctx.stopFlag) return;
    list.RemoveSelected();
    ctx.platform.purgix.DoDelete();
  } else {
    if (!ctx.stopFlag) {
      for (int i = list.Count() - 1; i >= 0; --i) {
        if (!list.Selected(i)) continue;
        fs.DeleteFile(list[i].FullPath());  // a file that stays is not reported
        --files;
        bytes -= static_cast<int64_t>(list[i].Size());
      }
      list.RemoveSelected();
    }
  }
  ShowTotals(ctx.bar, files, bytes);
}

void DeleteAll(DeletionContext& ctx, ResultList& list) {
  FileSystem& fs = ctx.platform.fs;
  if (!PurgixReady(ctx.platform)) return;
  std::string lines;
  if (!ctx.stopFlag) {
    for (const ResultRow& row : list.Rows()) lines.append(row.FullPath()).append("\r\n");
  }
  if (uint32_t error = fs.WriteFile(HandOffPath(fs), lines)) throw AppError(InOutErrorText(error));
  if (ctx.stopFlag) return;
  ctx.platform.purgix.DoDelete();
  list.Clear();
  ResetPanels(ctx.bar);
}

}  // namespace scourly
