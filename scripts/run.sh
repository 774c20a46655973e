#!/usr/bin/env bash
# Starts kbr_dorin. Without a display it runs the program under Xvfb, saves a
# screenshot of the start page and says where.
set -euo pipefail
program=$(realpath "$1")
title="   kbr_dorin - test and train your reaction"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

shot_dir=$(realpath -m out)
mkdir -p "$shot_dir"
shot="$shot_dir/start-page.png"
echo "No display: running kbr_dorin under Xvfb."
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
  set -euo pipefail
  cd "$3"
  "$1" & pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  # Wait for the window, then for its page to be drawn (white inside the view).
  for _ in $(seq 100); do xwininfo -name "$2" >/dev/null 2>&1 && break; sleep 0.1; done
  for _ in $(seq 100); do
    import -window root "$4"
    [ "$(convert "$4" -format "%[pixel:p{300,300}]" info:)" = "white" ] && break
    sleep 0.1
  done
' _ "$program" "$title" "$shot_dir" "$shot"
echo "Screenshot of the start page: $shot"
