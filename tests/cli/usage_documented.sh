#!/usr/bin/env bash
# Every command and option the program's usage names is in the manual page (each option in
# its command's section) and is what the bash completion offers for that command: a new
# command or option that is not documented there fails here.
#   usage_documented.sh PROGRAM MANPAGE COMPLETION
set -uo pipefail
program=$1 manpage=$2 completion=$3
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The options named on usage lines ("-o", "--round"...), one a line, sorted, without repeats.
options_of() { grep -oE '(^|[][ |(])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u; }

help=$("$program" --help) || fail "--help exits with $?"
verbs=$(grep -oE '^  quantorium [a-z]+' <<<"$help" | awk '{print $2}' | sort -u)
[ -n "$verbs" ] || fail "--help names no command"
general=$(grep -E '^  quantorium --' <<<"$help" | options_of)
[ -n "$general" ] || fail "--help names no option of its own"

# The manual page as plain text with its escapes undone, one section a command.
page=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$manpage")
section_of() { awk -v verb="$1" '/^\.S[SH] / {on = ($2 == verb)} on' <<<"$page"; }
has_word() { grep -qE -- "(^|[^a-z-])$1([^a-z-]|$)"; }

# What the completion offers after the words given.
offered() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quantorium; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$completion" "$@" | sort -u
}

first=$(offered quantorium "")
for word in $verbs $general; do
    grep -qxF -- "$word" <<<"$first" || fail "the completion does not offer '$word' as the first word"
done
for option in $general; do
    section_of OPTIONS | has_word "$option" || fail "the manual page's OPTIONS do not name $option"
done

for verb in $verbs; do
    # The verb's usage as --help prints it, and as a usage error prints it.
    usage=$(grep -E "^  quantorium $verb( |$)" <<<"$help")
    "$program" "$verb" --no-such-option </dev/null >/dev/null 2>"${TMPDIR:-/tmp}/usage.$$"
    status=$?
    [ "$status" = 2 ] || fail "$verb with an unknown option exits with $status, not 2"
    usage+=$'\n'$(sed -n '/^использование: /,${s/^использование: //;p}' "${TMPDIR:-/tmp}/usage.$$")
    rm -f "${TMPDIR:-/tmp}/usage.$$"
    options=$(options_of <<<"$usage")
    section=$(section_of "$verb")
    [ -n "$section" ] || fail "the manual page has no section .SS $verb"
    grep -q 'Exit status' <<<"$section" || fail "the manual page does not give $verb's exit status"
    for option in $options; do
        has_word "$option" <<<"$section" || fail "the manual page's section on $verb does not name $option"
    done
    completed=$(offered quantorium "$verb" -)
    [ "$completed" = "$options" ] ||
        fail "the completion offers for $verb: $(echo $completed); the usage names: $(echo $options)"
done

echo "$failures failures"
[ "$failures" -eq 0 ]
