// The floor the Windows benchmarks measure the scan against, and their clock.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
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

// The same with `threads` threads sharing a stack of folders: what listing in
// parallel can gain on this machine at this moment, rows aside.
inline size_t BareWalkParallel(const std::wstring& root, unsigned threads) {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::wstring> stack{root};
  unsigned busy = 0;
  std::atomic<size_t> entries{0};
  auto work = [&] {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return !stack.empty() || busy == 0; });
      if (stack.empty()) return;
      std::wstring folder = std::move(stack.back());
      stack.pop_back();
      ++busy;
      lock.unlock();
      std::vector<std::wstring> found;
      WIN32_FIND_DATAW data;
      HANDLE find = FindFirstFileExW(win32::ApiPath(folder + L"\\*").c_str(), FindExInfoBasic,
                                     &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
      size_t listed = 0;
      if (find != INVALID_HANDLE_VALUE) {
        do {
          ++listed;
          const wchar_t* n = data.cFileName;
          if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
              !(n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))))
            found.push_back(folder + L"\\" + n);
        } while (FindNextFileW(find, &data));
        FindClose(find);
      }
      entries += listed;
      lock.lock();
      --busy;
      for (std::wstring& f : found) stack.push_back(std::move(f));
      changed.notify_all();
    }
  };
  std::vector<std::thread> pool;
  for (unsigned i = 0; i < threads; ++i) pool.emplace_back(work);
  for (std::thread& t : pool) t.join();
  return entries;
}

}  // namespace scourly::bench
