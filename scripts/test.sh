#!/usr/bin/env bash
# Builds everything and runs every test: host unit tests, then the Windows
# tests and the end-to-end tests under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$top/build}
bash "$top/scripts/deps.sh"
bash "$top/scripts/build.sh" all
echo "== host unit tests"
ctest --test-dir "$build/host" --output-on-failure -j2
echo "== Windows tests under Wine"
# Three at a time: every test has its own display, and its own Wine prefix or
# a lock on the one it shares. The end-to-end tests of each DPI take one lane
# each; the third runs the rest beside them. Under Wine a test waits more than
# it computes: three keep both cores about 80% busy, a fourth gains nothing.
ctest --test-dir "$build/win" --output-on-failure -j3
