// The floor the Windows benchmarks measure the scan against, and their clock.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_paths.h"

namespace scourly::bench {

inline double Seconds(const std::function<void()>& run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every folder below `path` listed once with FindFirstFileExW on one thread,
// names left in UTF-16, nothing kept; returns the entries seen. `path` is
// used as the walk's buffer and comes back unchanged.
inline size_t BareWalk(std::wstring& path) {
  size_t entries = 0;
  const size_t length = path.size();
  path += L"\\*";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(win32::ApiPath(path).c_str(), FindExInfoBasic, &data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  path.resize(length);
  if (find == INVALID_HANDLE_VALUE) return 0;
  std::vector<std::wstring> folders;
  do {
    ++entries;
    const wchar_t* n = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))))
      folders.emplace_back(n);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const std::wstring& name : folders) {
    path += L"\\" + name;
    entries += BareWalk(path);
    path.resize(length);
  }
  return entries;
}

}  // namespace scourly::bench
