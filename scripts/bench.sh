#!/usr/bin/env bash
# Runs the scan benchmarks and prints ratios measured side by side:
#   bash scripts/bench.sh host [folders] [files per folder]   in-memory Windows, no sanitizers
#   bash scripts/bench.sh wine [folders] [files per folder]   real files on the Wine test drive
#   bash scripts/bench.sh host sort [rows] [literal rows] [selection rows]
#                                    column sorts against the literal exchange sort, selection
#   bash scripts/bench.sh sort-wine  the same in the Windows build under Wine (real locale)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
mode=${1:-host}
shift || true
case "$mode" in
  host)
    cmake -S "$top" -B "$root/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCOURLY_SANITIZE=OFF >/dev/null
    cmake --build "$root/bench" -j2 --target scourly_bench >/dev/null
    "$root/bench/scourly_bench" "$@"
    ;;
  wine)
    bash "$top/scripts/deps.sh"
    cmake -S "$top" -B "$root/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$root/win" -j2 --target scourly_win_bench >/dev/null
    folders=${1:-1000}
    files=${2:-20}
    export WINE_ROOT="$root/win/wine-bench"
    bash "$top/scripts/wine-run.sh" "$root/win/scourly_win_bench.exe" "T:\\bench-$folders-$files" "$folders" "$files"
    ;;
  sort-wine)
    bash "$top/scripts/deps.sh"
    cmake -S "$top" -B "$root/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$root/win" -j2 --target wine_tests >/dev/null
    export WINE_ROOT="$root/win/wine"
    bash "$top/scripts/wine-run.sh" "$root/win/wine_tests/wine_tests.exe" \
      --gtest_also_run_disabled_tests --gtest_filter='SortSpeed.DISABLED_*'
    ;;
  *)
    echo "usage: bench.sh host|wine [folders] [files per folder] | host sort | sort-wine" >&2
    exit 2
    ;;
esac
