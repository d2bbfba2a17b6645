// Which paths the shell's file operation (the Recycle Bin hand-off) takes as
// they stand. The shell parses each path the classic way: it drops trailing
// spaces and dots from names, turns a device name such as "nul.txt" into the
// device, expands wildcards and resolves "." and ".." parts. A name that the
// parse would change therefore reaches another item, or none: under Wine the
// shell handed "T:\zero " moves "T:\zero". Such a path is never handed over.
// Portable and header-only, so Purgix.dll and the program judge alike.
#pragma once

#include <cstddef>

namespace scourly::shellpath {

enum class Verdict {
  kTakes,     // a fully qualified path the parse leaves as it is
  kTooLong,   // past the shell's classic limit, where it may be cut short
  kNotTaken,  // relative, a bare root, or a name the parse would change
};

// The shell's classic path limit (MAX_PATH), in UTF-16 units.
inline constexpr size_t kClassicLimit = 260;

namespace detail {

template <class Char>
constexpr Char Upper(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

// True when `name` is one of the names the parse turns into a device, with or
// without an extension ("NUL", "con.txt", "COM1 .log").
template <class String>
bool IsDeviceName(const String& name) {
  size_t end = name.find('.');
  if (end == String::npos) end = name.size();
  while (end > 0 && name[end - 1] == ' ') --end;
  static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  auto is = [&](const char* device) {
    size_t i = 0;
    for (; device[i]; ++i) {
      if (i >= end || Upper(name[i]) != static_cast<typename String::value_type>(device[i]))
        return false;
    }
    return i == end;
  };
  for (const char* device : kDevices) {
    if (is(device)) return true;
  }
  // COM and LPT with one digit (the superscript digits count too).
  if (end == 4) {
    const bool com = Upper(name[0]) == 'C' && Upper(name[1]) == 'O' && Upper(name[2]) == 'M';
    const bool lpt = Upper(name[0]) == 'L' && Upper(name[1]) == 'P' && Upper(name[2]) == 'T';
    const auto digit = name[3];
    const bool isDigit =
        (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    if ((com || lpt) && isDigit) return true;
  }
  return false;
}

template <class Char>
constexpr bool IsLetter(Char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace detail

// Whether a name on `path` ends in a space or a dot ("." and ".." aside).
// Such a path is never the shell's (Judge), and Wine's final paths drop
// those characters ("T:\zero " reads "T:\zero"), so its final path may be
// another item's. Any string type of code units.
template <class String>
bool HasLooseName(const String& path) {
  for (size_t start = 0; start < path.size();) {
    size_t end = path.find('\\', start);
    if (end == String::npos) end = path.size();
    const size_t length = end - start;
    const bool dots = (length == 1 && path[start] == '.') ||
                      (length == 2 && path[start] == '.' && path[start + 1] == '.');
    if (length > 0 && !dots && (path[end - 1] == ' ' || path[end - 1] == '.')) return true;
    start = end + 1;
  }
  return false;
}

// How the shell would take `path` (UTF-16 units, any string type of them).
template <class String>
Verdict Judge(const String& path) {
  using detail::IsLetter;
  for (auto c : path) {
    if (c < 0x20 || c == '/' || c == '<' || c == '>' || c == '"' || c == '|' || c == '*' ||
        c == '?')
      return Verdict::kNotTaken;
  }
  // A ':' past the drive names a stream of the file, not the file.
  if (path.find(':', 2) != String::npos) return Verdict::kNotTaken;
  size_t rest;  // where the part below the root begins
  if (path.size() > 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
    rest = 3;
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    if (server == String::npos || server == 2) return Verdict::kNotTaken;
    if (server == 3 && path[2] == '.') return Verdict::kNotTaken;  // the device namespace
    const size_t share = path.find('\\', server + 1);
    if (share == String::npos || share == server + 1) return Verdict::kNotTaken;
    rest = share + 1;
  } else {
    return Verdict::kNotTaken;
  }
  for (size_t start = rest;;) {
    const size_t end = path.find('\\', start);
    const String part = path.substr(start, end == String::npos ? end : end - start);
    if (part.empty() || part.back() == ' ' || part.back() == '.') return Verdict::kNotTaken;
    if (end == String::npos) {
      if (detail::IsDeviceName(part)) return Verdict::kNotTaken;
      break;
    }
    start = end + 1;
  }
  return path.size() >= kClassicLimit ? Verdict::kTooLong : Verdict::kTakes;
}

}  // namespace scourly::shellpath
