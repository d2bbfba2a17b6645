// The services the deletion log and the keep list need: a file kept open for
// appending, a move over an older file, a path's long form, and the
// file-open dialog of the "Keep" page.
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_util.h"

#include <commdlg.h>

#include <vector>

namespace scourly {
namespace {

class Win32AppendingFile : public AppendingFile {
 public:
  explicit Win32AppendingFile(HANDLE h) : file_(h) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file_.get(), &size)) size_ = static_cast<uint64_t>(size.QuadPart);
  }
  uint64_t Size() override { return size_; }
  uint32_t Append(const std::string& bytes) override {
    // FILE_APPEND_DATA alone: every write lands at the end, whoever else
    // writes to the file meanwhile.
    DWORD written = 0;
    if (!WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr))
      return GetLastError();
    size_ += written;
    return written == bytes.size() ? 0 : ERROR_HANDLE_DISK_FULL;
  }

 private:
  UniqueHandle file_;
  uint64_t size_ = 0;
};

}  // namespace

std::unique_ptr<AppendingFile> Win32FileSystem::OpenForAppend(const std::string& path,
                                                              uint32_t& error) {
  std::wstring wide;
  if (!WidenExact(path, wide)) {
    error = ERROR_INVALID_NAME;
    return nullptr;
  }
  // Others may read the log (an editor showing it) while it grows.
  HANDLE h = CreateFileW(FileApiPath(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return nullptr;
  }
  error = 0;
  return std::make_unique<Win32AppendingFile>(h);
}

uint32_t Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  std::wstring wideFrom, wideTo;
  if (!WidenExact(from, wideFrom) || !WidenExact(to, wideTo)) return ERROR_INVALID_NAME;
  if (MoveFileExW(FileApiPath(from).c_str(), FileApiPath(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  return GetLastError();
}

std::optional<std::string> Win32FileSystem::LongPathName(const std::string& path) {
  std::wstring wide;
  if (!WidenExact(path, wide)) return std::nullopt;
  // The path may grow as each short part becomes long: ask until it fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetLongPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::nullopt;
    if (n < buffer.size()) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    buffer.assign(n, L'\0');
  }
}

std::optional<std::string> Win32Shell::BrowseForFile() {
  // Room for the longest path Windows can name.
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW info{};
  info.lStructSize = sizeof info;
  info.hwndOwner = GetActiveWindow();
  info.lpstrFilter = L"All files (*.*)\0*.*\0";
  info.lpstrFile = file.data();
  info.nMaxFile = static_cast<DWORD>(file.size());
  // The current folder is never the program's business (OFN_NOCHANGEDIR).
  info.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
               OFN_DONTADDTORECENT | OFN_EXPLORER;
  if (!GetOpenFileNameW(&info)) return std::nullopt;
  return Narrow(file.data());
}

}  // namespace scourly
