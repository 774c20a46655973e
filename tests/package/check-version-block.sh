#!/usr/bin/env bash
# The version block of the Windows resources holds the values the program is known
# by: the resource script's VERSIONINFO, run through the C preprocessor with the
# build's Version.h, compared key by key.
set -euo pipefail
source_dir=$1
generated=$2   # the folder holding resources/Version.h
block=$(sed -n '/^VS_VERSION_INFO/,/^END/p' "$source_dir/src/resources/kbr_dorin.rc" |
        cpp -P -I "$generated" -include resources/Version.h - | tr -s ' ')

fail=0
expect() {  # key, value
    if ! grep -qF "VALUE \"$1\", \"$2\"" <<<"$block"; then
        echo "FAIL: $1 should be \"$2\":" >&2
        grep -F "\"$1\"" <<<"$block" >&2 || echo "  (missing)" >&2
        fail=1
    fi
}
expect FileDescription "kbr_dorin - tool for reaction testing and training"
expect FileVersion "2, 8, 0, 0"
expect ProductVersion "2, 8, 0, 0"
expect InternalName "kbr_dorin"
expect ProductName "kbr_dorin"
expect OriginalFilename "kbr_dorin.exe"
expect PrivateBuild "2007/04/17"
expect CompanyName "--"
expect LegalTrademarks "--"
expect SpecialBuild "--"
grep -qF 'VALUE "Comments", "Test and train your finding, distinction, selective reaction (reflex).' <<<"$block" ||
    { echo "FAIL: Comments" >&2; fail=1; }
exit $fail
