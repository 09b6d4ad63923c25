#!/usr/bin/env bash
# `quantorium print` into a PDF on a disk that is full or fills up while the page is written
# (a 64 KiB tmpfs in a private mount namespace): exit 1 with the Russian reason, the old file
# byte for byte as it was, nothing left beside it; with room again the page is written whole.
# Exit 77 (skipped) where no tmpfs can be mounted.
#   print_full_disk.sh PROGRAM
set -uo pipefail
program=$(realpath "$1")

if [ "${2:-}" != inside ]; then
    # As root a mount namespace is enough; otherwise a user namespace gives the right to mount.
    for how in "unshare --mount" "unshare --mount --map-root-user"; do
        $how true 2>/dev/null || continue
        $how bash "$0" "$program" inside
        status=$?
        [ "$status" -ne 77 ] && exit "$status"
    done
    echo "SKIP: no small tmpfs can be mounted here (neither a mount nor a user namespace is allowed)"
    exit 77
fi

disk=$(mktemp -d)
keep=$(mktemp -d)
trap 'umount "$disk" 2>/dev/null; rm -rf "$disk" "$keep"' EXIT
mount --make-rprivate / 2>/dev/null
mount -t tmpfs -o size=64k,mode=0755 tmpfs "$disk" 2>/dev/null || { echo "SKIP: tmpfs not mounted"; exit 77; }
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$keep LC_ALL=C.UTF-8

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The old file: 12 KiB that are not a PDF at all, kept outside for comparing.
head -c 12288 /dev/urandom >"$disk/old.pdf"
cp "$disk/old.pdf" "$keep/old.pdf"

check_refused() {  # what
    local what=$1
    "$program" print --list "sin(x)" --date -o "$disk/old.pdf" "cos(x^2-3)" >"$keep/out" 2>"$keep/err"
    local status=$?
    [ "$status" = 1 ] || fail "$what: exit $status, expected 1"
    grep -q "Не удалось записать файл" "$keep/err" && grep -q "на диске нет места" "$keep/err" ||
        fail "$what: no reason given: $(cat "$keep/err")"
    cmp -s "$disk/old.pdf" "$keep/old.pdf" || fail "$what: the old file changed ($(stat -c %s "$disk/old.pdf") bytes)"
    local left
    left=$(ls -A "$disk" | grep -v -x -e old.pdf -e filler)
    [ -z "$left" ] || fail "$what: left beside it: $left"
}

# Some room, less than the page needs: the page is cut on the way.
head -c 45056 /dev/zero >"$disk/filler" 2>/dev/null
check_refused "a disk that fills up"
# No room at all.
head -c 1048576 /dev/zero >>"$disk/filler" 2>/dev/null
check_refused "a full disk"

# Room again: the same page is written whole and replaces the old file.
rm -f "$disk/filler"
"$program" print --list "sin(x)" --date -o "$disk/old.pdf" "cos(x^2-3)" 2>"$keep/err" || fail "with room: exit $?: $(cat "$keep/err")"
tail -c 8 "$disk/old.pdf" | grep -q "%%EOF" || fail "with room: the PDF has no end"
pdftotext "$disk/old.pdf" - 2>/dev/null | grep -q "cos(x^2-3), sin(x)" || fail "with room: the page lacks its description"

echo "$failures failures"
[ "$failures" -eq 0 ]
