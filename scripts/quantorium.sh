#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kvantorium+ (installs what is missing), builds, and then
# runs the program, the tests, the sanitizer build, the fuzzer or the benchmarks.
#   scripts/quantorium.sh run [ARGS...]   build and start the program
#   scripts/quantorium.sh test            build and run the whole test suite
#   scripts/quantorium.sh sanitize        the unit tests under AddressSanitizer + UBSan
#   scripts/quantorium.sh fuzz [SECONDS]  the fuzz targets, sharing the time (default 60 s)
#   scripts/quantorium.sh bench           the benchmarks
#   scripts/quantorium.sh package [--check]
#                                         the Debian package (build/packaging/*.deb) from the
#                                         build folder; with --check, lintian and the desktop's
#                                         validators on it, and the program run from it unpacked
#   scripts/quantorium.sh windows-core [--if-available]
#                                         the core without Qt built for Windows (MinGW-w64), its
#                                         tests run under Wine, its results compared with Linux's;
#                                         with --if-available, a machine that cannot install
#                                         MinGW-w64 or Wine says so and skips it
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
          clang libclang-rt-14-dev
          qt6-base-dev libqt6opengl6-dev qt6-svg-dev libemf-dev qt6-translations-l10n
          xvfb xauth libgl1-mesa-dri fonts-dejavu-core fonts-liberation2
          poppler-utils emf2svg libwmf-bin fonts-urw-base35
          python3-mpmath)

# Only for package: CPack's dependency finder and file-type probe, the checkers, the file-type
# database the check builds.
packaging_packages=(dpkg-dev file lintian appstream desktop-file-utils shared-mime-info man-db)

# Only for windows-core: the cross compiler (its posix flavour has std::mutex) and Wine.
windows_packages=(g++-mingw-w64-x86-64-posix wine64)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {  # build-dir, extra cmake args...
    local dir=$1
    shift
    local extra=()
    # CI turns warnings into errors; a developer's build only shows them.
    [ "${QUANTORIUM_WERROR:-0}" = 1 ] && extra+=(-DQUANTORIUM_WERROR=ON)
    command -v ccache >/dev/null && extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$dir" -G Ninja "${extra[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

headless_env() {
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    chmod 700 "$XDG_RUNTIME_DIR"
    export LC_ALL=${LC_ALL:-C.UTF-8}
}

what=${1:-run}
[ $# -gt 0 ] && shift
install_missing "${packages[@]}"
case "$what" in
    run)
        configure_and_build build
        exec ./build/src/ui/quantorium "$@"
        ;;
    test)
        configure_and_build build
        headless_env
        ctest --test-dir build --output-on-failure -j "$jobs"
        ;;
    sanitize)
        configure_and_build build-asan -DQUANTORIUM_SANITIZE=ON -DQUANTORIUM_BENCH=OFF
        headless_env
        ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 \
            ctest --test-dir build-asan --output-on-failure -j "$jobs"
        ;;
    fuzz)
        # The time is shared among the fuzz targets; what they find goes to the build folder.
        seconds=${1:-60}
        CC=clang CXX=clang++ configure_and_build build-fuzz -DQUANTORIUM_FUZZ=ON -DQUANTORIUM_SANITIZE=ON \
            -DQUANTORIUM_GUI=OFF -DQUANTORIUM_TESTS=OFF -DQUANTORIUM_BENCH=OFF
        targets=()
        for t in build-fuzz/fuzz/fuzz_*; do [ -f "$t" ] && [ -x "$t" ] && targets+=("$t"); done
        share=$(( seconds / ${#targets[@]} ))
        [ "$share" -lt 1 ] && share=1
        mkdir -p build-fuzz/artifacts
        for target in "${targets[@]}"; do
            name=$(basename "$target")
            work=$(mktemp -d)
            [ -d "fuzz/corpus/$name" ] && cp "fuzz/corpus/$name"/* "$work"/
            "$target" -max_total_time="$share" -max_len=512 -print_final_stats=1 \
                -artifact_prefix="$root/build-fuzz/artifacts/$name-" "$work"
        done
        ;;
    bench)
        configure_and_build build -DCMAKE_BUILD_TYPE=Release
        for b in build/bench/*_bench; do "$b" "$@"; done
        ;;
    package)
        install_missing "${packaging_packages[@]}"
        configure_and_build build
        headless_env
        # The screenshot for the metainfo, and the probe the check runs from the unpacked root.
        cmake --build build --target package_screenshot window_probe -j "$jobs"
        rm -f build/packaging/quantorium_*.deb
        (cd build && cpack >/dev/null)
        deb=$(ls build/packaging/quantorium_*.deb)
        echo "$deb"
        [ "${1:-}" = --check ] && bash packaging/check_package.sh "$deb" build
        ;;
    windows-core)
        if [ "${1:-}" = --if-available ]; then
            if ! (install_missing "${windows_packages[@]}"); then
                echo "windows-core: skipped, ${windows_packages[*]} cannot be installed on this machine"
                exit 0
            fi
        fi
        install_missing "${windows_packages[@]}"
        configure_and_build build-windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
            -DQUANTORIUM_GUI=OFF -DQUANTORIUM_BENCH=OFF -DQUANTORIUM_GTEST_SOURCE=/usr/src/googletest
        wine=/usr/lib/wine/wine64
        [ -x "$wine" ] || wine=$(command -v wine64)
        # A Wine prefix of the build's own, made once; its server stays up while the tests run,
        # so that each program starts quickly and none inherits Wine's background services.
        export WINEPREFIX="$root/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        wineserver=$(dirname "$wine")/wineserver64
        [ -x "$wineserver" ] || wineserver=$(command -v wineserver)
        trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
        "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
        "$wineserver" -p </dev/null >/dev/null 2>&1 || true
        ctest --test-dir build-windows --output-on-failure
        # The same tables through the Linux build of the engine and the Windows one, bit for bit
        # but for the stated differences of the two C libraries.
        [ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
        cmake --build build --target engine_result_table -j "$jobs"
        ./build/tests/engine_result_table > build-windows/results-linux.txt
        "$wine" build-windows/tests/engine_result_table.exe > build-windows/results-windows.txt </dev/null
        python3 tests/engine/compare_result_tables.py build-windows/results-linux.txt build-windows/results-windows.txt \
            tests/engine/windows_library_differences.txt build-windows/results-comparison.txt
        ;;
    *)
        echo "usage: $0 run|test|sanitize|fuzz [SECONDS]|bench|package [--check]|windows-core" >&2
        exit 2
        ;;
esac
