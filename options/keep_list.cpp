#include "options/keep_list.h"

#include "lists/app_error.h"
#include "options/ini_file.h"

namespace scourly {
namespace {

constexpr const char* kItemStem = "item";
constexpr const char* kTotalKeep = "total_keep";

// The upper-case form of one character, for the scripts whose letters have
// one (the simple, one-for-one mapping Windows uses for ordinal comparisons).
char32_t UpperChar(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : c - 32;  // à..þ, not ÷
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A: pairs of capital and small letters, even or odd first.
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x178 || c == 0x17F)
      return c;
    const bool smallIsOdd = (c < 0x138) || (c >= 0x14A && c < 0x178);
    if (smallIsOdd) return (c & 1) ? c - 1 : c;
    return (c & 1) ? c : c - 1;
  }
  if (c >= 0x3B1 && c <= 0x3CB) return c == 0x3C2 ? 0x3A3 : c - 32;  // α..ϋ, final ς
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;  // а..я
  if (c >= 0x450 && c <= 0x45F) return c - 80;  // ѐ..џ
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;  // full-width a..z
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string Indexed(int i) { return kItemStem + std::to_string(i); }

}  // namespace

std::string UpperOrdinal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      out.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : static_cast<char>(b));
      ++i;
      continue;
    }
    // Only two- and three-byte sequences hold letters with a case here; the
    // bytes of anything else, valid or not, go over unchanged.
    const int extra = (b >= 0xC2 && b <= 0xDF) ? 1 : (b >= 0xE0 && b <= 0xEF) ? 2 : 0;
    char32_t c = extra == 1 ? (b & 0x1F) : (b & 0x0F);
    bool valid = extra > 0 && i + extra < text.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      valid = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!valid || (extra == 2 && c < 0x800)) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    AppendUtf8(out, UpperChar(c));
    i += extra + 1;
  }
  return out;
}

// ---- The list ----

bool KeepList::Add(const std::string& entry) {
  if (entry.empty()) return false;
  for (const std::string& e : entries_) {
    if (SamePathText(e, entry)) return false;
  }
  entries_.push_back(entry);
  return true;
}

void KeepList::RemoveAt(int i) {
  if (i >= 0 && i < Count()) entries_.erase(entries_.begin() + i);
}

KeepList KeepList::Read(FileSystem& fs, const std::string& iniPath) {
  IniFile ini(fs, iniPath);
  KeepList list;
  const int n = ini.ItemsToRead(kKeepSection, ini.ReadInteger(kKeepSection, kTotalKeep, -1),
                                {kItemStem});
  for (int i = 0; i < n; ++i) list.Add(ini.ReadString(kKeepSection, Indexed(i), ""));
  return list;
}

void KeepList::Write(FileSystem& fs, const std::string& iniPath) const {
  IniFile ini(fs, iniPath);
  for (int i = 0; i < Count(); ++i) ini.WriteString(kKeepSection, Indexed(i), entries_[i]);
  ini.WriteInteger(kKeepSection, kTotalKeep, Count() - 1);
  if (ini.Save() != 0) throw AppError("Unable to write to " + ini.path());
}

// ---- The filter ----

KeepFilter::KeepFilter(const KeepList& list, FileSystem& fs) : fs_(&fs) {
  for (const std::string& entry : list.Entries()) {
    const bool folder = KeepList::IsFolderEntry(entry);
    std::string path = folder ? entry.substr(0, entry.size() - 1) : entry;
    // The entry as written, and its long form when that differs: a short
    // entry keeps what the walks list by long names, and a long one what a
    // path with short parts (such as the temporary folder's) reaches.
    std::vector<std::string> forms{UpperOrdinal(path)};
    if (path.find('~') != std::string::npos) {
      if (std::optional<std::string> longForm = fs.LongPathName(path))
        forms.push_back(UpperOrdinal(*longForm));
    }
    for (std::string& key : forms) {
      while (key.size() > 1 && key.back() == '\\') key.pop_back();
      size_t slash = key.rfind('\\');
      if (folder) {
        folders_.insert(key + "\\");
      } else {
        files_.insert(key);
      }
      if (slash == std::string::npos) continue;  // a drive root: nothing holds it
      Names& names = byFolder_[key.substr(0, slash + 1)];
      (folder ? names.folders : names.files).insert(key.substr(slash + 1));
    }
  }
}

const KeepFilter& KeepFilter::None() {
  static const KeepFilter none;
  return none;
}

std::string KeepFilter::Canonical(const std::string& path) const {
  // Windows makes every short name it invents with a "~"; a path without one
  // is already its long form.
  if (!fs_ || path.find('~') == std::string::npos) return UpperOrdinal(path);
  // Rows share their folders, so the long form of a folder is asked once;
  // a last part is looked up only when it may be a short name itself.
  size_t end = path.size();
  while (end > 1 && path[end - 1] == '\\') --end;
  const size_t slash = path.rfind('\\', end - 1);
  if (slash == std::string::npos || path.find('~', slash) != std::string::npos)
    return LongForm(path);
  return LongForm(path.substr(0, slash + 1)) + UpperOrdinal(path.substr(slash + 1));
}

std::string KeepFilter::LongForm(const std::string& path) const {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto it = longForms_.find(path); it != longForms_.end()) return it->second;
  }
  std::optional<std::string> longForm = fs_->LongPathName(path);
  std::string key = UpperOrdinal(longForm ? *longForm : path);
  if (path.back() == '\\' && (key.empty() || key.back() != '\\')) key += '\\';
  std::lock_guard<std::mutex> lock(mutex_);
  longForms_.emplace(path, key);
  return key;
}

bool KeepFilter::Keeps(const std::string& path, bool folder) const {
  if (Empty()) return false;
  std::string key = Canonical(path);
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  if (folder ? folders_.count(key + "\\") > 0 : files_.count(key) > 0) return true;
  // A folder entry above it.
  for (size_t slash = key.find('\\'); slash != std::string::npos;
       slash = key.find('\\', slash + 1)) {
    if (folders_.count(key.substr(0, slash + 1))) return true;
  }
  return false;
}

bool KeepFilter::Reaches(const std::string& path, bool folder) const {
  if (Keeps(path, folder)) return true;
  if (!folder) return false;
  std::string below = Canonical(path);
  if (below.empty() || below.back() != '\\') below += '\\';
  for (const auto* keys : {&files_, &folders_}) {
    for (const std::string& key : *keys) {
      if (key.size() > below.size() && key.compare(0, below.size(), below) == 0) return true;
    }
  }
  return false;
}

const KeepFilter::Names* KeepFilter::In(const std::string& location) const {
  if (byFolder_.empty()) return nullptr;
  auto it = byFolder_.find(Canonical(location));
  return it == byFolder_.end() ? nullptr : &it->second;
}

KeepFilter MakeKeepFilter(const KeepList* list, FileSystem& fs) {
  if (!list) return KeepFilter();
  return KeepFilter(*list, fs);
}

bool DropKeptRows(ResultList& list, const KeepFilter& keep) {
  if (keep.Empty()) return false;
  std::vector<uint8_t> remove(list.Count()), select(list.Count());
  bool any = false;
  for (int i = 0; i < list.Count(); ++i) {
    remove[i] = keep.Keeps(list[i].FullPath(), list[i].IsFolder());
    select[i] = list.Selected(i);
    any = any || remove[i];
  }
  if (any) list.RemoveMarked(remove, select);
  return any;
}

}  // namespace scourly
