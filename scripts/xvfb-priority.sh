# Sourced by the benchmark scripts: the X server, which with the watcher is the
# instrument, runs at real-time priority where the system allows it. Sets priority
# (a command prefix for Xvfb) and server_note (what it got, for the figures).
priority=()
if chrt -f 1 true 2>/dev/null; then
  priority=(chrt -f 1)
  server_note="X server: Xvfb at real-time priority (SCHED_FIFO 1)"
else
  server_note="X server: Xvfb at normal priority (real-time not allowed here)"
fi
