#!/usr/bin/env bash
# MP3 encoding benchmark: TMP3Coder over LAME_ENC.DLL against LAME's own
# lame.exe, both cross-built from the same tree, both run under Wine.
# Usage: bash bench/mp3_bench.sh   (from anywhere; builds what it needs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target bench_mp3_coder
exec "$root/scripts/wine-run.sh" "$root/build/windows/bench/bench_mp3_coder.exe"
