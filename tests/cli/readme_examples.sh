#!/usr/bin/env bash
# Runs every example of the README: an indented line "$ quantorium ..." is a command, the
# indented lines after it up to a blank line are exactly what it must print.
#   readme_examples.sh PROGRAM README [VERB...]
# With verbs named, only the examples of those verbs run (a program that has only some).
set -uo pipefail
program=$(realpath "$1")
readme=$(realpath "$2")
shift 2
verbs=" $* "
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
quantorium() { "$program" "$@"; }
export -f quantorium 2>/dev/null
export program
# No display: the verbs must manage on their own.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

failures=0 count=0
command="" expected=""
check() {
    [ -z "$command" ] && return
    local words=($command)
    if [ "$verbs" != "  " ] && [[ $verbs != *" ${words[1]} "* ]]; then
        command="" expected=""
        return
    fi
    count=$((count + 1))
    local actual
    actual=$(bash -c "quantorium() { \"\$program\" \"\$@\"; }; $command" 2>/dev/null)
    if [ "$actual" != "$expected" ]; then
        failures=$((failures + 1))
        printf 'README example failed: %s\n--- expected\n%s\n--- actual\n%s\n' "$command" "$expected" "$actual"
    fi
    command="" expected=""
}
while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line == "    \$ quantorium"* ]]; then
        check
        command=${line#    \$ }
    elif [ -n "$command" ] && [[ $line == "    "* ]]; then
        expected+="${expected:+$'\n'}${line#    }"
    else
        check
    fi
done < "$readme"
check
echo "$count README examples, $failures failed"
[ "$count" -gt 0 ] && [ "$failures" -eq 0 ]
