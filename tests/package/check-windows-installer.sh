#!/usr/bin/env bash
# The Windows installer under Wine, in a prefix of its own: a silent install puts
# the program, its uninstaller and the Start menu shortcut in place (the shortcut
# starting in %APPDATA%\kbr_dorin); the installed program is the one built; the
# uninstaller takes it all away again and leaves the user's records.
#   check-windows-installer.sh INSTALLER EXE
set -euo pipefail
installer=$(realpath "$1")
exe=$(realpath "$2")
export WINEPREFIX=$(mktemp -d)/prefix WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wine "$installer" /S
wineserver -w
drive="$WINEPREFIX/drive_c"
installed="$drive/Program Files/kbr_dorin"
[ -f "$installed/kbr_dorin.exe" ] || fail "kbr_dorin.exe not installed"
cmp -s "$installed/kbr_dorin.exe" "$exe" || fail "the installed program is not the one built"
[ -f "$installed/uninstall.exe" ] || fail "no uninstaller"
user=$(ls "$drive/users" | grep -v -x -e Public -e public | head -1)
appdata="$drive/users/$user/AppData/Roaming"
start_menu="$appdata/Microsoft/Windows/Start Menu/Programs"
[ -f "$start_menu/kbr_dorin.lnk" ] || fail "no Start menu shortcut"
[ -d "$appdata/kbr_dorin" ] || fail "no data folder"
# The shortcut's working folder (a UTF-16 path inside the .lnk) is the data folder.
iconv -f UTF-16LE -t UTF-8 "$start_menu/kbr_dorin.lnk" 2>/dev/null | grep -qi 'Roaming\\kbr_dorin' ||
  strings -el "$start_menu/kbr_dorin.lnk" | grep -qi 'Roaming\\kbr_dorin' || fail "the shortcut does not start in the data folder"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kbr_dorin' >/dev/null 2>&1 ||
  fail "not listed among the installed programs"

echo records >"$appdata/kbr_dorin/kbr_dorin.ini"
wine "$installed/uninstall.exe" /S
wineserver -w
for _ in $(seq 50); do [ -e "$installed/kbr_dorin.exe" ] || break; sleep 0.2; done
[ ! -e "$installed/kbr_dorin.exe" ] || fail "the program was not removed"
[ ! -e "$start_menu/kbr_dorin.lnk" ] || fail "the shortcut was not removed"
[ -f "$appdata/kbr_dorin/kbr_dorin.ini" ] || fail "the user's records were removed"
echo "installer: installed, shortcut in the data folder, uninstalled; records kept"
