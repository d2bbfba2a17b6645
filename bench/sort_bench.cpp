// The sort and selection benchmark on the host (fake locale):
//   scourly_bench sort [rows] [literal rows] [selection rows]
#include "bench/sort_bench.h"

#include <cstdlib>

#include "platform/fake/fake_windows.h"

int SortBenchMain(int argc, char** argv) {
  int rows = argc > 1 ? std::atoi(argv[1]) : 200000;
  int literalRows = argc > 2 ? std::atoi(argv[2]) : 20000;
  int selectRows = argc > 3 ? std::atoi(argv[3]) : 1000000;
  scourly::fake::FakeLocale locale;
  scourly::bench::RunSortBench(locale, rows, literalRows, selectRows);
  return 0;
}
