#!/usr/bin/env bash
# Veltrin's whole set-up on Debian 12:
#   scripts/veltrin.sh run    install what is missing, build, start Veltrin
#   scripts/veltrin.sh test   install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")/.."

# What each command needs, by Debian package name: `run` only what builds and starts the
# program, `test` the test tools as well.
run_packages=(
    cmake g++ make pkg-config     # build
    qt6-base-dev qt6-qpa-plugins  # Qt 6 Widgets, with the xcb and offscreen platforms
)
test_packages=(
    libgtest-dev                  # core tests
    clang-format black flake8     # formatting and lint checks (and npm's, for JavaScript)
    librsvg2-bin icoutils         # scripts/make-icons.sh, whose run the suite checks
    python3 python3-xlib xvfb xdotool xclip x11-utils imagemagick openbox # end-to-end tests on X
    xauth                         # xvfb-run's, which Debian only recommends
    weston qt6-wayland            # end-to-end tests on Wayland
    dbus at-spi2-core python3-pyatspi # a screen reader's view (AT-SPI)
    valgrind                      # memory check
    desktop-file-utils appstream dpkg-dev file python3-pefile # packaging checks
    lintian man-db                # Debian's policy checks, the manual page
    clang libc++-dev libc++abi-dev googletest # the core with Clang and libc++
    g++-mingw-w64-x86-64 wine wine64 # the Windows program and the core, run under Wine
    emscripten chromium           # the page and the core in WebAssembly; the browser tests
)
# npm comes with Node.js where that is not Debian's own; Debian packages it on its own.
command -v npm >/dev/null || test_packages+=(npm)

install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
}

# build PRESET TESTS(ON|OFF) [TARGET ...]
build() {
    cmake --preset "$1" -DVELTRIN_TESTS="$2"
    cmake --build --preset "$1" -j "$(nproc)" ${3:+--target "${@:3}"}
}

# Runs a preset's tests: those that start no program of ours side by side, then the
# end-to-end ones one at a time, since they time what they watch.
run_tests() {
    ctest --preset "$1" -j "$(nproc)" --label-exclude e2e "${@:2}"
    ctest --preset "$1" --label-regex e2e "${@:2}"
}

# Runs the Windows build's tests under Wine. Its prefix (in the build tree) costs seconds to
# start, so it is made once and its server kept up until the tests are done.
test_under_wine() {
    export WINEPREFIX="$PWD/build/mingw/wineprefix" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX" # the server starts in it, before wineboot fills it
    wineserver --persistent
    trap 'wineserver --kill || true' EXIT
    wineboot --init
    run_tests mingw
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    build release OFF
    exec build/release/window/qt/veltrin "${@:2}"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    # prettier and eslint for the JavaScript, pinned by their lock file.
    npm ci --prefix tests/tooling --no-audit --no-fund
    build release ON
    run_tests release
    # The sanitizer build runs the unit and window tests again, for memory and UB errors:
    # only those are built.
    build asan ON core_tests form_test fatal_test search_test close_test
    ctest --preset asan -j "$(nproc)" --label-regex 'core|window'
    # The core suite under the other toolchains: it must give the same answers everywhere.
    build clang-libcxx ON
    ctest --preset clang-libcxx -j "$(nproc)"
    # The browser tests' driver, pinned by its lock file; it drives Debian's Chromium and
    # downloads no browser of its own.
    npm ci --prefix tests/e2e/web --no-audit --no-fund
    build web ON
    run_tests web
    # Last, as it ends by stopping its Wine server.
    build mingw ON
    test_under_wine
    ;;
-h | --help)
    echo "usage: scripts/veltrin.sh run [VELTRIN OPTIONS] | test"
    ;;
*)
    echo "usage: scripts/veltrin.sh run [VELTRIN OPTIONS] | test" >&2
    exit 2
    ;;
esac
