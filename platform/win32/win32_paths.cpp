#include "platform/win32/win32_paths.h"

#include "delete/shell_path.h"
#include "platform/win32/win32_util.h"

#include <vector>

namespace scourly::win32 {
namespace {

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Length of the root part: "C:\" or "C:" (3 or 2), "\\server\share\" , or 0.
size_t RootLength(const std::wstring& path) {
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':')
    return path.size() >= 3 && path[2] == L'\\' ? 3 : 2;
  if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
    size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos) return path.size();
    size_t share = path.find(L'\\', server + 1);
    return share == std::wstring::npos ? path.size() : share + 1;
  }
  return 0;
}

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (path.size() > 1 && path.back() == L'\\') path.pop_back();
  return path;
}

// `path` with the trailing spaces and dots of every name dropped, as Wine
// writes final paths ("T:\dir.\zero " reads "T:\dir\zero").
std::wstring Loosened(const std::wstring& path) {
  std::wstring out;
  out.reserve(path.size());
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    size_t last = end;
    while (last > start && (path[last - 1] == L' ' || path[last - 1] == L'.')) --last;
    // "." and ".." are no names to shorten.
    if (last == start) last = end;
    out.append(path, start, last - start);
    if (end == path.size()) break;
    out.push_back(L'\\');
    start = end + 1;
  }
  return out;
}

// True when `path` holds no "/" and no empty, "." or ".." part below `from`
// (a trailing backslash aside).
bool PlainBelow(const std::wstring& path, size_t from) {
  if (path.find(L'/') != std::wstring::npos) return false;
  for (size_t start = from; start < path.size();) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring part = path.substr(start, end - start);
    if (part == L"." || part == L"..") return false;
    if (part.empty() && end != path.size() - 1 && end != path.size()) return false;
    start = end + 1;
  }
  return true;
}

// Upper-cased as the file system compares names.
std::wstring Upper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// A final path as identities compare it: short names resolved where the
// system gave them ("\Device\..." names on Windows keep the names they were
// opened by; Wine's "\??\..." names are long already), upper-cased as the
// file system compares names, no trailing backslash.
std::wstring IdentityOf(HANDLE item, std::wstring path) {
  if (path.rfind(L"\\Device\\", 0) == 0 && path.find(L'~') != std::wstring::npos) {
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetFinalPathNameByHandleW(item, buffer.data(), static_cast<DWORD>(buffer.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
    if (n > 0 && n < buffer.size()) path.assign(buffer.data(), n);
  }
  return Upper(WithoutTrailingSlash(path));
}

}  // namespace

std::wstring ApiPath(const std::wstring& path) {
  // Folder paths must leave room for an 8.3 name (MAX_PATH - 12), so the
  // prefix is added a little before MAX_PATH.
  constexpr size_t kClassicLimit = MAX_PATH - 12;
  if (path.size() < kClassicLimit) return path;
  bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && IsLetter(path[0]);
  if (drive) return L"\\\\?\\" + path;
  bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' &&
             path[2] != L'.';
  if (unc) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::wstring ExactPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) return path;
  const bool drive = path.size() >= 2 && IsLetter(path[0]) && path[1] == L':' &&
                     (path.size() == 2 || path[2] == L'\\');
  if (drive && PlainBelow(path, 3)) return L"\\\\?\\" + (path.size() == 2 ? path + L"\\" : path);
  const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' &&
                   path[2] != L'.';
  if (unc && PlainBelow(path, 2)) return L"\\\\?\\UNC\\" + path.substr(2);
  return ApiPath(path);
}

uint64_t FileNumber(HANDLE h) {
  // FileInternalInformation: answered in the process under Wine, unlike
  // GetFileInformationByHandle, which asks for the volume's serial too.
  using QueryFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
  static const auto query = reinterpret_cast<QueryFile>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  if (!query) return 0;
  struct {
    LONG_PTR status;
    ULONG_PTR information;
  } io{};
  LARGE_INTEGER number{};
  constexpr int kFileInternalInformation = 6;
  if (query(h, &io, &number, sizeof number, kFileInternalInformation) < 0) return 0;
  return static_cast<uint64_t>(number.QuadPart);
}

HANDLE OpenExact(const std::wstring& path, bool forDelete) {
  DWORD access = FILE_READ_ATTRIBUTES | (forDelete ? DELETE : 0);
  return CreateFileW(ExactPath(path).c_str(), access,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

std::wstring FinalPath(HANDLE h) {
  // The object's own name (NtQueryObject, ObjectNameInformation): the path
  // the item really has once every link on the way is resolved, of any
  // length. GetFinalPathNameByHandle gives the same in DOS form, but Wine's
  // fails for paths past MAX_PATH.
  using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (!query) return {};
  struct Name {
    USHORT length;
    USHORT maximumLength;
    wchar_t* buffer;
  };
  constexpr int kObjectNameInformation = 1;
  // Most names fit a small buffer on the stack; the largest possible one
  // (a 32767-character name) is tried only when that fails.
  alignas(Name) unsigned char small[sizeof(Name) + 1024 * sizeof(wchar_t)];
  ULONG got = 0;
  if (query(h, kObjectNameInformation, small, sizeof small, &got) >= 0) {
    const Name* name = reinterpret_cast<const Name*>(small);
    if (!name->buffer) return {};
    return std::wstring(name->buffer, name->length / sizeof(wchar_t));
  }
  std::vector<unsigned char> buffer(sizeof(Name) + 65536 + sizeof(wchar_t));
  if (query(h, kObjectNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &got) < 0)
    return {};
  const Name* name = reinterpret_cast<const Name*>(buffer.data());
  if (!name->buffer) return {};
  return std::wstring(name->buffer, name->length / sizeof(wchar_t));
}

const LinkCheck::Folder& LinkCheck::FolderOf(const std::wstring& folder) {
  auto [it, added] = folders_.try_emplace(folder);
  Folder& state = it->second;
  if (!added) return state;
  // Every folder below the root, up to this one: none may be a reparse point.
  const size_t root = RootLength(folder);
  for (size_t end = root; end < folder.size();) {
    size_t next = folder.find(L'\\', end + 1);
    if (next == std::wstring::npos) next = folder.size();
    DWORD attributes = GetFileAttributesW(ExactPath(folder.substr(0, next)).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
      state.reparse = true;
    end = next;
  }
  // "C:" alone would mean the drive's current folder; ExactPath makes it the root.
  HANDLE h = CreateFileW(ExactPath(folder).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    state.finalPath = WithoutTrailingSlash(FinalPath(h));
    state.known = !state.finalPath.empty();
    CloseHandle(h);
  }
  return state;
}

bool ReadFacts(HANDLE item, ItemFacts& facts) {
  // Two plain queries, not GetFileInformationByHandle: that one also reads
  // the volume's serial number, which Wine asks its mount manager for in
  // another process, at about a millisecond a call.
  FILE_BASIC_INFO basic;
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(item, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(item, FileStandardInfo, &standard, sizeof standard))
    return false;
  facts.attributes = basic.FileAttributes;
  facts.size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
  facts.lastWrite = static_cast<uint64_t>(basic.LastWriteTime.QuadPart);
  facts.link = (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  return true;
}

ItemOpener::Glance LinkCheck::LookAt(const std::wstring& path, ItemFacts& facts) {
  const std::wstring plain = WithoutTrailingSlash(path);
  const size_t slash = plain.rfind(L'\\');
  if (slash == std::wstring::npos || slash + 1 < RootLength(plain) || slash + 1 >= plain.size() ||
      plain.find(L'~') != std::wstring::npos || shellpath::HasLooseName(plain))
    return ItemOpener::Glance::kOpen;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ExactPath(plain).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? ItemOpener::Glance::kMissing
               : ItemOpener::Glance::kOpen;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return ItemOpener::Glance::kOpen;
  const Folder& state = FolderOf(WithoutTrailingSlash(plain.substr(0, slash + 1)));
  if (!state.known) return ItemOpener::Glance::kOpen;
  facts.attributes = data.dwFileAttributes;
  facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  facts.link = state.reparse || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  facts.identity =
      facts.link ? std::wstring() : Upper(state.finalPath + L"\\" + plain.substr(slash + 1));
  facts.fileId = 0;
  return ItemOpener::Glance::kSeen;
}

bool LinkCheck::Facts(HANDLE item, const std::wstring& path, ItemFacts& facts) {
  if (!ReadFacts(item, facts)) return false;
  facts.fileId = FileNumber(item);
  return Follow(item, path, facts);
}

bool LinkCheck::Leads(HANDLE item, const std::wstring& path, ItemFacts& facts) {
  const std::wstring plain = WithoutTrailingSlash(path);
  const DWORD attributes = GetFileAttributesW(ExactPath(plain).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  facts.attributes = attributes;
  facts.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  facts.fileId = shellpath::HasLooseName(plain) ? FileNumber(item) : 0;
  return Follow(item, path, facts);
}

bool LinkCheck::Follow(HANDLE item, const std::wstring& path, ItemFacts& facts) {
  const std::wstring final = FinalPath(item);
  facts.identity = IdentityOf(item, final);
  if (facts.link) return true;

  const std::wstring plain = WithoutTrailingSlash(path);
  const size_t slash = plain.rfind(L'\\');
  if (slash == std::wstring::npos || slash + 1 < RootLength(plain)) {
    facts.link = true;  // no folder to compare with: not a path we can vouch for
    return true;
  }
  const std::wstring folder = WithoutTrailingSlash(plain.substr(0, slash + 1));
  std::wstring name = plain.substr(slash + 1);
  const Folder& state = FolderOf(folder);
  if (!state.known || state.reparse || final.empty()) {
    facts.link = true;
    return true;
  }
  facts.link = !SameText(final, state.finalPath + L"\\" + name);
  if (facts.link && name.find(L'~') != std::wstring::npos &&
      name.find_first_of(L"*?") == std::wstring::npos) {
    // A short 8.3 name: the final path holds the long one.
    WIN32_FIND_DATAW data;
    UniqueFind entry(FindFirstFileExW(ExactPath(plain).c_str(), FindExInfoBasic, &data,
                                      FindExSearchNameMatch, nullptr, 0));
    if (entry.valid()) {
      name = data.cFileName;
      facts.link = !SameText(final, state.finalPath + L"\\" + name);
    }
  }
  const std::wstring loose = Loosened(plain);
  if (facts.link && loose != plain &&
      SameText(Loosened(final), Loosened(state.finalPath + L"\\" + name))) {
    // Wine's way of naming "zero " or "dir.\x": the final path reads as the
    // path without the trailing spaces and dots. The item is itself unless
    // that other path leads to the very same item (a link named so).
    UniqueHandle other(CreateFileW(ExactPath(loose).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    facts.link = other.valid() && FileNumber(other.get()) == facts.fileId;
  }
  return true;
}

}  // namespace scourly::win32

namespace scourly {

std::wstring ModuleFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {  // not cut short
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  size_t slash = buffer.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : buffer.substr(0, slash + 1);
}

}  // namespace scourly
