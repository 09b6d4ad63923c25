#!/usr/bin/env bash
# WMF pictures read back by another program (libwmf's wmf2svg): the same lines in the same
# colours as the SVG of the same graph, for `plot` and `surface`.
#   wmf_pictures.sh PROGRAM
set -uo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export QT_QPA_PLATFORM=offscreen
command -v wmf2svg >/dev/null || { echo "FAIL: wmf2svg (package libwmf-bin) is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    failures=$((failures + 1))
    echo "FAIL: $*"
}
compare() {  # name width height verb args...: the verb's WMF and SVG of one picture agree
    local name=$1 width=$2 height=$3 verb=$4
    shift 4
    "$program" "$verb" --size "${width}x$height" -o "$work/$name.wmf" "$@" || { fail "$name: no WMF written"; return; }
    "$program" "$verb" --size "${width}x$height" -o "$work/$name.svg" "$@" || { fail "$name: no SVG written"; return; }
    # A placeable metafile begins with its key.
    [ "$(od -An -tx1 -N4 "$work/$name.wmf" | tr -d ' ')" = d7cdc69a ] || fail "$name: no placeable header"
    wmf2svg -o "$work/$name-back.svg" "$work/$name.wmf" 2>"$work/err" || { fail "$name: wmf2svg refused it"; cat "$work/err"; return; }
    [ -s "$work/err" ] && { fail "$name: wmf2svg complained"; cat "$work/err"; }
    python3 "$here/svg_strokes.py" "$width" "$height" "$work/$name.svg" "$work/$name-back.svg" >"$work/out" ||
        { fail "$name: the strokes differ"; cat "$work/out"; }
}
compare plane 300 200 plot --list x --list "sin(x)" "cos(x^2-3)"
compare ranged 320 240 plot --range -3 7 -2 20 "x*x/4"
compare poles 400 300 plot --abs "tg(x)"
compare large 3000 2000 plot "sin(3*x)"
compare surface 320 240 surface --step 2 --turn 30 20 "sin(x)*cos(y)"
# Text in Windows-1251 with Cyrillic letters survives: the axis names are Latin, the labels digits.
"$program" plot --size 300x200 -o "$work/t.wmf" "x" && wmf2svg -o "$work/t.svg" "$work/t.wmf" &&
    grep -q ">10<" "$work/t.svg" || fail "the axis labels are not text in the read-back picture"
echo "$failures failures"
[ "$failures" -eq 0 ]
