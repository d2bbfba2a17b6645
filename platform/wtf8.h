// WTF-8: UTF-8 extended to carry unpaired UTF-16 surrogates, which file names
// on NTFS may hold. Every UTF-16 name has exactly one WTF-8 form and comes
// back unchanged from it, so a name carried through the logic as text is
// never turned into another file's name. Valid UTF-16 gives plain UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace scourly::wtf8 {

// UTF-16 code units to WTF-8: a surrogate pair becomes one four-byte
// sequence, a lone surrogate its own three-byte sequence.
inline std::string FromUtf16(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// WTF-8 to UTF-16. False for bytes that are not WTF-8: overlong forms, values
// past U+10FFFF, truncated sequences, and a lead surrogate followed by a trail
// surrogate as two sequences (that pair has only the four-byte form). `out`
// then holds the units decoded so far.
inline bool ToUtf16(std::string_view bytes, std::u16string& out) {
  out.clear();
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    int extra;
    char32_t c, min;
    if (b < 0x80) {
      extra = 0, c = b, min = 0;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, c = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, c = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, c = b & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (extra > 0 && i + extra >= bytes.size()) return false;  // cut short
    for (int k = 1; k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    if (c < min || c > 0x10FFFF) return false;
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      if (c >= 0xDC00 && c <= 0xDFFF && !out.empty() && out.back() >= 0xD800 &&
          out.back() <= 0xDBFF)
        return false;  // a pair written as two sequences
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return true;
}

// Decoding for display and other text that need not be exact: what is not
// WTF-8 becomes U+FFFD.
inline std::u16string ToUtf16Lenient(std::string_view bytes) {
  std::u16string out;
  if (ToUtf16(bytes, out)) return out;
  out.clear();
  size_t start = 0;
  // Decode the longest valid piece at each place; replace one bad byte.
  while (start < bytes.size()) {
    size_t end = start + 1;
    std::u16string piece, best;
    size_t bestEnd = start;
    for (; end <= bytes.size() && end <= start + 4; ++end) {
      if (ToUtf16(bytes.substr(start, end - start), piece)) {
        best = piece;
        bestEnd = end;
      }
    }
    if (bestEnd == start) {
      out.push_back(u'\xFFFD');
      ++start;
    } else {
      out += best;
      start = bestEnd;
    }
  }
  return out;
}

}  // namespace scourly::wtf8
