#!/usr/bin/env bash
# Builds both trees: build/host (logic, in-memory Windows, unit tests) and
# build/win (Scourly.exe, Purgix.dll and the Windows test programs).
# BUILD_ROOT chooses another folder than build/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$top/build}
what=${1:-all}
# A compiler cache, where one is installed, makes rebuilds of other checkouts
# cheap; paths below the checkout's parent are hashed relative to it (debug
# information may then name the first checkout's folder).
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$top")} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ "$what" = all ] || [ "$what" = host ]; then
  cmake -S "$top" -B "$build/host" -G Ninja "${launcher[@]}" >/dev/null
  cmake --build "$build/host" -j2
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  cmake -S "$top" -B "$build/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  cmake --build "$build/win" -j2
fi
