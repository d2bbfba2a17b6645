#include "cli/csv.h"

namespace scourly {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed sequence that starts `text` (no overlong
// form, no surrogate, nothing past U+10FFFF), or 0.
size_t SequenceLength(std::string_view text) {
  const unsigned char b = static_cast<unsigned char>(text[0]);
  if (b < 0x80) return 1;
  size_t length;
  char32_t c, min;
  if ((b & 0xE0) == 0xC0) {
    length = 2, c = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    length = 3, c = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    length = 4, c = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[i]);
    if (!Continuation(next)) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    size_t length = SequenceLength(text);
    if (length == 0) {
      out.append(kReplacement);
      // A surrogate's whole three-byte form is one letter, replaced once.
      length = 1;
      while (length < text.size() && length < 3 &&
             Continuation(static_cast<unsigned char>(text[length])) &&
             static_cast<unsigned char>(text[0]) == 0xED)
        ++length;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out;
}

std::string CsvField(std::string_view text) {
  std::string valid = ValidUtf8(text);
  if (valid.find_first_of(",\";\r\n") == std::string::npos) return valid;
  std::string quoted = "\"";
  for (char c : valid) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

std::string CsvLine(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) line.push_back(',');
    first = false;
    line += CsvField(field);
  }
  line += "\r\n";
  return line;
}

}  // namespace scourly
