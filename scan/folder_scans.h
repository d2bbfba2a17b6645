// The scans of the "Recent Files" and "IE Favorites" tabs: the entries of a
// shell special folder, listed into the tab's result list.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "scan/file_tab_scan.h"

namespace scourly {

// The file-system path of special folder `csidl` (kCsidlRecent,
// kCsidlFavorites), without a trailing backslash ("C:" for a drive root).
// Nothing when the shell cannot resolve it to a fully qualified path.
std::optional<std::string> GetSpecialFolderPath(Shell& shell, int csidl);

// The Recent folder's own entries; subfolders are entries, not entered.
void RFindFilesClick(FileTabScan& tab, Platform& platform);

// Every entry of the Favorites tree; subfolders are entered, except those
// named exactly "SendTo" or "NetHood", which are entries.
void FFindFilesClick(FileTabScan& tab, Platform& platform);

}  // namespace scourly
