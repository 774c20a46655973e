#!/usr/bin/env bash
# Runs the benchmarks under X servers of their own and prints their figures.
#   scripts/bench.sh BUILD_DIR OUT_DIR [timing options...]
# BEDS picks the desktops the timing is measured on (default: all of them):
#   bare            the X server alone (figures in OUT_DIR)
#   picom           X11 under a compositing manager that reports no frames
#   mutter-x11      X11 under a compositing window manager that reports frames
#   weston          Wayland: weston nested in the X server, the program its client
#   mutter-wayland  Wayland: mutter nested in the X server, the program its client
# Each bed but the first writes to OUT_DIR/<bed>.
#
# The X server stands in for the screen and the keyboard, which no load on the
# processor slows down. So it runs at real-time priority where the system allows
# it (root, or CAP_SYS_NICE), like the watcher in bench/timing; the program and
# the compositors run at normal priority, among the busy processes.
set -euo pipefail
build=$(realpath "$1")
out=$(realpath -m "$2")
shift 2
beds=${BEDS:-bare picom mutter-x11 weston mutter-wayland}

source "$(dirname "$0")/xvfb-priority.sh"
echo "$server_note"

children=()
runtime=$(mktemp -d)  # private (0700): the Wayland sockets and the session buses
cleanup() {
  for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$runtime"
}
trap cleanup EXIT

start_server() {
  export DISPLAY=:$((90 + RANDOM % 100))
  "${priority[@]}" Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  children+=($!)
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  echo "bench: the X server did not start" >&2
  exit 1
}

stop_all() {
  for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
  children=()
  sleep 1
}

# Waits for a file (a Wayland socket) or an X root property (a window manager's).
wait_for_socket() { for _ in $(seq 150); do [ -S "$1" ] && return; sleep 0.1; done; echo "bench: no $1" >&2; exit 1; }
wait_for_wm() {
  for _ in $(seq 150); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return; sleep 0.1; done
  echo "bench: no window manager came up" >&2
  exit 1
}

timing() {  # timing OUT_DIR NOTE [bench_timing options...]
  local dir=$1 note=$2
  shift 2
  mkdir -p "$dir"
  echo "== $note"
  "$build/bench/bench_timing" --out "$dir" "$@" | tee "$dir/timing.txt"
  { echo "$note"; echo "$server_note"; } >>"$dir/timing.txt"
}

for bed in $beds; do
  start_server
  case $bed in
  bare)
    timing "$out" "bare X server, no window manager" "$@"
    "$build/bench/bench_footprint" | tee "$out/footprint.txt"
    "$build/bench/bench_history" | tee "$out/history.txt"
    ;;
  picom)
    picom --backend xrender --no-vsync >"$runtime/picom.log" 2>&1 &
    children+=($!)
    for _ in $(seq 150); do xprop -root _NET_WM_CM_S0 >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 1
    timing "$out/picom" "picom $(picom --version 2>&1 | head -1) (xrender back end): a compositing manager that reports no frames" "$@"
    ;;
  mutter-x11)
    XDG_RUNTIME_DIR=$runtime dbus-run-session -- mutter --x11 --replace >"$runtime/mutter.log" 2>&1 &
    children+=($!)
    wait_for_wm
    sleep 1
    timing "$out/mutter-x11" "mutter $(mutter --version | awk '{print $2}') --x11: a compositing window manager that reports frames" "$@"
    ;;
  weston)
    XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --socket=kbr-weston --width=900 --height=700 \
      --idle-time=0 >"$runtime/weston.log" 2>&1 &
    children+=($!)
    wait_for_socket "$runtime/kbr-weston"
    XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=kbr-weston GDK_BACKEND=wayland \
      timing "$out/weston" "weston $(weston --version 2>&1 | awk '{print $2}') nested in Xvfb (X11 back end), the program a native Wayland client" \
      --nested "Weston Compositor" "$@"
    ;;
  mutter-wayland)
    XDG_RUNTIME_DIR=$runtime dbus-run-session -- mutter --nested --wayland --no-x11 --wayland-display=kbr-mutter \
      >"$runtime/mutter-nested.log" 2>&1 &
    children+=($!)
    wait_for_socket "$runtime/kbr-mutter"
    XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=kbr-mutter GDK_BACKEND=wayland \
      timing "$out/mutter-wayland" "mutter $(mutter --version | awk '{print $2}') --nested --wayland, the program a native Wayland client" \
      --nested mutter "$@"
    ;;
  *)
    echo "bench: no bed called $bed" >&2
    exit 2
    ;;
  esac
  stop_all
done
