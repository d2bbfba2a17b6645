#include "options/ini_file.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace scourly {
namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
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

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

IniFile::IniFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {
  std::string bytes;
  if (!fs_.ReadFile(path_, bytes)) {
    unreadable_ = fs_.FileExists(path_);
    return;
  }
  // Without this, the mark would glue itself to the first section's name
  // and that whole section would read as missing.
  size_t start = 0;
  if (bytes.compare(0, 3, kByteOrderMark) == 0) {
    byteOrderMark_ = true;
    start = 3;
  }
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    size_t end = nl == std::string::npos ? bytes.size() : nl;
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

void IniFile::Index() const {
  if (indexed_) return;
  sections_.clear();
  keys_.clear();
  keyCounts_.clear();
  std::string name, section;
  bool inSection = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], name)) {
      section = Lower(name);
      inSection = sections_.try_emplace(section, static_cast<int>(i)).second;
      // Keys of a second section of the same name are never found, as with
      // the profile functions, which stop at the first.
    } else if (inSection && KeyName(lines_[i], name)) {
      keys_.try_emplace(section + '\n' + Lower(name), static_cast<int>(i));
      ++keyCounts_[section];
    }
  }
  indexed_ = true;
}

int IniFile::FindSection(const std::string& section) const {
  Index();
  auto it = sections_.find(Lower(section));
  return it == sections_.end() ? -1 : it->second;
}

int IniFile::FindKey(const std::string& section, const std::string& key) const {
  Index();
  auto it = keys_.find(Lower(section) + '\n' + Lower(key));
  return it == keys_.end() ? -1 : it->second;
}

int IniFile::KeyCount(const std::string& section) const {
  Index();
  auto it = keyCounts_.find(Lower(section));
  return it == keyCounts_.end() ? 0 : it->second;
}

int IniFile::HighestIndex(const std::string& section, const std::string& stem) const {
  Index();
  const std::string prefix = Lower(section) + '\n' + Lower(stem);
  int highest = -1;
  for (const auto& [key, line] : keys_) {
    if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
    int32_t n = 0;
    const std::string digits = key.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") == std::string::npos &&
        (digits.size() == 1 || digits[0] != '0') && ParseIniInteger(digits, n) && n > highest)
      highest = n;
  }
  return highest;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  int line = FindKey(section, key);
  if (line < 0) return fallback;
  std::string name, value;
  KeyName(lines_[line], name, &value);
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

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  std::string entry = key + "=" + value;
  int line = FindKey(section, key);
  if (line >= 0) {
    lines_[line] = entry;
    return;
  }
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
  indexed_ = false;
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int64_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

uint32_t IniFile::Save() {
  std::string bytes = byteOrderMark_ ? kByteOrderMark : "";
  for (const std::string& l : lines_) bytes.append(l).append("\r\n");
  return fs_.WriteFileSafely(path_, bytes);
}

int IniFile::ItemsToRead(const std::string& section, int32_t last,
                         std::initializer_list<const char*> stems) const {
  if (last < 0) return 0;
  int64_t bound = KeyCount(section);
  for (const char* stem : stems) bound = std::max<int64_t>(bound, HighestIndex(section, stem) + 1);
  return static_cast<int>(std::min<int64_t>(int64_t{last} + 1, bound));
}

}  // namespace scourly
