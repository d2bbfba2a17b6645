// The file system service over FindFirstFileEx, CreateFile and friends.
#include <algorithm>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_util.h"

namespace scourly {
namespace {

uint64_t Ticks(const FILETIME& t) {
  return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}

void Fill(const WIN32_FIND_DATAW& data, FindEntry& entry) {
  entry.name = Narrow(data.cFileName);
  entry.attributes = data.dwFileAttributes;
  entry.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  entry.lastWrite = Ticks(data.ftLastWriteTime);
}

class Win32FolderListing : public FolderListing {
 public:
  Win32FolderListing(HANDLE find, const WIN32_FIND_DATAW& first) : find_(find), data_(first) {}

  bool Next(FindEntry& entry) override {
    if (havePending_) {
      havePending_ = false;
    } else if (!FindNextFileW(find_.get(), &data_)) {
      return false;
    }
    Fill(data_, entry);
    return true;
  }

 private:
  UniqueFind find_;
  WIN32_FIND_DATAW data_;
  bool havePending_ = true;  // FindFirstFileEx already returned the first entry
};

}  // namespace

std::unique_ptr<FolderListing> Win32FileSystem::ListFolder(const std::string& folder) {
  // Every name: the callers match masks against the long name themselves.
  std::wstring pattern = FileApiPath(folder + "\\*");
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32FolderListing>(find, data);
}

DriveType Win32FileSystem::GetDriveType(const std::string& root) {
  UINT type = ::GetDriveTypeW(Widen(root).c_str());
  return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::kUnknown;
}

std::string Win32FileSystem::GetTempPath() {
  // The first call tells the size; the path may change in between, so ask
  // until it fits.
  std::wstring buffer;
  DWORD needed = ::GetTempPathW(0, nullptr);
  while (needed > 0) {
    buffer.assign(needed, L'\0');
    DWORD n = ::GetTempPathW(needed, buffer.data());
    if (n == 0) return {};
    if (n < needed) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    needed = n + 1;
  }
  return {};
}

std::string Win32FileSystem::ProgramFolder() { return Narrow(ModuleFolder()); }

bool Win32FileSystem::FileExists(const std::string& path) {
  return GetFileAttributesW(FileApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::FindFirstFinds(const std::string& path) {
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileExW(FileApiPath(path).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0));
  return find.valid();
}

bool Win32FileSystem::ReadFile(const std::string& path, std::string& bytes) {
  UniqueHandle file(CreateFileW(FileApiPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  bytes.clear();
  char chunk[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes.append(chunk, got);
  }
}

uint32_t Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  UniqueHandle file(CreateFileW(FileApiPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return GetLastError();
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, part, &written, nullptr))
      return GetLastError();
    done += written;
  }
  return 0;
}

bool Win32FileSystem::DeleteFile(const std::string& path) {
  return ::DeleteFileW(FileApiPath(path).c_str()) != 0;
}

}  // namespace scourly
