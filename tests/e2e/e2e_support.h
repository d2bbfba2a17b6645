// What the end-to-end drivers share: the test drive's files, the settings
// they start Scourly with, and screenshot requests.
#pragma once

#include <windows.h>

#include <string>

namespace scourly::e2e {

// The last-write time every test file gets, and its text as the list shows
// it (the local date in the system's short date format).
FILETIME StampTime();
std::wstring StampText();

// Creates `path` with `size` bytes and the stamp time; false on failure.
bool CreateTestFile(const std::wstring& path, DWORD size);

// Writes settings.ini beside `exe` (a Windows path): the masks *.tmp, *.---,
// *.??~, *.bak, *.old and *.~* checked, no Windows temporary files, and only
// the test drive T:\ checked.
void WriteSettings(const std::wstring& exe);

// Asks the script that runs the driver for a screenshot of the display named
// `name` (FOLDER\NAME.req, deleted once taken) and waits for it. Does nothing
// when `folder` is empty.
void Shot(const std::wstring& folder, const std::wstring& name);

}  // namespace scourly::e2e
