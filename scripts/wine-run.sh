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
bench=${SONORAFLUX_BENCH:-$build_dir/bench}

own_bench=
out=
# Whatever this script started goes when it ends, also on Ctrl+C.
cleanup() {
  [ -n "$out" ] && rm -f "$out"
  if [ -n "$own_bench" ]; then
    "$here/bench.sh" stop "$own_bench" "$WINEPREFIX"
    rm -rf "$own_bench"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
if [ ! -f "$bench/env" ]; then
  bench=$(mktemp -d /tmp/sonoraflux-bench.XXXXXX)
  own_bench=$bench
  "$here/bench.sh" start "$bench" "$WINEPREFIX" || exit 1
fi
# shellcheck disable=SC1091
. "$bench/env"

# Wine's own helper processes (explorer, services) outlive the program and
# inherit its output: give them a file, not the caller's pipe, or the caller
# would wait for them.
out=$(mktemp /tmp/sonoraflux-out.XXXXXX)
wine "$exe" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
# With the crash dialog off, a crashed program can still end with code 0.
if [ $rc = 0 ] && grep -qE 'Unhandled (exception|page fault)|wine: Assertion|err:seh:' "$out"; then
  echo "wine-run: the program crashed" >&2
  rc=1
fi
exit $rc
