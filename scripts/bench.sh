#!/usr/bin/env bash
# Runs the benchmarks under an X server of their own and prints their figures.
#   scripts/bench.sh BUILD_DIR OUT_DIR [timing options...]
#
# The X server stands in for the screen and the keyboard, which no load on the
# processor slows down. So it runs at real-time priority where the system allows
# it (root, or CAP_SYS_NICE), like the watcher in bench/timing; the program
# itself always runs at normal priority, among the busy processes.
set -euo pipefail
build=$(realpath "$1")
out=$(realpath -m "$2")
shift 2

display=:$((90 + RANDOM % 100))
priority=()
if chrt -f 1 true 2>/dev/null; then
  priority=(chrt -f 1)
fi
"${priority[@]}" Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
if [ ${#priority[@]} -gt 0 ]; then
  server_note="X server: Xvfb at real-time priority (SCHED_FIFO 1)"
else
  server_note="X server: Xvfb at normal priority (real-time not allowed here)"
fi
echo "$server_note"

mkdir -p "$out"
"$build/bench/bench_timing" --out "$out" "$@" | tee "$out/timing.txt"
echo "$server_note" >>"$out/timing.txt"
"$build/bench/bench_footprint" | tee "$out/footprint.txt"

# The Wayland bed: weston nested in the same X server through its X11 back end, the
# program its native client. The watcher reads weston's window on the X server and
# presses keys into it, as on the bare server.
if command -v weston >/dev/null; then
  runtime=$(mktemp -d)
  socket=kbr-bench-$$
  XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --socket=$socket --width=900 --height=700 \
    --idle-time=0 >"$out/weston.log" 2>&1 &
  compositor=$!
  trap 'kill $compositor $server 2>/dev/null || true; rm -rf "$runtime"' EXIT
  for _ in $(seq 100); do [ -S "$runtime/$socket" ] && break; sleep 0.1; done
  mkdir -p "$out/wayland"
  echo "Wayland bed: weston $(weston --version 2>&1 | awk '{print $2}') nested in Xvfb, the program a native Wayland client"
  XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket GDK_BACKEND=wayland \
    "$build/bench/bench_timing" --out "$out/wayland" --nested "Weston Compositor" "$@" | tee "$out/wayland/timing.txt"
  kill $compositor 2>/dev/null || true
fi
