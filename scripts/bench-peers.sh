#!/usr/bin/env bash
# kbr_dorin beside the programs people would use instead (bench/peers), on an X
# server of its own at real-time priority where allowed. Installs what the peers
# need (Chromium, jsPsych from npm, Tk, Psychtoolbox-3); none of it is needed by the
# program or by make test.
#   scripts/bench-peers.sh BUILD_DIR OUT_DIR [bench_peers options...]
set -euo pipefail
build=$(realpath "$1")
out=$(realpath -m "$2")
shift 2

packages=(chromium nodejs python3-tk octave-psychtoolbox-3 xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Some Node.js packages bring npm along; Debian's comes apart.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# jsPsych and its keyboard plugin, at the versions the README names, in the build folder.
modules="$build/peers"
mkdir -p "$modules"
if [ ! -f "$modules/node_modules/jspsych/package.json" ]; then
  (cd "$modules" && npm install --no-audit --no-fund --silent jspsych@8.3.0 @jspsych/plugin-html-keyboard-response@2.2.0)
fi

source "$(dirname "$0")/xvfb-priority.sh"
export DISPLAY=:$((90 + RANDOM % 100))
"${priority[@]}" Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$out"
echo "$server_note"
"$build/bench/bench_peers" --out "$out" --node-modules "$modules/node_modules" "$@"
echo "$server_note" >>"$out/peers.txt"
