// What a million rows cost: bytes per row beyond the name, assigning them to
// a list, and removing half of them selected. Shared by the host benchmark
// and the Windows one; the caller says how many heap bytes are in use.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/deep_tree.h"
#include "bench/targets.h"
#include "lists/controls.h"

namespace scourly::bench {

struct RowBenchResult {
  double rowBytes = 0;     // heap bytes a row holds in its list: row, name, selection flag
  double sharedBytes = 0;  // the shared folder and day texts, per row
  double nameBytes = 0;    // the name's characters per row
  double assign = 0;       // seconds
  double removeHalf = 0;   // seconds
};

// A million rows as a scan of the deep tree makes them: each folder's text
// shared by its rows (ten a folder), each day's by the rows of that day.
// `heapInUse` tells how many heap bytes the program holds now.
inline RowBenchResult RunRowBench(int count, const std::function<size_t()>& heapInUse) {
  RowBenchResult res;
  struct File {
    std::string name;
    size_t folder;
    uint64_t size;
  };
  std::vector<std::string> folderTexts;
  std::vector<File> files;
  DeepTreeShape shape;
  shape.files = count;
  shape.folders = count / 10;
  std::unordered_map<std::string, size_t> folderIndex;
  DeepTree(shape, TreeSink{[&](const std::string& path) {
                             folderIndex.emplace(path, folderTexts.size());
                             folderTexts.push_back("T:\\" + path + "\\");
                           },
                           [&](const std::string& path, uint64_t size) {
                             size_t slash = path.rfind('\\');
                             files.push_back({path.substr(slash + 1),
                                              folderIndex.at(path.substr(0, slash)), size});
                           }});
  folderIndex.clear();

  const size_t atStart = heapInUse();
  std::vector<SharedText> folders;
  folders.reserve(folderTexts.size());
  for (const std::string& text : folderTexts) folders.push_back(SharedText::Make(text));
  std::vector<SharedDay> days;
  for (int d = 0; d < 1000; ++d)
    days.push_back(SharedDay::Make(DayText{150000 + d, std::to_string(d % 28 + 10) + ".03.2024"}));
  const size_t afterShared = heapInUse();

  ResultList list;
  size_t nameChars = 0;
  {
    std::vector<ResultRow> rows;
    rows.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
      File& f = files[i];
      nameChars += f.name.size();
      rows.emplace_back(f.name, folders[f.folder], f.size,
                        133549776000000000ULL + i, days[i % days.size()], false);
    }
    auto start = std::chrono::steady_clock::now();
    list.Assign(std::move(rows));
    res.assign = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const size_t afterRows = heapInUse();
  res.sharedBytes = static_cast<double>(afterShared - atStart) / count;
  res.rowBytes = static_cast<double>(afterRows - afterShared) / count;
  res.nameBytes = static_cast<double>(nameChars) / count;

  std::vector<int> every;
  for (int i = 0; i < count; i += 2) every.push_back(i);
  list.SetSelection(every);
  auto start = std::chrono::steady_clock::now();
  list.RemoveSelected();
  res.removeHalf = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (list.Count() != count - static_cast<int>(every.size()))
    std::printf("ERROR: %d rows left, expected %zu\n", list.Count(), count - every.size());

  std::printf("%d rows: %.1f heap bytes a row in its list (sizeof(ResultRow) %zu, 1 selection "
              "flag, names of %.1f characters, those past 15 on the heap); shared folder and day "
              "texts %.1f bytes a row; assigned in %.3f s\n",
              count, res.rowBytes, sizeof(ResultRow), res.nameBytes, res.sharedBytes, res.assign);
  Target("bytes per row beyond the name", res.rowBytes - res.nameBytes, "<", 64, "B");
  Figure("shared folder and day texts per row (ten rows a folder)", res.sharedBytes, "B");
  Target("removing " + std::to_string(every.size()) + " selected rows of " + std::to_string(count),
         res.removeHalf, "<", 0.5, "s");
  return res;
}

}  // namespace scourly::bench
