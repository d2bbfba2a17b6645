// The benchmark trees, the same on the host (in memory) and under Wine (real
// files), described as folders and files for a builder to make:
//  - shallow: groups of folders two levels down, a few kinds of file;
//  - deep: random parents down to about 60 levels, paths past 260
//    characters, 5% empty files, fifteen extensions.
#pragma once

#include <cstdint>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace scourly::bench {

struct TreeSink {
  // `path` relative to the tree's root, "\"-separated, no leading "\".
  std::function<void(const std::string& path)> folder;  // parents come first
  std::function<void(const std::string& path, uint64_t size)> file;
};

// The masks the scan benchmarks check (the program's defaults).
inline const std::vector<std::string>& BenchMasks() {
  static const std::vector<std::string> masks = {"*.tmp", "*.---", "*.??~",
                                                 "*.bak", "*.old", "*.~*"};
  return masks;
}

// Today's shallow tree: `folders` folders in 20 groups, `perFolder` files
// each, eight kinds.
inline void ShallowTree(int folders, int perFolder, const TreeSink& sink) {
  const char* kinds[] = {".txt", ".doc", ".tmp", ".bak", ".dll", ".exe", ".old", ".jpg"};
  for (int f = 0; f < folders; ++f) {
    std::string group = std::string("d").append(std::to_string(f % 20));
    if (f < 20) sink.folder(group);
    std::string folder = group + "\\sub" + std::to_string(f);
    sink.folder(folder);
    for (int i = 0; i < perFolder; ++i)
      sink.file(folder + "\\file" + std::to_string(i) + kinds[(f + i) % 8], (i % 5) * 10);
  }
}

struct DeepTreeShape {
  int folders = 20000;
  int files = 200000;
  int maxDepth = 58;
  uint32_t seed = 20240315;
};

// What a deep tree turned out to be.
struct DeepTreeFacts {
  int maxDepth = 0;
  size_t longestPath = 0;  // relative path, characters
  int emptyFiles = 0;
};

// Folders hang from random parents: two in three below the folder made just
// before (long chains, down to `maxDepth`), the rest below any folder; files
// go to random folders. Names are short and random, so paths grow long only
// with depth. Deterministic for a seed.
inline DeepTreeFacts DeepTree(const DeepTreeShape& shape, const TreeSink& sink) {
  static const char* const kExtensions[] = {"tmp", "bak", "old", "---", "ba~", "~xy", "txt", "doc",
                                            "jpg", "dll", "exe", "log", "dat", "htm", "ini"};
  uint64_t state = shape.seed * 6364136223846793005ULL + 1442695040888963407ULL;
  auto next = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state >> 33);
  };
  auto name = [&next](int minLength, int maxLength) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789_-";
    int length = minLength + static_cast<int>(next() % (maxLength - minLength + 1));
    std::string text;
    for (int i = 0; i < length; ++i) text.push_back(kLetters[next() % (sizeof kLetters - 1)]);
    return text;
  };
  // A serial number in base 36 ends every name: siblings never clash.
  auto serial = [](int n) {
    std::string text;
    do {
      text.insert(text.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[n % 36]);
      n /= 36;
    } while (n > 0);
    return text;
  };
  DeepTreeFacts facts;
  struct Folder {
    std::string path;
    int depth;
  };
  std::vector<Folder> folders;
  folders.reserve(shape.folders);
  for (int f = 0; f < shape.folders; ++f) {
    const Folder* parent = nullptr;
    if (!folders.empty()) {
      parent = next() % 3 ? &folders.back() : &folders[next() % folders.size()];
      if (parent->depth >= shape.maxDepth) parent = &folders[next() % folders.size()];
      if (parent->depth >= shape.maxDepth) parent = nullptr;
    }
    std::string own = name(1, 4) + serial(f);
    Folder folder{parent ? parent->path + "\\" + own : own, parent ? parent->depth + 1 : 1};
    sink.folder(folder.path);
    facts.maxDepth = std::max(facts.maxDepth, folder.depth);
    folders.push_back(std::move(folder));
  }
  for (int i = 0; i < shape.files; ++i) {
    const Folder& folder = folders[next() % folders.size()];
    std::string path =
        folder.path + "\\" + name(3, 8) + serial(i) + "." + kExtensions[next() % 15];
    uint64_t size = next() % 20 == 0 ? 0 : 1 + next() % 4096;
    if (size == 0) ++facts.emptyFiles;
    facts.longestPath = std::max(facts.longestPath, path.size());
    sink.file(path, size);
  }
  return facts;
}

}  // namespace scourly::bench
