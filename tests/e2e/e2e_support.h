// What the end-to-end drivers share: the test drive's files, the settings
// they start Scourly with, and screenshot requests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/scourly_process.h"

namespace scourly::e2e {

// What every driver is started with: Scourly.exe's Windows path, the DPI of
// the prefix, and the folder screenshots are asked for in (may be empty).
// The drivers share one wmain (e2e_support.cpp), which sets these.
extern std::wstring g_exe;
extern int g_dpi;
extern std::wstring g_shots;

// Pixels at the prefix's DPI from pixels at 96 DPI.
inline int Px(int px96) { return MulDiv(px96, g_dpi, 96); }

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

// One Scourly.exe for a whole test suite: started once the test drive and
// settings are in place, closed at the end. The suite's tests run in order
// on the same window.
class ScourlySuite : public ::testing::Test {
 protected:
  // `makeTestDrive` fills T:\ first; `exe` is Scourly.exe's Windows path.
  static void StartScourly(const std::wstring& exe, void (*makeTestDrive)());
  static void CloseScourly();
  void SetUp() override;

  static std::vector<std::wstring> Panels();

  static ScourlyProcess* app;
  static bool started;
};

}  // namespace scourly::e2e
