#!/usr/bin/env bash
# Builds the .deb from a build directory and checks it: the files are in place after
# unpacking into a scratch root, the desktop entry and the metainfo validate, the
# dependencies are there and the packaged program answers --version.
set -euo pipefail
build=$(realpath "$1")
app_id=org.kbr_dorin.kbr_dorin

(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
deb=$(ls "$build"/package/kbr-dorin_*_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in usr/bin/kbr_dorin \
         usr/share/applications/$app_id.desktop \
         usr/share/metainfo/$app_id.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/$app_id.svg \
         usr/share/icons/hicolor/48x48/apps/$app_id.png \
         usr/share/icons/hicolor/256x256/apps/$app_id.png; do
  [ -f "$root/$f" ] || fail "missing $f"
done
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null || fail "metainfo"
[ "$(dpkg-deb -f "$deb" Package)" = kbr-dorin ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 2.8.0 ] || fail "package version"
dpkg-deb -f "$deb" Depends | grep -q 'libwxgtk3.2' || fail "no dependency on wxWidgets"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-liberation' || fail "no dependency on the fonts"
"$root/usr/bin/kbr_dorin" --version | grep -q '^kbr_dorin 2\.8\.0 ' || fail "--version"
echo "package ok: $(basename "$deb")"
