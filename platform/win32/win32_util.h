// Small helpers shared by the Win32 services: handle owners and path forms.
#pragma once

#include <windows.h>

#include <string>

namespace scourly {

// Owns a kernel handle (file, ...); closes it when destroyed.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() {
    if (valid()) CloseHandle(h_);
  }
  bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

// Owns a FindFirstFile handle; FindClose when destroyed.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE h) : h_(h) {}
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;
  ~UniqueFind() {
    if (valid()) FindClose(h_);
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// The UTF-16 form of `path` that the file functions accept at any length: an
// absolute drive path ("C:\...") or UNC path ("\\server\share\...") that is
// too long for the classic limit gets the "\\?\" (or "\\?\UNC\") prefix.
// Short and relative paths pass unchanged, so their usual parsing holds.
std::wstring FileApiPath(const std::string& path);

// The folder of the running executable, up to and including the last
// backslash; any length.
std::wstring ModuleFolder();

}  // namespace scourly
