#!/usr/bin/env bash
# Installs what is missing, builds, and runs the console or the tests.
#   ./build.sh run    build and start the console from build/stage/
#   ./build.sh test   build and run every test
#   ./build.sh asan   build with clang and run every test under AddressSanitizer + UBSan,
#                     and each fuzz target over its corpus for a short while
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev qt6-serialport-dev
          libgtest-dev xvfb xauth xdotool x11-utils fonts-noto-cjk imagemagick ffmpeg)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
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

build() {  # $1 = preset
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
}

case "${1:-run}" in
    run)
        install_missing
        build default
        exec ./build/stage/ZYR_PAN_WEQ
        ;;
    test)
        install_missing
        build default
        ctest --preset default -j "$jobs"
        ;;
    asan)
        # clang-14 builds it: libFuzzer's targets run with the suite.
        packages+=(clang-14 libclang-rt-14-dev)
        install_missing
        # A tree another compiler configured starts afresh.
        if [ -f build-asan/CMakeCache.txt ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' build-asan/CMakeCache.txt; then
            rm -rf build-asan
        fi
        build asan
        ctest --preset asan -j "$jobs"
        ;;
    *)
        echo "usage: $0 run|test|asan" >&2
        exit 2
        ;;
esac
