// Purgix.dll, loaded from the program's folder on first use, so a missing
// library does not stop the program from starting.
#include "platform/win32/win32_answering.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_util.h"

namespace scourly {

Win32Purgix::~Win32Purgix() {
  if (module_) FreeLibrary(module_);
}

bool Win32Purgix::Available() {
  if (!tried_) {
    tried_ = true;
    // Only the full path beside the executable: never a Purgix.dll found
    // along the search path.
    std::wstring path = dllPath_.empty() ? ModuleFolder() + L"Purgix.dll" : Widen(dllPath_);
    module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module_) {
      const char* name = entry_ == PurgixEntry::kQuiet ? "doDELETEQuiet" : "doDELETE";
      doDelete_ = reinterpret_cast<void (*)()>(
          reinterpret_cast<void*>(GetProcAddress(module_, name)));
      if (!doDelete_) {
        FreeLibrary(module_);
        module_ = nullptr;
      }
    }
  }
  return doDelete_ != nullptr;
}

void Win32Purgix::DoDelete() {
  if (!Available()) return;
  // No window to keep answering, and no question to own.
  if (entry_ == PurgixEntry::kQuiet) return doDelete_();
  // Tens of thousands of files take the shell a while: the library runs on
  // a thread of its own while the windows keep painting and answering, but
  // take no command. It shares this thread's input state, so the shell's
  // question (delete for good?) is owned by the program's active window.
  RunAnswering([this] { doDelete_(); }, true);
}

}  // namespace scourly
