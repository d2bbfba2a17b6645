// Purgix.dll, loaded from the program's folder on first use, so a missing
// library does not stop the program from starting.
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
      doDelete_ = reinterpret_cast<void (*)()>(
          reinterpret_cast<void*>(GetProcAddress(module_, "doDELETE")));
      if (!doDelete_) {
        FreeLibrary(module_);
        module_ = nullptr;
      }
    }
  }
  return doDelete_ != nullptr;
}

void Win32Purgix::DoDelete() {
  if (Available()) doDelete_();
}

}  // namespace scourly
