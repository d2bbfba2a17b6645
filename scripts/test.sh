#!/usr/bin/env bash
# Builds everything and runs every test: the Windows tests and the
# end-to-end tests under Wine, and the host unit tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$top/build}
bash "$top/scripts/deps.sh"
mkdir -p "$build"

# One Wine prefix made while the Windows tree builds (wineboot waits more than
# it computes); every test's prefix starts as a copy of it.
export SCOURLY_WINE_TEMPLATE="$build/wine-template"
(WINE_ROOT=$SCOURLY_WINE_TEMPLATE && source "$top/scripts/wine-env.sh") \
  >"$build/wine-template.log" 2>&1 &
template_pid=$!
bash "$top/scripts/build.sh" win
wait "$template_pid" || echo "(no prefix to copy: each test makes its own; $build/wine-template.log)"

# Under Wine a test waits more than it computes: the Windows tests alone leave
# about a third of both cores idle. The host tree builds in that time, at the
# lowest priority, so that it never takes a core from a test that times itself.
nice -n 19 bash "$top/scripts/build.sh" host >"$build/host-build.log" 2>&1 &
host_pid=$!

echo "== Windows tests under Wine (at ${SECONDS} s)"
# Three at a time: every test has its own display, and its own Wine prefix or
# a lock on the one it shares. The end-to-end tests of each DPI take one lane
# each; the third runs the rest beside them.
win_rc=0
ctest --test-dir "$build/win" --output-on-failure -j3 || win_rc=$?

echo "== host build (at ${SECONDS} s)"
host_rc=0
wait "$host_pid" || host_rc=$?
cat "$build/host-build.log"
if [ "$host_rc" = 0 ]; then
  echo "== host unit tests (at ${SECONDS} s)"
  ctest --test-dir "$build/host" --output-on-failure -j2 || host_rc=$?
fi
if [ "$win_rc" != 0 ] || [ "$host_rc" != 0 ]; then
  echo "FAILED: Windows tests exit $win_rc, host build and tests exit $host_rc" >&2
  exit 1
fi
