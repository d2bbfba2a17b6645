// The "Web Browsers" sub-tab's three check boxes in settings.ini: section
// "browsers", keys "Cache", "Cookies" and "History", 1 or 0. The section is
// written only when the user turns a box on or off, so a first start writes
// the settings file exactly as it always did.
#pragma once

#include <string>

#include "cache/web_browsers.h"
#include "platform/filesystem.h"

namespace scourly {

enum class BrowserCategory { kCache, kCookies, kHistory };

// The boxes as the file has them; a missing key (or file) reads as the
// box's default: Cache on, Cookies and History off.
BrowserCategories ReadBrowserCategories(FileSystem& fs);

// Writes one box's state, by the placement rules of every other key. Throws
// AppError("Unable to write to ...") when the file cannot be written; the
// file on disk is then the one that was there before.
void WriteBrowserCategory(FileSystem& fs, BrowserCategory category, bool on);

}  // namespace scourly
