#!/usr/bin/env bash
# Runs the benchmarks and prints ratios measured side by side:
#   bash scripts/bench.sh all      every benchmark below, then one table of each figure
#                                  with its target and whether it holds (also written to
#                                  $BUILD_ROOT/bench-results.txt)
#   bash scripts/bench.sh host [folders] [files per folder]   in-memory Windows, no sanitizers
#   bash scripts/bench.sh host deep | host rows [count]       the deep tree; a million rows
#   bash scripts/bench.sh wine [folders] [files per folder]   real files on the Wine test drive
#   bash scripts/bench.sh host sort [rows] [literal rows] [selection rows]
#                                    column sorts against the literal exchange sort, selection
#   bash scripts/bench.sh sort-wine  the same in the Windows build under Wine (real locale)
#   bash scripts/bench.sh browsers [files]  the "Web Browsers" listing of a 50,000-file cache
#                                    (or [files]) against a bare listing, under Wine
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${BUILD_ROOT:-$top/build}
mode=${1:-host}
shift || true

build_host() {
  cmake -S "$top" -B "$root/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCOURLY_SANITIZE=OFF >/dev/null
  cmake --build "$root/bench" -j2 --target scourly_bench >/dev/null
}

build_win() {
  bash "$top/scripts/deps.sh"
  cmake -S "$top" -B "$root/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$root/win" -j2 --target "$@" >/dev/null
}

case "$mode" in
  host)
    build_host
    "$root/bench/scourly_bench" "$@"
    ;;
  wine)
    build_win scourly_win_bench Purgix
    folders=${1:-1000}
    files=${2:-20}
    export WINE_ROOT="$root/win/wine-bench"
    bash "$top/scripts/wine-run.sh" "$root/win/scourly_win_bench.exe" shallow \
      "T:\\bench-$folders-$files" "$folders" "$files"
    ;;
  browsers)
    build_win scourly_browser_bench
    export WINE_ROOT="$root/win/wine-bench"
    bash "$top/scripts/wine-run.sh" "$root/win/scourly_browser_bench.exe" 'T:\browsers' "${1:-50000}"
    ;;
  sort-wine)
    build_win wine_tests
    export WINE_ROOT="$root/win/wine"
    bash "$top/scripts/wine-run.sh" "$root/win/wine_tests/wine_tests.exe" \
      --gtest_also_run_disabled_tests --gtest_filter='SortSpeed.DISABLED_*'
    ;;
  all)
    out="$root/bench-results.txt"
    log="$root/bench-log.txt"
    mkdir -p "$root"
    : >"$log"
    build_host
    build_win scourly_win_bench scourly_browser_bench Purgix gui_tests
    # T: of this prefix holds the deep tree and nothing else: the window's
    # scan walks the whole drive.
    export WINE_ROOT="$root/win/wine-deep"
    source "$top/scripts/wine-env.sh"
    if [ ! -f "$WINEPREFIX/.scourly-bench-gui" ]; then
      # Without a window manager Wine waits for each hidden managed window.
      wine reg add 'HKCU\Software\Wine\AppDefaults\gui_tests.exe\X11 Driver' \
        /v Managed /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.scourly-bench-gui"
    fi
    run() {
      echo "== $*" | tee -a "$log"
      "$@" 2>&1 | tee -a "$log" || echo "(exit status $?)" | tee -a "$log"
    }
    run "$root/bench/scourly_bench" rows
    run "$root/bench/scourly_bench" deep
    run bash "$top/scripts/wine-run.sh" "$root/win/scourly_win_bench.exe" deep 'T:\deep'
    run bash "$top/scripts/wine-run.sh" "$root/win/scourly_win_bench.exe" rows
    # Its own prefix: T: here must hold the deep tree alone.
    run env WINE_ROOT="$root/win/wine-bench" bash "$top/scripts/wine-run.sh" \
      "$root/win/scourly_browser_bench.exe" 'T:\browsers'
    run bash "$top/scripts/wine-run.sh" "$root/win/scourly_win_bench.exe" delete 'T:\del' 20000
    run bash "$top/scripts/wine-run.sh" "$root/win/gui_tests.exe" \
      --gtest_also_run_disabled_tests --gtest_filter='ScaleBench.DISABLED_*'
    {
      echo "Scourly benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$top" rev-parse --short HEAD)"
      echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -g | awk '/Mem:/ {print $2}') GB; load $(cut -d' ' -f1-3 /proc/loadavg)"
      echo "Wine: $(wine --version)"
      echo
      printf '%-66s %12s  %-10s %s\n' "figure" "measured" "target" "holds"
      # The first runs are the host's (in memory), the rest under Wine.
      awk -F'|' '{gsub(/\r/, "")}
                 /^== /{src = ($0 ~ /wine-run/) ? "wine" : "host"}
                 /^TARGET\|/{printf "%-66s %10s %-2s %-10s %s\n", "[" src "] " $2, $3, $5, $4, $6}' "$log"
    } | tee "$out"
    echo "(full output: $log)"
    ;;
  *)
    echo "usage: bench.sh all | host [deep|rows|sort|folders files] | wine [folders files] | sort-wine | browsers [files]" >&2
    exit 2
    ;;
esac
