// The file system service over FindFirstFileEx, CreateFile and friends.
#include <algorithm>
#include <optional>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_paths.h"
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
  // The folder came from a listing (or is a root or a system folder): its
  // exact form, so a subfolder named "dir." is listed, not "dir".
  std::wstring wide;
  if (!WidenExact(folder, wide)) return nullptr;
  std::wstring pattern = win32::ExactPath(wide + L"\\*");
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32FolderListing>(find, data);
}

DriveType Win32FileSystem::DriveTypeOf(const std::string& root) {
  UINT type = ::GetDriveTypeW(Widen(root).c_str());
  return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::kUnknown;
}

std::string Win32FileSystem::TempPath() {
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

uint32_t Win32FileSystem::WriteFileSafely(const std::string& path, const std::string& bytes) {
  // The new content goes to a file of its own beside the old one; only a
  // complete file takes the old one's place.
  const std::string temporary = path + ".new";
  if (uint32_t error = WriteFile(temporary, bytes)) {
    ::DeleteFileW(FileApiPath(temporary).c_str());
    return error;
  }
  if (!MoveFileExW(FileApiPath(temporary).c_str(), FileApiPath(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    ::DeleteFileW(FileApiPath(temporary).c_str());
    return error;
  }
  return 0;
}

namespace {

ItemStat StatOf(const win32::ItemFacts& facts) {
  return ItemStat{facts.attributes, facts.size, facts.lastWrite, facts.link,
                  Narrow(facts.identity), facts.fileId};
}

class Win32OpenedItem : public OpenedItem {
 public:
  Win32OpenedItem(HANDLE h, std::wstring path, win32::LinkCheck& links, bool forDelete)
      : handle_(h), path_(std::move(path)), links_(links), forDelete_(forDelete) {}

  bool Stat(ItemStat& stat) override {
    win32::ItemFacts facts;
    if (!links_.Facts(handle_.get(), path_, facts)) return false;
    stat = StatOf(facts);
    attributes_ = facts.attributes;
    return true;
  }

  uint32_t Delete() override {
    if (!forDelete_) return ERROR_ACCESS_DENIED;
    // What is open stays what it is, so the kind Stat read still holds.
    // Otherwise one plain query: GetFileInformationByHandle would also ask
    // for the volume's serial number, under Wine a round trip to the mount
    // manager per file, which tripled the time of a big deletion.
    if (!attributes_) {
      FILE_BASIC_INFO basic;
      if (!GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &basic, sizeof basic))
        return GetLastError();
      attributes_ = basic.FileAttributes;
    }
    if (*attributes_ & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
    // Deleting through the handle removes the file that was checked, even if
    // its path is made to point elsewhere in between. A read-only file
    // refuses, as DeleteFile would.
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &disposition,
                                    sizeof disposition))
      return GetLastError();
    return 0;
  }

 private:
  UniqueHandle handle_;
  std::wstring path_;
  win32::LinkCheck& links_;
  bool forDelete_;
  std::optional<DWORD> attributes_;  // once read
};

class Win32ItemOpener : public ItemOpener {
 public:
  std::unique_ptr<OpenedItem> Open(const std::string& path, bool forDelete,
                                   uint32_t& error) override {
    std::wstring wide;
    if (!WidenExact(path, wide)) {
      error = ERROR_INVALID_NAME;
      return nullptr;
    }
    HANDLE h = win32::OpenExact(wide, forDelete);
    if (h == INVALID_HANDLE_VALUE) {
      error = GetLastError();
      return nullptr;
    }
    error = 0;
    return std::make_unique<Win32OpenedItem>(h, std::move(wide), links_, forDelete);
  }

  Glance Look(const std::string& path, ItemStat& stat) override {
    std::wstring wide;
    if (!WidenExact(path, wide)) return Glance::kOpen;
    win32::ItemFacts facts;
    const Glance glance = links_.LookAt(wide, facts);
    if (glance == Glance::kSeen) stat = StatOf(facts);
    return glance;
  }

 private:
  win32::LinkCheck links_;
};

}  // namespace

std::unique_ptr<ItemOpener> Win32FileSystem::NewItemOpener() {
  return std::make_unique<Win32ItemOpener>();
}

}  // namespace scourly
