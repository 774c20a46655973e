#!/usr/bin/env bash
# The at-spi dump of the window, as a screen reader finds it: in a D-Bus session of
# its own (which starts the accessibility bus when the program asks for it), on an
# X display of its own.   run.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" /usr/bin/python3 "$here/at_spi_dump.py" "$1"
