// The column sorts against the literal exchange procedure, the sorted list
// box's order, and Select All / Invert Selection on large lists. Shared by
// the host benchmark (fake locale) and the Windows one (the real locale).
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lists/column_sort.h"
#include "lists/selection.h"
#include "platform/locale.h"

namespace scourly::bench {

// The best time of `run` over `repeats` runs, each after an untimed `setup`.
inline double Seconds(const std::function<void()>& setup, const std::function<void()>& run,
                      int repeats = 1) {
  double best = 1e9;
  for (int i = 0; i < repeats; ++i) {
    setup();
    auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// Rows as a big scan gives them, with heavy ties in every column: a few
// thousand folders, sizes from a small set, a hundred days.
inline std::vector<ResultRow> BenchRows(int count) {
  std::vector<SharedText> folders;
  for (int f = 0; f < 2000; ++f)
    folders.push_back(SharedText::Make(
        "C:\\Users\\someone\\AppData\\Local\\Temp\\d" + std::to_string(f * 7919 % 2000) + "\\"));
  std::vector<SharedDay> days;
  for (int d = 0; d < 100; ++d)
    days.push_back(
        SharedDay::Make(DayText{153000 + d * 37 % 100, "day" + std::to_string(d)}));
  std::vector<ResultRow> rows;
  rows.reserve(count);
  uint32_t r = 12345;
  for (int i = 0; i < count; ++i) {
    r = r * 1103515245u + 12345u;
    uint64_t size = (r >> 8) % 7 == 0 ? 0 : ((r >> 12) % 300) * 512;
    rows.emplace_back("file" + std::to_string(r % 50000) + ".tmp",
                      folders[(r >> 4) % folders.size()], size, 0, days[(r >> 16) % days.size()]);
  }
  return rows;
}

struct SortBenchResult {
  double fast[3] = {}, fastSmall[3] = {}, literal[3] = {};
  double fileName = 0, selectAll = 0, invert = 0;
};

// The literal procedure on `list`'s keys, then the same reordering step.
inline void LiteralSort(ResultList& list, int column) {
  const std::vector<ResultRow>& rows = list.Rows();
  std::vector<int> order;
  if (column == 0) order = LiteralExchangeSortOrder(LocationKeys(rows), LocationLess());
  if (column == 1) order = LiteralExchangeSortOrder(SizeKeys(rows));
  if (column == 2) order = LiteralExchangeSortOrder(DayKeys(rows));
  Reorder(list, order);
}

inline void FastSort(ResultList& list, int column) {
  if (column == 0) SortByLocation(list);
  if (column == 1) SortBySize(list);
  if (column == 2) SortByTimeStamp(list);
}

// Runs everything and prints the table. `rows` for the fast sorts and the
// File Name order, `literalRows` for the literal procedure (and the fast sort
// beside it), `selectRows` for the selection commands.
inline SortBenchResult RunSortBench(Locale& locale, int rows, int literalRows, int selectRows) {
  SortBenchResult res;
  const char* names[3] = {"Location", "Size (B)", "Time Stamp"};
  std::vector<ResultRow> big = BenchRows(rows), small = BenchRows(literalRows);
  for (int c = 0; c < 3; ++c) {
    ResultList list;
    res.fast[c] = Seconds([&] { list.Assign(big); }, [&] { FastSort(list, c); }, 3);
    res.fastSmall[c] = Seconds([&] { list.Assign(small); }, [&] { FastSort(list, c); }, 3);
    res.literal[c] = Seconds([&] { list.Assign(small); }, [&] { LiteralSort(list, c); });
  }
  {
    ResultList list;
    StatusBar bar;
    res.fileName = Seconds(
        [&] {
          list.Assign(big);
          list.sorted = false;
        },
        [&] { HeaderSectionClick(list, bar, kSectionFileName, locale); });
  }
  {
    ResultList list;
    StatusBar bar;
    list.Assign(BenchRows(selectRows));
    res.selectAll = Seconds([&] { list.SetSelection({}); }, [&] { SelectAll(list, bar); }, 3);
    res.invert = Seconds([] {}, [&] { InvertSel(list, bar); }, 3);
  }

  std::printf("column sorts: %d rows with heavy ties; literal procedure on %d rows\n", rows,
              literalRows);
  std::printf("%-11s %12s %12s %9s %14s\n", "column", "literal", "fast", "ratio", "fast on all");
  for (int c = 0; c < 3; ++c) {
    std::printf("%-11s %10.3f s %10.4f s %8.0fx %12.3f s\n", names[c], res.literal[c],
                res.fastSmall[c], res.literal[c] / std::max(res.fastSmall[c], 1e-6), res.fast[c]);
  }
  std::printf("File Name (sorted list box order) on %d rows: %.3f s\n", rows, res.fileName);
  std::printf("Select All on %d rows: %.3f s; Invert Selection: %.3f s\n", selectRows,
              res.selectAll, res.invert);
  return res;
}

}  // namespace scourly::bench
