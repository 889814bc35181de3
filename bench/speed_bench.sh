#!/usr/bin/env bash
# The five speed figures in one run, each beside its anchor: the download
# size, start -> tray icon against the smallest tray program, the first menu
# build of a long list, the longest unanswered message while encoding, and
# the private bytes at rest and after the windows were shown.
#   bash bench/speed_bench.sh [BEFORE_FOLDER]
# BEFORE_FOLDER (optional) holds an older build to measure in the same run:
# Sonoraflux/Sonoraflux.exe (in a copy of the staged program folder),
# menu_bench.exe, encode_response_bench.exe (beside LAME_ENC.DLL) and the zip.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
before=${1:-}
build=build/windows
run() { bash scripts/wine-run.sh "$@" 2>&1 | grep -v '^bench: '; }

cmake --build --preset windows --target package_zip start_bench menu_bench encode_response_bench >/dev/null || {
  echo "speed bench: the build failed" >&2
  exit 1
}
echo "Machine: $(nproc) cores, $(uname -sr), $(wine --version 2>/dev/null); load: $(uptime | sed 's/.*load average/load average/')"
zip=$(cat $build/package/zip-path.txt)
echo "1. Download: zip $(stat -c %s "$zip") bytes, Sonoraflux.exe in it $(stat -c %s $build/package/program/Sonoraflux.exe) bytes"
[ -n "$before" ] && echo "   before: zip $(stat -c %s "$before"/*.zip) bytes"
echo "2./5."
if [ -n "$before" ]; then
  run $build/bench/start_bench.exe 4 3 "before=$(cd "$before" && pwd)/Sonoraflux/Sonoraflux.exe"
else
  run $build/bench/start_bench.exe 4 3
fi
echo "3."
run $build/bench/menu_bench.exe
[ -n "$before" ] && [ -f "$before/menu_bench.exe" ] && { echo "   before:"; run "$before/menu_bench.exe"; }
echo "4."
run $build/bench/encode_response_bench.exe 3
[ -n "$before" ] && [ -f "$before/encode_response_bench.exe" ] && { echo "   before:"; run "$before/encode_response_bench.exe" 3; }
echo "load at the end: $(uptime | sed 's/.*load average/load average/')"
