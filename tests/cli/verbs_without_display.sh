#!/usr/bin/env bash
# The program's command line with no display at all: help and mistakes are answered before
# any window code runs, and the drawing verbs choose the offscreen platform themselves.
#   verbs_without_display.sh PROGRAM
set -uo pipefail
program=$(realpath "$1")
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() {  # expected-status description command...
    local want=$1 what=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" != "$want" ]; then
        failures=$((failures + 1))
        echo "FAIL: $what: exit $got, expected $want"
        cat "$work/err"
    fi
}
expect 0 "--help" "$program" --help
grep -q "quantorium eval" "$work/out" && grep -q "quantorium plot" "$work/out" || { echo "FAIL: --help lists no verbs"; failures=$((failures + 1)); }
expect 0 "-h" "$program" -h
expect 2 "an unknown verb" "$program" frobnicate
grep -q "quantorium calc" "$work/out" || { echo "FAIL: an unknown verb prints no usage"; failures=$((failures + 1)); }
expect 2 "an unknown option" env QT_QPA_PLATFORM=offscreen "$program" --bogus
grep -q "quantorium eval" "$work/err" || { echo "FAIL: an unknown option prints no usage"; failures=$((failures + 1)); }
expect 0 "eval" "$program" eval "2+2"
expect 1 "eval into a full disk" bash -c "'$program' eval 1 >/dev/full"
expect 1 "calc into a full disk" bash -c "'$program' calc 1 >/dev/full"
expect 0 "plot without a display" "$program" plot -o "$work/g.png" "sin(x)"
expect 0 "surface without a display" "$program" surface -o "$work/s.png" "cos(rt2(x*x+y*y))"
# Without a session runtime folder (a script, a service) a drawing verb's standard error stays clean.
expect 0 "plot without a runtime folder" env -u XDG_RUNTIME_DIR "$program" plot -o "$work/r.png" "sin(x)"
[ -s "$work/err" ] && { echo "FAIL: plot wrote to standard error:"; cat "$work/err"; failures=$((failures + 1)); }
expect 1 "surface --mesh into a full disk" bash -c "'$program' surface --mesh x >/dev/full"
expect 2 "plot with an overflowing size" "$program" plot --size 4294967906x4294967776 -o "$work/h.png" x
expect 2 "plot with an empty range" "$program" plot --range 1 1 2 2 -o "$work/h.png" x
[ -e "$work/h.png" ] && { echo "FAIL: a refused plot wrote a file"; failures=$((failures + 1)); }
# The window itself cannot open: said in Russian, with what works instead, and no abort.
for display in "" ":987"; do
    expect 1 "the window with DISPLAY='$display'" env DISPLAY="$display" "$program"
    grep -q "дисплей не найден" "$work/err" && grep -q "работают и без дисплея" "$work/err" ||
        { echo "FAIL: no Russian word on the missing display '$display':"; cat "$work/err"; failures=$((failures + 1)); }
    grep -qi "qt.qpa\|platform plugin" "$work/err" &&
        { echo "FAIL: the toolkit's own words on the missing display '$display'"; failures=$((failures + 1)); }
done
[ -e /tmp/.X11-unix/X987 ] && echo "NOTE: display :987 exists here; the unreachable case proves less"
# Answers come line by line through a pipe, before the input ends.
first=$( { echo "1+1"; sleep 5; echo "2+2"; } | "$program" eval | { IFS= read -r -t 3 line; echo "$line"; } )
[ "$first" = "2" ] || { echo "FAIL: eval did not answer the first line at once (got '$first')"; failures=$((failures + 1)); }
echo "$failures failures"
[ "$failures" -eq 0 ]
