// Shell services over shell32: special folders, ShellExecute, the
// folder-browse dialog and the shell link object.
#include <shlobj.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_util.h"

// The known folders' numbers, defined here rather than taken from a library.
#include <initguid.h>
#include <knownfolders.h>

namespace scourly {
namespace {

// Owns an item identifier list the shell allocated.
struct ItemIdList {
  PIDLIST_ABSOLUTE pidl = nullptr;
  ItemIdList() = default;
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ~ItemIdList() {
    if (pidl) CoTaskMemFree(pidl);  // the shell's allocator
  }
};

// The file-system path of `pidl`, any length; empty when it has none.
std::wstring PathOf(PCIDLIST_ABSOLUTE pidl) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    if (SHGetPathFromIDListEx(pidl, buffer.data(), static_cast<DWORD>(buffer.size()),
                              GPFIDL_DEFAULT))
      return buffer.data();
    // The call gives no size; a longer buffer tells a long path from none.
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 4);
  }
}

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data)
    SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

std::optional<std::string> Win32Shell::SpecialFolderPath(int csidl) {
  ItemIdList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list.pidl)) || !list.pidl)
    return std::nullopt;
  std::wstring path = PathOf(list.pidl);
  if (path.empty()) return std::nullopt;
  if (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return Narrow(path);
}

std::optional<std::string> Win32Shell::KnownFolderPath(KnownFolder folder, FolderOwner owner) {
  static const std::pair<KnownFolder, const GUID*> kIds[] = {
      {KnownFolder::kWindows, &FOLDERID_Windows},
      {KnownFolder::kProgramFiles, &FOLDERID_ProgramFiles},
      {KnownFolder::kProgramFilesX86, &FOLDERID_ProgramFilesX86},
      {KnownFolder::kProgramFilesX64, &FOLDERID_ProgramFilesX64},
      {KnownFolder::kUserProfiles, &FOLDERID_UserProfiles},
      {KnownFolder::kProfile, &FOLDERID_Profile},
      {KnownFolder::kPublic, &FOLDERID_Public},
      {KnownFolder::kDesktop, &FOLDERID_Desktop},
      {KnownFolder::kDocuments, &FOLDERID_Documents},
      {KnownFolder::kDownloads, &FOLDERID_Downloads},
      {KnownFolder::kPictures, &FOLDERID_Pictures},
      {KnownFolder::kMusic, &FOLDERID_Music},
      {KnownFolder::kVideos, &FOLDERID_Videos},
      {KnownFolder::kFavorites, &FOLDERID_Favorites},
      {KnownFolder::kRoamingAppData, &FOLDERID_RoamingAppData},
      {KnownFolder::kLocalAppData, &FOLDERID_LocalAppData},
  };
  const GUID* id = nullptr;
  for (const auto& [kind, guid] : kIds) {
    if (kind == folder) id = guid;
  }
  if (!id) return std::nullopt;
  // A token of -1 names the default user, the profile new users start from.
  HANDLE token = owner == FolderOwner::kDefaultUser ? reinterpret_cast<HANDLE>(-1) : nullptr;
  PWSTR path = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(*id, KF_FLAG_DONT_VERIFY, token, &path);
  std::optional<std::string> result;
  if (SUCCEEDED(hr) && path && *path) {
    std::wstring text = path;
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    result = Narrow(text);
  }
  CoTaskMemFree(path);  // also after a failure, which may leave a block
  return result;
}

std::vector<std::string> Win32Shell::ProfileFolders() {
  std::vector<std::string> folders;
  HKEY list;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0, KEY_READ,
                    &list) != ERROR_SUCCESS)
    return folders;
  // RegGetValue expands REG_EXPAND_SZ ("%SystemDrive%\Users\me").
  auto read = [&](const wchar_t* subKey, const wchar_t* name) {
    std::vector<wchar_t> text(1024);
    for (;;) {
      DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
      const LONG status = RegGetValueW(list, subKey, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ,
                                       nullptr, text.data(), &bytes);
      if (status == ERROR_MORE_DATA && text.size() < 32768) {
        text.resize(text.size() * 4);
        continue;
      }
      if (status == ERROR_SUCCESS && text[0]) folders.push_back(Narrow(text.data()));
      return;
    }
  };
  read(nullptr, L"Default");
  read(nullptr, L"Public");
  std::vector<wchar_t> name(256);
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG status =
        RegEnumKeyExW(list, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    read(name.data(), L"ProfileImagePath");
  }
  RegCloseKey(list);
  return folders;
}

void Win32Shell::Open(const std::string& target, ShowCommand show) {
  ShellExecuteW(GetActiveWindow(), L"open", Widen(target).c_str(), nullptr, nullptr,
                static_cast<int>(show));
}

std::optional<std::string> Win32Shell::BrowseForFolder(const std::string& preselect) {
  std::wstring selection = Widen(preselect);
  std::vector<wchar_t> display(MAX_PATH);
  BROWSEINFOW info{};
  info.hwndOwner = GetActiveWindow();
  info.pszDisplayName = display.data();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &BrowseCallback;
  info.lParam = selection.empty() ? 0 : reinterpret_cast<LPARAM>(selection.c_str());
  ItemIdList chosen;
  chosen.pidl = SHBrowseForFolderW(&info);
  if (!chosen.pidl) return std::nullopt;
  std::wstring path = PathOf(chosen.pidl);
  if (path.empty()) return std::nullopt;
  return Narrow(path);
}

namespace {

// CLSID_ShellLink, {00021401-0000-0000-C000-000000000046}; spelled out here
// so the program needs no import library of GUIDs.
constexpr CLSID kClsidShellLink = {0x00021401, 0x0000, 0x0000,
                                   {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Room for the longest path Windows can name, so no field is ever cut.
constexpr int kFieldChars = 32768;

// Fetches one text field through `get`(buffer, size); false when the call
// fails.
template <class Get>
bool ReadField(std::vector<wchar_t>& buffer, std::wstring& out, Get get) {
  buffer[0] = L'\0';
  if (FAILED(get(buffer.data(), static_cast<int>(buffer.size())))) return false;
  buffer.back() = L'\0';
  out = buffer.data();
  return true;
}

bool EndsWithIgnoringCase(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() &&
         CompareStringOrdinal(text.c_str() + (text.size() - tail.size()),
                              static_cast<int>(tail.size()), tail.c_str(),
                              static_cast<int>(tail.size()), TRUE) == CSTR_EQUAL;
}

bool IsUncPath(const std::wstring& path) { return path.compare(0, 2, L"\\\\") == 0; }

// The target as a whole, exact path, or false when the link does not tell
// it. GetPath alone cannot be trusted for that: it is documented to hand back
// at most MAX_PATH characters, and Wine derives it from the link's ANSI
// record, so letters outside the code page come back as "?" or as look-alike
// letters ("Ω" as "O"). A wrong path would name some other file and could
// make a live shortcut look dead. The link's item list holds the whole path
// in UTF-16, as the shell itself reads it; GetPath's answer is kept where it
// is the UNC form of that same path (the point of UNC priority) or where the
// link has no item list of the file system.
bool WholeTarget(IShellLinkW& link, const std::wstring& uncPriorityPath, std::wstring& target) {
  std::wstring listPath;
  ItemIdList list;
  if (link.GetIDList(&list.pidl) == S_OK && list.pidl) listPath = PathOf(list.pidl);

  const bool lossy = uncPriorityPath.find_first_of(L"?*") != std::wstring::npos;
  // A path that is not fully qualified names no definite file (Wine hands
  // one out for links it could not save whole).
  auto qualified = [](const std::wstring& path) {
    return IsUncPath(path) || (path.size() >= 3 && path[1] == L':' && path[2] == L'\\');
  };
  if (!listPath.empty() && !qualified(listPath)) return false;
  if (!listPath.empty()) {
    // "\\server\share\dir\f.txt" for "Z:\dir\f.txt" shares everything after
    // the drive.
    if (!lossy && IsUncPath(uncPriorityPath) && !IsUncPath(listPath) && listPath.size() > 2 &&
        EndsWithIgnoringCase(uncPriorityPath, listPath.substr(2)))
      target = uncPriorityPath;
    else
      target = std::move(listPath);
    return true;
  }
  // Nothing to check the path against: take it when it cannot have been cut
  // or converted.
  if (lossy || uncPriorityPath.size() >= MAX_PATH - 1) return false;
  if (!uncPriorityPath.empty() && !qualified(uncPriorityPath)) return false;
  target = uncPriorityPath;
  return true;
}

}  // namespace

// The link is loaded and read, never resolved: a missing target is neither
// searched for nor reported, and no window can appear.
bool Win32Shell::ReadShortcut(const std::string& linkPath, ShortcutFields& fields) {
  ComApartment apartment;  // raises when COM cannot be initialised
  ComPtr<IShellLinkW> link;  // released before the apartment ends
  if (FAILED(CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IShellLinkW), link.PutVoid())))
    return false;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(__uuidof(IPersistFile), file.PutVoid()))) return false;
  if (FAILED(file->Load(FileApiPath(linkPath).c_str(), STGM_READ))) return false;

  std::vector<wchar_t> buffer(kFieldChars);
  std::wstring reported, path, description, workingDirectory, arguments, iconLocation;
  int iconIndex = 0;
  WIN32_FIND_DATAW found{};
  if (!ReadField(buffer, reported, [&](wchar_t* b, int n) {
        return link->GetPath(b, n, &found, SLGP_UNCPRIORITY);
      }))
    return false;
  if (!WholeTarget(*link.get(), reported, path)) return false;
  if (!ReadField(buffer, description,
                 [&](wchar_t* b, int n) { return link->GetDescription(b, n); }) ||
      !ReadField(buffer, workingDirectory,
                 [&](wchar_t* b, int n) { return link->GetWorkingDirectory(b, n); }) ||
      !ReadField(buffer, arguments, [&](wchar_t* b, int n) { return link->GetArguments(b, n); }) ||
      !ReadField(buffer, iconLocation, [&](wchar_t* b, int n) {
        return link->GetIconLocation(b, n, &iconIndex);
      }))
    return false;

  fields.path = Narrow(path);
  fields.description = Narrow(description);
  fields.workingDirectory = Narrow(workingDirectory);
  fields.arguments = Narrow(arguments);
  fields.iconLocation = Narrow(iconLocation);
  fields.iconIndex = iconIndex;
  return true;
}

}  // namespace scourly
