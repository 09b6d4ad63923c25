#!/usr/bin/env bash
# What the writing verbs do with names that are not plain files: a device (a copy of
# /dev/full), a pipe, a link to nothing, a circle of links, a read-only file, names in no
# encoding, and a disk that fills up (a small tmpfs). Nothing there is ever replaced.
#   special_files.sh PROGRAM
set -uo pipefail
program=$(realpath "$1")
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
mounted=""
trap '[ -n "$mounted" ] && umount "$mounted"; rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() {
    failures=$((failures + 1))
    echo "FAIL: $*"
}
run() {  # expected-status description command...
    local want=$1 what=$2
    shift 2
    "$@" >out 2>err </dev/null
    local got=$?
    [ "$got" = "$want" ] || { fail "$what: exit $got, expected $want"; cat err; }
}
says() {  # description text: standard error holds the text
    grep -qF -- "$2" err || { fail "$1: standard error lacks \"$2\""; cat err; }
}
state='{"formula": "x^2", "calc": ["2+2", ""]}'
workplace() { echo "$state" | "$program" workplace --write "$1"; }
plot() { "$program" plot --size 64x48 -o "$1" "sin(x)"; }
print() { "$program" print -o "$1" "sin(x)"; }

# Names that stand for no regular file are refused, each with its reason, and stay what they were.
mkfifo pipe.kwp pipe.png pipe.pdf
targets=(pipe)
if mknod full.kwp c 1 7 2>/dev/null && mknod full.png c 1 7 && mknod full.pdf c 1 7; then
    targets+=(full)
else
    echo "SKIP: making a device node is not allowed here: the /dev/full copy is not tried"
fi
for t in "${targets[@]}"; do
    [ "$t" = full ] && reason="устройство" || reason="канал"
    [ "$t" = full ] && kind=-c || kind=-p
    for verb in workplace plot print; do
        case $verb in workplace) ext=kwp ;; plot) ext=png ;; print) ext=pdf ;; esac
        run 1 "$verb onto $t.$ext" "$verb" "$t.$ext"
        says "$verb onto $t.$ext" "$reason"
        [ $kind "$t.$ext" ] || fail "$verb replaced $t.$ext"
    done
done

# A link to a file that does not exist yet is written through: the link stays a link.
for verb in workplace plot print; do
    case $verb in workplace) ext=kwp ;; plot) ext=png ;; print) ext=pdf ;; esac
    mkdir -p "made-$verb"
    ln -s "made-$verb/target.$ext" "link.$ext"
    run 0 "$verb through a dangling link" "$verb" "link.$ext"
    [ -L "link.$ext" ] || fail "$verb replaced the link link.$ext"
    [ -f "made-$verb/target.$ext" ] && [ -s "made-$verb/target.$ext" ] || fail "$verb made nothing at the link's target"
    rm -f "link.$ext"
done

# A read-only file is kept as it was.
for verb in workplace plot print; do
    case $verb in workplace) ext=kwp ;; plot) ext=png ;; print) ext=pdf ;; esac
    echo old >"ro.$ext"
    cp "ro.$ext" ro.before
    chmod 444 "ro.$ext"
    run 1 "$verb onto a read-only file" "$verb" "ro.$ext"
    says "$verb onto a read-only file" "файл только для чтения"
    cmp -s "ro.$ext" ro.before || fail "$verb changed the read-only ro.$ext"
done

# A circle of links is named as such, reading and writing.
ln -s loop-b.kwp loop-a.kwp
ln -s loop-a.kwp loop-b.kwp
run 1 "reading a circle of links" "$program" workplace loop-a.kwp
says "reading a circle of links" "слишком много символических ссылок"
run 1 "writing into a circle of links" workplace loop-a.kwp
says "writing into a circle of links" "слишком много символических ссылок"
[ -L loop-a.kwp ] || fail "writing replaced a link of the circle"

# Names in no encoding, or in Windows-1251, are written and read back by their bytes.
for name in $'w\xff.kwp' $'\xf0\xe0\xe1\xee\xf2\xe0.kwp' $'\xfe\xff.kwp'; do
    state="{\"formula\": \"x+${#name}\"}"
    run 0 "writing a name in no encoding" workplace "$name"
    run 0 "reading a name in no encoding" "$program" workplace "$name"
    grep -qF "\"formula\":\"x+${#name}\"" out || fail "reading back $(printf %q "$name") gave: $(cat out)"
done

# One workplace at a time.
run 2 "two workplaces for the window" "$program" a.kwp b.kwp
says "two workplaces for the window" "открыть можно только одно рабочее место"

# A picture whose image would take more memory than allowed is refused before drawing.
run 2 "a picture too large for memory" "$program" plot --size 20000x20000 -o huge.bmp x
says "a picture too large for memory" "не больше 960 МБ"
run 2 "a surface too large for memory" "$program" surface --size 20000x20000 -o huge.png x
says "a surface too large for memory" "не больше 960 МБ"
[ -e huge.bmp ] || [ -e huge.png ] && fail "a refused picture was written"

# A disk that fills up: the old file stays byte for byte, and the verb says so.
mkdir disk
if mount -t tmpfs -o size=64k tmpfs disk 2>/dev/null; then
    mounted=$work/disk
    "$program" plot --size 64x48 -o disk/old.bmp x && cp disk/old.bmp before.bmp
    echo '{"formula": "old"}' | "$program" workplace --write disk/old.kwp && cp disk/old.kwp before.kwp
    run 1 "plot onto a full disk" "$program" plot --size 2000x2000 -o disk/old.bmp "sin(x)"
    says "plot onto a full disk" "на диске нет места"
    cmp -s disk/old.bmp before.bmp || fail "plot onto a full disk changed the old picture"
    head -c 60000 /dev/zero >disk/filler 2>/dev/null
    state="{\"formula\": \"$(head -c 20000 /dev/zero | tr '\0' x)\"}"
    run 1 "workplace onto a full disk" workplace disk/old.kwp
    says "workplace onto a full disk" "на диске нет места"
    cmp -s disk/old.kwp before.kwp || fail "workplace onto a full disk changed the old file"
    [ -z "$(find disk -name '.*' -type f)" ] || fail "a temporary file was left on the full disk"
else
    echo "SKIP: mounting a tmpfs is not allowed here: the full-disk cases are not tried"
fi

echo "$failures failures"
[ "$failures" -eq 0 ]
