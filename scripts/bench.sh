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
#   bash scripts/bench.sh window [scan|delete|gaps]  the real Scourly.exe timed from another
#                                    process: the deep tree's scan, deletions of 20,000 files,
#                                    the window's answers during deletions of 50,000
# "all" waits before each program until the machine is idle (1-minute load
# average under 0.5, at most BENCH_IDLE_WAIT seconds, 300 by default) and
# records the load before and after it.
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

# The deep tree's prefix, set up for the window benchmark: Scourly.exe and
# Purgix.dll in C:\ScourlyBench, a Wine desktop (no window manager on a
# virtual display), and U: a fixed drive of its own whose folder "stock"
# holds the files each deletion contender takes (made here, far faster than
# through Wine). Sourced environment: wine-env.sh of the deep prefix.
setup_window() {
  if [ ! -f "$WINEPREFIX/.scourly-bench-desktop" ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.scourly-bench-desktop"
  fi
  mkdir -p "$WINEPREFIX/drive_c/ScourlyBench"
  cp "$root/win/bin/Scourly.exe" "$root/win/bin/Purgix.dll" "$WINEPREFIX/drive_c/ScourlyBench/"
  local drive="$WINE_ROOT/deldrive"
  rm -rf "$drive" "$XDG_DATA_HOME/Trash"
  mkdir -p "$drive/stock"
  ln -sfn "$drive" "$WINEPREFIX/dosdevices/u:"
  # One folder per contender and round, one-byte files NAME_NNNNNN.tmp.
  python3 - "$drive/stock" <<'PY'
import os, sys
stock = sys.argv[1]
folders = {kind + r: 20000 for kind in "rschpkb" for r in "012"}
folders.update({"gr": 50000, "gp": 50000})
for name, count in folders.items():
    os.makedirs(os.path.join(stock, name))
    for i in range(count):
        with open(os.path.join(stock, name, "%s_%06d.tmp" % (name, i)), "wb") as f:
            f.write(b"x")
PY
}

load1() { cut -d' ' -f1 /proc/loadavg; }

wait_idle() {
  local waited=0
  while awk -v l="$(load1)" 'BEGIN { exit !(l >= 0.5) }' && [ "$waited" -lt "${BENCH_IDLE_WAIT:-300}" ]; do
    sleep 5
    waited=$((waited + 5))
  done
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
  window)
    build_win scourly_window_bench Scourly Purgix
    export WINE_ROOT="$root/win/wine-deep"
    source "$top/scripts/wine-env.sh"
    setup_window
    for part in ${1:-scan delete gaps}; do
      bash "$top/scripts/wine-run.sh" "$root/win/scourly_window_bench.exe" 'C:\ScourlyBench' "$part"
    done
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
    build_win scourly_win_bench scourly_browser_bench scourly_window_bench Scourly Purgix gui_tests
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
    # Each program once the machine is idle; the load before and after it
    # goes into the table beside its figures.
    run() {
      wait_idle
      local before
      before=$(load1)
      echo "== $*" | tee -a "$log"
      "$@" 2>&1 | tee -a "$log" || echo "(exit status $?)" | tee -a "$log"
      echo "== load $before $(load1)" | tee -a "$log"
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
    setup_window
    for part in scan delete gaps; do
      run bash "$top/scripts/wine-run.sh" "$root/win/scourly_window_bench.exe" 'C:\ScourlyBench' "$part"
    done
    {
      echo "Scourly benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$top" rev-parse --short HEAD)"
      echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(free -g | awk '/Mem:/ {print $2}') GB; load $(cut -d' ' -f1-3 /proc/loadavg)"
      echo "Wine: $(wine --version)"
      echo
      printf '%-86s %12s  %-10s %-8s %s\n' "figure" "measured" "target" "holds" "load before, after"
      # The first runs are the host's (in memory), the rest under Wine. A
      # figure taken while the load was 0.5 or more is marked: the other
      # core was busy, so it is no fair side-by-side ratio.
      awk -F'|' '{gsub(/\r/, "")}
                 /^== load /{split($0, l, " ")
                            warn = (l[3] + 0 >= 0.5) ? "  LOAD OVER 0.5" : ""
                            for (i = 1; i <= n; i++) printf "%s %s, %s%s\n", line[i], l[3], l[4], warn
                            n = 0; next}
                 /^== /{src = ($0 ~ /wine-run/) ? "wine" : "host"}
                 /^TARGET\|/{line[++n] = sprintf("%-86s %10s %-2s %-10s %-8s", "[" src "] " $2, $3, $5, $4, $6)}' "$log"
    } | tee "$out"
    echo "(full output: $log)"
    ;;
  *)
    echo "usage: bench.sh all | host [deep|rows|sort|folders files] | wine [folders files] | sort-wine | browsers [files]" >&2
    exit 2
    ;;
esac
