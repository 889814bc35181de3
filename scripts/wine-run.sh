#!/usr/bin/env bash
# Runs a Windows program of ours under Wine on the test bench: the bench named
# by SONORAFLUX_BENCH when it is up, else a private one started for this run.
# CTest uses it as the cross-compiling emulator.
set -uo pipefail
exe=${1:?program}; shift
here=$(cd "$(dirname "$0")" && pwd)

build_dir=$(cd "$(dirname "$exe")" && while [ "$PWD" != / ] && [ ! -f CMakeCache.txt ]; do cd ..; done; pwd)
[ -f "$build_dir/CMakeCache.txt" ] || build_dir=$(cd "$(dirname "$exe")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
bench=${SONORAFLUX_BENCH:-$build_dir/wine-bench}

own_bench=
out=
running=
# Whatever this script started goes when it ends, also on Ctrl+C.
cleanup() {
  [ -n "$out" ] && rm -f "$out"
  [ -n "$running" ] && rm -f "$running"
  if [ -n "$own_bench" ]; then
    "$here/wine-bench.sh" stop "$own_bench" "$WINEPREFIX"
    rm -rf "$own_bench"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [ ! -f "$bench/env" ]; then
  bench=$(mktemp -d /tmp/sonoraflux-wine-bench.XXXXXX)
  own_bench=$bench
  "$here/wine-bench.sh" start "$bench" "$WINEPREFIX" || exit 1
fi
# shellcheck disable=SC1091
. "$bench/env"

# Wine's own helper processes (explorer, services) outlive the program and
# inherit its output: give them a file, not the caller's pipe, or the caller
# would wait for them.
out=$(mktemp /tmp/sonoraflux-out.XXXXXX)
# A test program that dies part way (ExitProcess, a silent crash) can end with
# code 0 and no summary. GoogleTest creates this file when the run starts and
# deletes it when the run ends normally; other programs never touch it. Wine
# maps / to Z:, so the Unix path needs no Wine process to convert.
running=$(mktemp -u /tmp/sonoraflux-running.XXXXXX)
export TEST_PREMATURE_EXIT_FILE="Z:${running//\//\\}"
wine "$exe" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
if [ -e "$running" ]; then
  echo "wine-run: $(basename "$exe") ended before its tests finished" >&2
  [ $rc = 0 ] && rc=1
elif grep -q '^\[==========\] Running' "$out" && ! grep -q '^\[==========\] .* ran\.' "$out"; then
  # It finished, but its output stops short: something closed its standard
  # output, and a failure after that point would go unseen.
  echo "wine-run: $(basename "$exe") lost its output before the summary" >&2
  [ $rc = 0 ] && rc=1
fi
# With the crash dialog off, a crashed program can still end with code 0.
if [ $rc = 0 ] && grep -qE 'Unhandled (exception|page fault)|wine: Assertion|err:seh:' "$out"; then
  echo "wine-run: the program crashed" >&2
  rc=1
fi
exit $rc
