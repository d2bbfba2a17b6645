// The keep list: files and folders the user never wants listed or deleted.
// An entry is a full path; one that ends in "\" is a folder and keeps the
// folder and everything below it, any other keeps that one file. Paths
// compare as Windows compares them: case ignored, character by character
// (no linguistic rules), and a short 8.3 form of a path stands for its long
// form.
//
// The list lives in settings.ini, section "keep": "item0", "item1", ... and
// "total_keep", the count minus one. The section is written only when the
// list changes, so a program that never keeps anything writes the file it
// always wrote.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "lists/controls.h"
#include "platform/filesystem.h"

namespace scourly {

inline constexpr const char* kKeepSection = "keep";

// `text` with every letter in its upper-case form, one character for one, as
// Windows folds case when it compares names ordinally (Latin, Greek and
// Cyrillic letters and the full-width Latin ones; anything else unchanged).
// Text that is not UTF-8 keeps its bytes.
std::string UpperOrdinal(std::string_view text);

// Whether two paths name the same place by the ordinal, case-blind rule.
inline bool SamePathText(std::string_view a, std::string_view b) {
  return UpperOrdinal(a) == UpperOrdinal(b);
}

class KeepList {
 public:
  const std::vector<std::string>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& operator[](int i) const { return entries_[i]; }

  static bool IsFolderEntry(const std::string& entry) {
    return !entry.empty() && entry.back() == '\\';
  }

  // Appends `entry`; false (and nothing changes) when it is empty or the
  // list holds it already, letter case aside.
  bool Add(const std::string& entry);
  void RemoveAt(int i);
  void Clear() { entries_.clear(); }

  bool operator==(const KeepList&) const = default;

  // Reads the section of the settings file at `iniPath`: bounded by the keys
  // present, a missing key inside the count skipped. No file or no section
  // gives an empty list.
  static KeepList Read(FileSystem& fs, const std::string& iniPath);
  // Writes the section into the settings file, leaving everything else as it
  // stands. Throws AppError("Unable to write to ...") when the file cannot
  // be written; it then holds what it held before.
  void Write(FileSystem& fs, const std::string& iniPath) const;

 private:
  std::vector<std::string> entries_;
};

// A keep list made ready for many questions during one scan or deletion: its
// entries in canonical form (upper case, long form), filed by the folder
// that holds them. It may be asked from several threads at once.
class KeepFilter {
 public:
  // Keeps nothing.
  KeepFilter() = default;
  // `fs` turns short forms into long ones, for the entries now and for the
  // paths asked about later; it must outlive the filter.
  KeepFilter(const KeepList& list, FileSystem& fs);
  KeepFilter(const KeepFilter&) = delete;
  KeepFilter& operator=(const KeepFilter&) = delete;

  // A filter that keeps nothing, for walks that list everything.
  static const KeepFilter& None();

  bool Empty() const { return files_.empty() && folders_.empty(); }

  // Whether the item at `path` is kept: a file entry names it (`folder`
  // false), or a folder entry names it (`folder` true) or a folder above it.
  // A folder's path may end in "\".
  bool Keeps(const std::string& path, bool folder) const;

  // Whether acting on the whole item at `path` would reach something kept:
  // it is kept, or it is a folder with a kept item below it.
  bool Reaches(const std::string& path, bool folder) const;

  // The names a folder's kept entries have, in upper case.
  struct Names {
    std::unordered_set<std::string> files;
    std::unordered_set<std::string> folders;
    bool File(const std::string& name) const { return files.count(UpperOrdinal(name)) > 0; }
    bool Folder(const std::string& name) const { return folders.count(UpperOrdinal(name)) > 0; }
  };
  // What is kept directly inside the folder `location` (ending in "\"):
  // null when nothing is. One question per folder, then one per entry.
  const Names* In(const std::string& location) const;

 private:
  // The canonical form of a path: its long form when it may hold a short
  // part, in upper case.
  std::string Canonical(const std::string& path) const;
  // Upper case of what the platform gives as the long form of `path`
  // (`path` itself when it cannot), remembered.
  std::string LongForm(const std::string& path) const;

  FileSystem* fs_ = nullptr;
  std::unordered_set<std::string> files_;    // canonical file paths
  std::unordered_set<std::string> folders_;  // canonical folder paths, ending in "\"
  std::unordered_map<std::string, Names> byFolder_;  // canonical location -> names
  mutable std::mutex mutex_;
  mutable std::unordered_map<std::string, std::string> longForms_;
};

// The filter of `list`; one that keeps nothing when there is no list.
KeepFilter MakeKeepFilter(const KeepList* list, FileSystem& fs);

// Takes out of `list` every row the filter keeps, in one pass; the rows that
// stay keep their selection. True when a row went.
bool DropKeptRows(ResultList& list, const KeepFilter& keep);

}  // namespace scourly
