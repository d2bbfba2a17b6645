// Shell services over shell32: special folders, ShellExecute and the
// folder-browse dialog.
#include <shlobj.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/win32_platform.h"

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

// The shortcut reader arrives with the dead-shortcut scan; until then no
// file reads as a link.
bool Win32Shell::ReadShortcut(const std::string&, ShortcutFields&) { return false; }

}  // namespace scourly
