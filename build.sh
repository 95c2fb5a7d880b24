#!/usr/bin/env bash
# Installs what is missing, builds, and runs the console or the tests.
#   ./build.sh run      build and start the console from build/stage/
#   ./build.sh test     build and run every test
#   ./build.sh asan     build with clang and run every test under AddressSanitizer + UBSan,
#                       and each fuzz target over its corpus for a short while
#   ./build.sh package  build the Debian package in build-pkg/ and check it with lintian
set -euo pipefail
cd "$(dirname "$0")"

# What building and running the console needs (fonts-dejavu-core: the font
# files the pictures are drawn with; fonts-noto-cjk: the Japanese texts;
# libdcmtk-dev: the DICOM objects and networking).
run_packages=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev qt6-translations-l10n
              fonts-dejavu-core fonts-noto-cjk libdcmtk-dev)
# What the tests and benchmarks need on top.
# dcmtk, orthanc and dicom3tools: the real worklist, archive and validator
# the DICOM tests run on loopback.
test_packages=(libgtest-dev xvfb xauth xdotool x11-utils imagemagick ffmpeg pkg-config libxcb1-dev
               dcmtk orthanc dicom3tools)
# What making and checking the Debian package needs on top.
package_packages=(dpkg-dev file lintian)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {  # $1 = preset, then cache settings
    local preset=$1
    shift
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
}

case "${1:-run}" in
    run)
        install_missing "${run_packages[@]}"
        build default -DZYR_BUILD_TESTS=OFF
        exec ./build/stage/ZYR_PAN_WEQ
        ;;
    test)
        install_missing "${run_packages[@]}" "${test_packages[@]}"
        build default -DZYR_BUILD_TESTS=ON
        ctest --preset default -j "$jobs"
        ;;
    asan)
        # clang-14 builds it: libFuzzer's targets run with the suite.
        install_missing "${run_packages[@]}" "${test_packages[@]}" clang-14 libclang-rt-14-dev
        # A tree another compiler configured starts afresh.
        if [ -f build-asan/CMakeCache.txt ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' build-asan/CMakeCache.txt; then
            rm -rf build-asan
        fi
        build asan
        ctest --preset asan -j "$jobs"
        ;;
    package)
        install_missing "${run_packages[@]}" "${package_packages[@]}"
        # Debian's hardening flags for the binaries the package ships.
        CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
            LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" build package
        rm -f build-pkg/zyr-pan-weq_*.deb
        (cd build-pkg && cpack -G DEB)
        deb=$(ls build-pkg/zyr-pan-weq_*.deb)
        lintian --info "$deb"
        echo "Package: $deb"
        ;;
    *)
        echo "usage: $0 run|test|asan|package" >&2
        exit 2
        ;;
esac
