#include "options/ini_file.h"

#include <cctype>
#include <limits>

namespace scourly {
namespace {

constexpr size_t kMaxValueChars = 2047;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// The section name of a "[name]" line, or false.
bool SectionName(const std::string& line, std::string& name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// The key of a "key=value" line, or false.
bool KeyName(const std::string& line, std::string& key, std::string* value = nullptr) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(line.substr(0, eq));
  if (value) *value = Trim(line.substr(eq + 1));
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseIniInteger(const std::string& text, int32_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t v = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      int d = HexDigit(text[i]);
      if (d < 0) return false;
      v = v * 16 + d;
      if (v > std::numeric_limits<uint32_t>::max()) return false;
    }
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min())
    return false;
  value = static_cast<int32_t>(v);
  return true;
}

IniFile::IniFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {
  std::string bytes;
  if (!fs_.ReadFile(path_, bytes)) return;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    size_t end = nl == std::string::npos ? bytes.size() : nl;
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

int IniFile::FindSection(const std::string& section) const {
  std::string name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], name) && EqualNoCase(name, section)) return static_cast<int>(i);
  }
  return -1;
}

int IniFile::FindKey(const std::string& section, const std::string& key) const {
  int s = FindSection(section);
  if (s < 0) return -1;
  std::string name;
  for (size_t i = s + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], name)) break;
    if (KeyName(lines_[i], name) && EqualNoCase(name, key)) return static_cast<int>(i);
  }
  return -1;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  int line = FindKey(section, key);
  if (line < 0) return fallback;
  std::string name, value;
  KeyName(lines_[line], name, &value);
  if (value.size() > kMaxValueChars) value.resize(kMaxValueChars);
  return value;
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t fallback) const {
  int32_t value;
  // A missing key reads as "", which is no number.
  if (!ParseIniInteger(ReadString(section, key, ""), value)) return fallback;
  return value;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

uint32_t IniFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  std::string entry = key + "=" + value;
  int line = FindKey(section, key);
  if (line >= 0) {
    lines_[line] = entry;
  } else {
    int s = FindSection(section);
    if (s < 0) {
      lines_.push_back("[" + section + "]");
      lines_.push_back(entry);
    } else {
      // After the section's last non-blank line.
      size_t insertAt = s + 1;
      std::string name;
      for (size_t i = s + 1; i < lines_.size() && !SectionName(lines_[i], name); ++i) {
        if (!Trim(lines_[i]).empty()) insertAt = i + 1;
      }
      lines_.insert(lines_.begin() + insertAt, entry);
    }
  }
  std::string bytes;
  for (const std::string& l : lines_) bytes.append(l).append("\r\n");
  return fs_.WriteFile(path_, bytes);
}

uint32_t IniFile::WriteInteger(const std::string& section, const std::string& key,
                               int64_t value) {
  return WriteString(section, key, std::to_string(value));
}

uint32_t IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

}  // namespace scourly
