#include "ui/controls/probe.h"

#include <algorithm>

namespace scourly::gui {

wchar_t* ProbeBuffer() {
  static wchar_t* buffer = static_cast<wchar_t*>(VirtualAlloc(
      nullptr, kProbeCapacity * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  return buffer;
}

LRESULT ProbeAnswer(const std::wstring& text) {
  wchar_t* out = ProbeBuffer();
  if (!out) return -1;
  size_t n = std::min<size_t>(text.size(), kProbeCapacity - 1);
  text.copy(out, n);
  out[n] = L'\0';
  return static_cast<LRESULT>(n);
}

}  // namespace scourly::gui
