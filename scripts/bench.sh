#!/usr/bin/env bash
# Builds the benchmarks without sanitizers and runs them:
#   bash scripts/bench.sh [folders] [files per folder]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$top/build}/bench
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCOURLY_SANITIZE=OFF >/dev/null
cmake --build "$build" -j2 --target scourly_bench
"$build/scourly_bench" "$@"
