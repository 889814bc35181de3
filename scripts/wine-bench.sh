#!/usr/bin/env bash
# The Wine bench: a private Wine prefix, a virtual X display and a user sound
# server with a null sink ("radio") whose monitor is the default capture source.
#   wine-bench.sh start STATE_DIR PREFIX   prepares the prefix, starts what is missing,
#                                     writes STATE_DIR/env (sourced by wine-run.sh)
#   wine-bench.sh stop  STATE_DIR PREFIX   stops only what start started (by pid)
set -euo pipefail
cmd=${1:?start|stop}; state=${2:?state dir}; prefix=${3:?wine prefix}
mkdir -p "$state"
env_file=$state/env

log() { echo "bench: $*" >&2; }

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

init_prefix() {
  [ -f "$prefix/.sonoraflux-ready" ] && return 0
  log "initialising Wine prefix $prefix"
  mkdir -p "$prefix"
  # No Mono or HTML-engine install prompts during the first boot.
  if ! WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=" wineboot -i >"$state/wineboot.log" 2>&1; then
    log "wineboot failed (see $state/wineboot.log)"
    exit 1
  fi
  # A crash must fail the test, not hang on a dialog.
  if ! WINEPREFIX=$prefix WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >>"$state/wineboot.log" 2>&1; then
    log "the prefix's crash dialog could not be switched off"
    exit 1
  fi
  WINEPREFIX=$prefix wineserver -w
  # Only a prefix that booted and took its settings is marked ready.
  touch "$prefix/.sonoraflux-ready"
}

# Wine's own faces for the Windows user-interface fonts ("MS Sans Serif",
# Tahoma...: Debian's fonts-wine) are not looked for where Debian puts them:
# this Wine reads them from the prefix's Fonts folder only, which its first
# boot leaves empty. Without them every face is drawn with a wider Linux one.
link_wine_fonts() {
  local from=/usr/share/wine/fonts to=$prefix/drive_c/windows/Fonts font
  [ -d "$from" ] || return 0
  mkdir -p "$to"
  for font in "$from"/*; do
    [ -e "$to/${font##*/}" ] || ln -s "$font" "$to/"
  done
}

start_display() {
  # Xvfb chooses a free display number itself and writes it to the given
  # descriptor: benches started at the same moment cannot take the same one.
  local numfile=$state/display
  : >"$numfile"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" >"$state/xvfb.log" 2>&1 </dev/null &
  xvfb_pid=$!
  local n=
  for _ in $(seq 100); do
    n=$(tr -dc '0-9' <"$numfile" 2>/dev/null || true)
    [ -n "$n" ] && DISPLAY=:$n xdotool getdisplaygeometry >/dev/null 2>&1 && break
    alive "$xvfb_pid" || break
    sleep 0.1
  done
  if [ -z "$n" ] || ! DISPLAY=:$n xdotool getdisplaygeometry >/dev/null 2>&1; then
    log "Xvfb did not answer (see $state/xvfb.log)"
    exit 1
  fi
  display=:$n
}

start_sound() {
  runtime=$(mktemp -d /tmp/sonoraflux-run.XXXXXX)
  chmod 700 "$runtime"
  XDG_RUNTIME_DIR=$runtime HOME=$runtime setsid pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=radio" \
    --load="module-always-sink" >"$state/pulse.log" 2>&1 </dev/null &
  pulse_pid=$!
  for _ in $(seq 100); do
    XDG_RUNTIME_DIR=$runtime HOME=$runtime pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  XDG_RUNTIME_DIR=$runtime HOME=$runtime pactl info >/dev/null 2>&1 || { log "sound server did not answer"; exit 1; }
  XDG_RUNTIME_DIR=$runtime HOME=$runtime pactl set-default-sink radio
  XDG_RUNTIME_DIR=$runtime HOME=$runtime pactl set-default-source radio.monitor
}

case $cmd in
start)
  if [ -f "$env_file" ]; then
    # shellcheck disable=SC1090
    . "$env_file"
    if alive "${BENCH_XVFB_PID:-}" && alive "${BENCH_PULSE_PID:-}"; then exit 0; fi
    "$0" stop "$state" "$prefix"
  fi
  init_prefix
  link_wine_fonts
  start_display
  start_sound
  cat >"$env_file" <<ENV
export DISPLAY=$display
export XDG_RUNTIME_DIR=$runtime
export PULSE_SERVER=unix:$runtime/pulse/native
export WINEPREFIX=$prefix
BENCH_XVFB_PID=$xvfb_pid
BENCH_PULSE_PID=$pulse_pid
BENCH_RUNTIME=$runtime
ENV
  # One wineserver for the whole run saves a start per test.
  (. "$env_file"; setsid wineserver -p >/dev/null 2>&1 </dev/null) || true
  log "display $display, sound server pid $pulse_pid"
  ;;
stop)
  [ -f "$env_file" ] || exit 0
  # shellcheck disable=SC1090
  . "$env_file"
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  # The state goes first: a stop that fails below must not leave the next run
  # a display and a sound server that are no longer there.
  rm -f "$env_file"
  alive "${BENCH_PULSE_PID:-}" && kill "$BENCH_PULSE_PID" 2>/dev/null || true
  alive "${BENCH_XVFB_PID:-}" && kill "$BENCH_XVFB_PID" 2>/dev/null || true
  # The sound server still writes into its runtime folder while it goes down:
  # removing the folder before it has gone can fail on a file it just made.
  for _ in $(seq 50); do alive "${BENCH_PULSE_PID:-}" || break; sleep 0.1; done
  [ -n "${BENCH_RUNTIME:-}" ] && rm -rf "$BENCH_RUNTIME"
  # The tests' scratch folders.
  rm -rf "$state/tmp"
  ;;
*) echo "usage: wine-bench.sh start|stop STATE_DIR PREFIX" >&2; exit 2 ;;
esac
