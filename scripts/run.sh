#!/usr/bin/env bash
# Builds Sonoraflux for Windows and starts it under Wine: on the current display
# when there is one, else on a private virtual display with its own sound server.
# Writes a screenshot after start-up and keeps running until interrupted (Ctrl+C).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows --target program_folder || exit 1

build=$root/build/windows
program=$build/Sonoraflux
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
bench=
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  bench=$build/run-wine-bench
  scripts/wine-bench.sh start "$bench" "$WINEPREFIX" || exit 1
  # shellcheck disable=SC1091
  . "$bench/env"
  echo "Sonoraflux runs on the private display $DISPLAY (no display was available)."
fi

stop() { # exit code
  [ -n "${wine_pid:-}" ] && kill "$wine_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "$bench" ] && scripts/wine-bench.sh stop "$bench" "$WINEPREFIX"
  exit "${1:-0}"
}
trap stop INT TERM

(cd "$program" && exec wine ./Sonoraflux.exe) &
wine_pid=$!
# The screenshot waits for the tray icon (Wine's tray window appears with the
# first icon), then for the ready balloon, which Wine shows about 2 s later.
tray_up=
for _ in $(seq 900); do
  if xdotool search --name 'Wine System Tray' >/dev/null 2>&1; then tray_up=1; break; fi
  sleep 0.1
done
if [ -z "$tray_up" ]; then
  echo "Sonoraflux did not show its tray icon." >&2
  stop 1
fi
sleep 3
mkdir -p "$root/build/e2e"
shot=$root/build/e2e/run.png
if xwd -root -silent -display "$DISPLAY" -out "$build/run.xwd" 2>/dev/null && convert "$build/run.xwd" "$shot" 2>/dev/null; then
  echo "Screenshot of the running program: $shot"
fi
echo "Sonoraflux is running (Ctrl+C to stop it)."
wait "$wine_pid"
stop
