// What the drivers look at from outside the program: files and folders on
// disk, the hand-off file beside Scourly.exe, and texts for failure messages
// a person reads.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace scourly::e2e {

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

// The names in `folder`, in listing order; none when it cannot be listed.
inline std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(fd.cFileName, L".") != 0 && wcscmp(fd.cFileName, L"..") != 0)
      names.push_back(fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

// "FList.txt" beside Scourly.exe, as bytes; "<no FList.txt>" when there is
// none.
inline std::wstring HandOffPath() {
  return g_exe.substr(0, g_exe.find_last_of(L'\\') + 1) + L"FList.txt";
}
inline std::string HandOffFile() {
  HANDLE h = CreateFileW(HandOffPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<no FList.txt>";
  std::string bytes(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

// What the Recycle Bin holds (under Wine the XDG trash, reachable as X:).
inline const wchar_t kTrashFiles[] = L"X:\\Trash\\files";

}  // namespace scourly::e2e
