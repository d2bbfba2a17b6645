// What the end-to-end drivers share: the test drive's files, the settings
// they start Scourly with, and screenshot requests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

// The local date of `utc` in the system's short date format, as the lists
// show dates.
std::wstring ShortDateText(FILETIME utc);

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

// ---- What the drivers look at from outside the program ----


inline std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// One line per item, sorted unless asked otherwise.
inline std::string Lines(std::vector<std::wstring> items, bool sorted = true) {
  if (sorted) std::sort(items.begin(), items.end());
  std::string out;
  for (const std::wstring& item : items) out += Utf8(item) + "\n";
  return out;
}

// The text the status bar shows for a byte count.
inline std::wstring SizeText(int64_t bytes) {
  return bytes / 1024 > 0 ? std::to_wstring(bytes / 1024) + L" kB"
                          : std::to_wstring(bytes) + L" B";
}

inline constexpr int64_t kNothing = -1;  // SizeOnDisk: no such file or folder
inline constexpr int64_t kAFolder = -2;  // SizeOnDisk: a folder

inline int64_t SizeOnDisk(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return kNothing;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kAFolder;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// "FList.txt" beside Scourly.exe, as bytes; "<no FList.txt>" when there is
// none.
inline std::wstring HandOffPath() {
  return g_exe.substr(0, g_exe.find_last_of(L'\\') + 1) + L"FList.txt";
}
// The first 64 KiB of a file; `missing` when it cannot be opened.
inline std::string FileBytes(const std::wstring& path, const std::string& missing) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return missing;
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}
inline std::string HandOffFile() { return FileBytes(HandOffPath(), "<no FList.txt>"); }

// What the Recycle Bin holds (under Wine the XDG trash, reachable as X:).
inline const wchar_t kTrashFiles[] = L"X:\\Trash\\files";

// For messages: gtest prints std::wstring poorly under Wine's console.
inline std::string Show(const std::wstring& text) { return Utf8(text); }

// The names the Recycle Bin holds, sorted.
inline std::vector<std::wstring> TrashNames() {
  std::vector<std::wstring> names = NamesIn(kTrashFiles);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace scourly::e2e
