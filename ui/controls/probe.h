// Where the windows answer the end-to-end tests' read-only questions (a row's
// text, a menu item's caption): a buffer the program allocates itself. A
// test driver in another process asks for its address once (kMsgProbeBuffer)
// and reads it with ReadProcessMemory. The program never writes to an
// address a message hands it, so these messages open no door into it.
#pragma once

#include <windows.h>

#include <string>

namespace scourly::gui {

// The buffer's capacity in characters, the terminating NUL included.
inline constexpr int kProbeCapacity = 2048;

// The buffer, allocated on first use.
wchar_t* ProbeBuffer();

// Copies `text` (cut to the capacity) into the buffer; its length.
LRESULT ProbeAnswer(const std::wstring& text);

}  // namespace scourly::gui
