#!/usr/bin/env bash
# The Debian package as a user gets it: lintian and the desktop's validators on it, then the
# package unpacked into a temporary root and the program run from there, finding its guide
# and read-me in that root.
#   check_package.sh PACKAGE.deb BUILD_DIR
set -uo pipefail
deb=$(realpath "$1")
build=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

echo "== lintian"
# Every tag shown, the overridden ones with their reasons; an error or a warning fails.
lintian --display-info --pedantic --display-experimental --show-overrides --fail-on error,warning "$deb" 2>&1 |
    grep -v '^running with root privileges' | tee "$work/lintian.txt"
[ "${PIPESTATUS[0]}" = 0 ] || fail "lintian found errors or warnings"

root=$work/root
dpkg-deb -x "$deb" "$root" || fail "the package does not unpack"
share=$root/usr/share
version=$(dpkg-deb -f "$deb" Version)

echo "== desktop entry, metainfo, file type"
desktop-file-validate "$share/applications/quantorium.desktop" || fail "desktop-file-validate"
# The offline validator: every check but the ones that fetch the web addresses.
appstreamcli validate --no-net --pedantic "$share"/metainfo/*.metainfo.xml || fail "appstreamcli validate"
mime=$(grep -oP '(?<=<mime-type type=")[^"]+' "$share/mime/packages/quantorium-workplace.xml")
grep -qx "MimeType=$mime;" "$share/applications/quantorium.desktop" || fail "the desktop entry does not open $mime"
grep -qx 'Exec=quantorium %f' "$share/applications/quantorium.desktop" || fail "the desktop entry passes no file"
grep -q "<mediatype>$mime</mediatype>" "$share"/metainfo/*.metainfo.xml || fail "the metainfo does not name $mime"
mkdir -p "$work/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/quantorium-workplace.xml" "$work/mime/packages/"
XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>"$work/mime.err" || fail "update-mime-database"
[ -s "$work/mime.err" ] && { cat "$work/mime.err"; fail "update-mime-database warned"; }
grep -q ":$mime:\*\.kwp" "$work/mime/globs2" || fail "*.kwp is not $mime"

echo "== versions and pictures"
release=$(grep -oP '(?<=<release version=")[^"]+' "$share"/metainfo/*.metainfo.xml | head -1)
[ "$release" = "$version" ] || fail "the metainfo's latest release is $release, the package's version $version"
logged=$(zcat "$share/doc/quantorium/changelog.gz" | head -1 | grep -oP '(?<=\()[^)]+')
[ "$logged" = "$version" ] || fail "the change log's latest version is $logged, the package's $version"
for png in "$share"/icons/hicolor/*x*/apps/quantorium.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a $size PNG"
done
shot=$build/packaging/screenshots/graphs.png
declared=$(grep -oP '<image type="source" width="\K[0-9]+" height="[0-9]+' "$share"/metainfo/*.metainfo.xml | tr -d '"' | sed 's/ height=/ x /')
file "$shot" | grep -q "PNG image data, $declared," || fail "the screenshot is not the metainfo's $declared"
zcat "$share/man/man1/quantorium.1.gz" | man --warnings -l -Tutf8 - 2>"$work/man.err" >/dev/null
[ -s "$work/man.err" ] && { cat "$work/man.err"; fail "the manual page has faults"; }

echo "== the installed program"
program=$root/usr/bin/quantorium
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
[ "$("$program" eval 1+1)" = 2 ] || fail "quantorium eval 1+1"
"$program" --help >"$work/help.txt" || fail "quantorium --help"
grep -q "quantorium plot" "$work/help.txt" || fail "quantorium --help names no plot"
"$program" plot --size 320x200 --list "cos(x)" -o "$work/graph.png" "sin(x)" || fail "quantorium plot"
file "$work/graph.png" | grep -q "PNG image data, 320 x 200," || fail "the plot is no 320x200 PNG"
completion=$(bash -c 'source "$1"; COMP_WORDS=(quantorium pl); COMP_CWORD=1; _quantorium; echo "${COMPREPLY[*]}"' \
    _ "$share/bash-completion/completions/quantorium")
[ "$completion" = plot ] || fail "the installed completion gives '$completion' for 'quantorium pl'"

echo "== where the installed program finds its guide"
# The help window's code, run from the installed program's folder.
cp "$build/packaging/window_probe" "$root/usr/bin/"
"$root/usr/bin/window_probe" guide | tee "$work/guide.txt" || fail "the help window shows no installed page"
grep -qxF "guide: $(realpath "$share/quantorium/QuantoriaHelp.html")" "$work/guide.txt" ||
    fail "the guide is not the installed one"
grep -qxF "readme: $(realpath "$share/quantorium/ReadMe.txt")" "$work/guide.txt" ||
    fail "the read-me is not the installed one"

echo "$failures failures"
[ "$failures" -eq 0 ]
