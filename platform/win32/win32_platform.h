// The real Windows behind the platform interfaces (Win32 W functions; UTF-8
// at the boundary).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/filesystem.h"
#include "platform/locale.h"
#include "platform/purgix.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace scourly {

// UTF-16 from the logic's text and back. Text is WTF-8, so every name the
// platform reports comes back to the same UTF-16 units.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
// Widen for paths: false when `text` is not WTF-8, so nothing is ever done
// through a path that a conversion had to guess at.
bool WidenExact(const std::string& text, std::wstring& wide);

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<FolderListing> ListFolder(const std::string& folder) override;
  DriveType DriveTypeOf(const std::string& root) override;
  std::string TempPath() override;
  std::string ProgramFolder() override;
  bool FileExists(const std::string& path) override;
  bool FindFirstFinds(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& bytes) override;
  uint32_t WriteFile(const std::string& path, const std::string& bytes) override;
  uint32_t WriteFileSafely(const std::string& path, const std::string& bytes) override;
  std::unique_ptr<ItemOpener> NewItemOpener() override;
  // In win32_keep_and_log.cpp: what the deletion log and the keep list need.
  std::unique_ptr<AppendingFile> OpenForAppend(const std::string& path, uint32_t& error) override;
  uint32_t MoveReplacing(const std::string& from, const std::string& to) override;
  std::optional<std::string> LongPathName(const std::string& path) override;
};

class Win32Locale : public Locale {
 public:
  uint64_t ToLocalFileTime(uint64_t utcTicks) override;
  std::string ShortDate(uint64_t localTicks) override;
  int CompareListText(const std::string& a, const std::string& b) override;
  std::string ListSortKey(const std::string& text) override;

 private:
  std::wstring wide_;  // reused by ListSortKey, which runs once per row
  std::string key_;
};

class Win32Ui : public Ui {
 public:
  MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override;
  void ShowError(const std::string& text) override;
  void SetHourglass(bool on) override;
  void PumpMessages() override;
  void RunWhileAnswering(const std::function<void()>& work) override;

  // The window that owns message boxes (the main window once it exists).
  void SetOwner(HWND owner) { owner_ = owner; }
  // Runs before each pump and before each message box (any nested message
  // loop), so windows copy their models onto the controls: the user sees the
  // scan's progress, and no window paints a row its model no longer has.
  void SetBeforePump(std::function<void()> sync) { beforePump_ = std::move(sync); }
  // Sees each pumped message first and returns true when it handled it (for
  // example IsDialogMessage for a modeless dialog); it is then not dispatched.
  void SetMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }
  bool hourglass() const { return hourglass_; }

 private:
  HWND owner_ = nullptr;
  std::function<void()> beforePump_;
  std::function<bool(MSG&)> filter_;
  bool hourglass_ = false;
};

// Which export of Purgix.dll a deletion calls.
enum class PurgixEntry {
  kAsking,  // doDELETE: the shell may ask the user (the window)
  kQuiet,   // doDELETEQuiet: nothing is shown, nothing deleted for good (the command line)
};

// Loads Purgix.dll from the program's folder when first needed.
class Win32Purgix : public Purgix {
 public:
  Win32Purgix() = default;
  explicit Win32Purgix(PurgixEntry entry) : entry_(entry) {}
  // Another full path of the library (tests).
  explicit Win32Purgix(std::string dllPath, PurgixEntry entry = PurgixEntry::kAsking)
      : dllPath_(std::move(dllPath)), entry_(entry) {}
  ~Win32Purgix() override;
  Win32Purgix(const Win32Purgix&) = delete;
  Win32Purgix& operator=(const Win32Purgix&) = delete;
  bool Available() override;
  void DoDelete() override;

 private:
  std::string dllPath_;  // empty: Purgix.dll beside the executable
  PurgixEntry entry_ = PurgixEntry::kAsking;
  HMODULE module_ = nullptr;
  void (*doDelete_)() = nullptr;
  bool tried_ = false;
};

class Win32Shell : public Shell {
 public:
  std::optional<std::string> SpecialFolderPath(int csidl) override;
  std::optional<std::string> KnownFolderPath(KnownFolder folder, FolderOwner owner) override;
  std::vector<std::string> ProfileFolders() override;
  void Open(const std::string& target, ShowCommand show) override;
  std::optional<std::string> BrowseForFolder(const std::string& preselect) override;
  std::optional<std::string> BrowseForFile() override;
  bool ReadShortcut(const std::string& linkPath, ShortcutFields& fields) override;
};

}  // namespace scourly
