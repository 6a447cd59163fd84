#!/usr/bin/env bash
# Veltrin's whole set-up on Debian 12:
#   scripts/veltrin.sh run    install what is missing, build, start Veltrin
#   scripts/veltrin.sh test   install what is missing, build, run every test
#   scripts/veltrin.sh release        install what is missing, build the commit's downloads
#                                     into dist/
#   scripts/veltrin.sh release-check  build the release twice in two fresh folders, under
#                                     another umask, locale and time zone, and compare
set -euo pipefail
cd "$(dirname "$0")/.."

# What each command needs, by Debian package name: `run` only what builds and starts the
# program, `test` the test tools as well.
run_packages=(
    cmake g++ make pkg-config    # build
    qt6-base-dev qt6-qpa-plugins # Qt 6 Widgets, with the xcb and offscreen platforms
    python3-polib gettext        # the translations, made from po/ at build time
    appstream                    # ... gettext's rules for the metainfo's
    qt6-translations-l10n        # Qt's own texts in the user's language
)
test_packages=(
    libgtest-dev                      # core tests
    nlohmann-json3-dev                # tests/texts.json, read by the C++ tests
    clang-format black flake8         # formatting and lint checks of C++ and Python
    shfmt shellcheck                  # ... of shell scripts (and npm's, of JavaScript)
    librsvg2-bin icoutils             # scripts/make-icons.sh, whose run the suite checks
    python3 python3-xlib xvfb xauth   # end-to-end tests on X (xauth for xvfb-run)
    xdotool xclip x11-utils           # ... a user's clicks, keys and clipboard
    imagemagick openbox               # ... screenshots, and a window manager
    weston qt6-wayland                # end-to-end tests on Wayland
    dbus at-spi2-core python3-pyatspi # a screen reader's view (AT-SPI)
    locales fonts-noto-cjk            # a Polish desktop's locale; Chinese and Japanese
    valgrind                          # memory check
    desktop-file-utils                # packaging checks
    dpkg-dev file python3-pefile      # ...
    strip-nondeterminism              # packages that are the same bytes every time
    lintian man-db                    # Debian's policy checks, the manual page
    clang libc++-dev libc++abi-dev    # the core with Clang and libc++
    googletest                        # ... built from source against libc++
    g++-mingw-w64-x86-64              # the Windows program
    wine wine64                       # ... and its tests
    emscripten                        # the page and the core in WebAssembly
    chromium firefox-esr              # the browser tests, one engine each
    webkit2gtk-driver                 # ... WebKit's included
)
# `release` builds the three downloads from the commit's sources; strip-nondeterminism and
# python3 put right what CPack leaves to the umask and the file system
# (cmake/normalize-package.cmake).
release_packages=(
    git g++-mingw-w64-x86-64 emscripten strip-nondeterminism python3
)
# `release-check` shows where two releases differ.
check_packages=(
    diffoscope-minimal binutils-multiarch unzip
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

# run_tests PRESET E2E_JOBS [NEXT_PRESET TESTS [TARGET ...]]: the tests that start no program
# of ours side by side, then the end-to-end ones, E2E_JOBS at a time. Each of those has a
# session of its own (X server, bus, runtime folder), so the desktop's run side by side, and
# the browsers two at a time. The desktop's and Wine's sessions mostly wait on what they
# watch, so the next preset, if named, builds meanwhile (its output in build/NEXT_PRESET.log,
# shown if it fails).
run_tests() {
    ctest --preset "$1" -j "$(nproc)" --label-exclude e2e
    local status=0 building=
    if (($# > 2)); then
        build "${@:3}" >"build/$3.log" 2>&1 &
        building=$!
    fi
    ctest --preset "$1" -j "$2" --label-regex e2e || status=$?
    if [ -n "$building" ] && ! wait "$building"; then
        cat "build/$3.log"
        status=1
    fi
    return "$status"
}

# Runs the Windows build's tests under Wine, then builds NEXT_PRESET as run_tests does. Its
# prefix (in the build tree) costs seconds to start, so it is made once and its server kept
# up until the script ends.
test_under_wine() {
    export WINEPREFIX="$PWD/build/mingw/wineprefix" WINEDEBUG=-all
    mkdir -p "$WINEPREFIX" # the server starts in it, before wineboot fills it
    wineserver --persistent
    trap 'wineserver --kill || true' EXIT
    wineboot --init
    # A new prefix's first boot leaves its RPC service answering no one until the server
    # starts again; until then each of Wine's virtual desktops waits about 12 s for it.
    wineserver --kill
    wineserver --wait
    wineserver --persistent
    # A program that crashes ends with Wine's report on stderr, not in a dialog nobody sees.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    run_tests mingw 1 "$@"
}

# The version every download is named after, from its one place.
version() {
    sed -n 's/^set(VELTRIN_VERSION \([^)]*\))$/\1/p' CMakeLists.txt
}

# The files that record the version as well, for people and tools that read them, must name
# this one: the newest changelog entry and AppStream release, the manual page and the Windows
# manifest (as four numbers).
check_version_records() {
    local v=$1 numbers wrong=()
    numbers="${v%%.*}.$((10#${v#*.})).0.0"
    head -1 data/debian/changelog | grep -q "^veltrin ($v) " ||
        wrong+=(data/debian/changelog)
    grep -m1 '<release ' data/example.veltrin.Veltrin.metainfo.xml.in | grep -q "version=\"$v\"" ||
        wrong+=(data/example.veltrin.Veltrin.metainfo.xml.in)
    grep -q "^\.TH VELTRIN 6 \"[^\"]*\" \"Veltrin $v\"" data/veltrin.6 || wrong+=(data/veltrin.6)
    grep -q "name=\"example.veltrin.Veltrin\" version=\"$numbers\"" window/win32/veltrin.manifest ||
        wrong+=(window/win32/veltrin.manifest)
    if ((${#wrong[@]})); then
        echo "$0: not at version $v (CMakeLists.txt's VELTRIN_VERSION): ${wrong[*]}" >&2
        exit 1
    fi
}

# Refuses to go on when the tree is not exactly its commit: a release is of a commit.
require_clean_tree() {
    if [ -n "$(git status --porcelain)" ]; then
        git status --short >&2
        echo "$0: the tree has uncommitted changes; commit or stash them first" >&2
        exit 1
    fi
}

# Builds the release of the commit checked out into dist/: the Debian package, the Windows
# zip, the page's zip, the source archive and SHA256SUMS. Everything is built from the
# source archive itself, unpacked into a fresh folder, with every time the commit's.
release() {
    require_clean_tree
    local version work
    version=$(version)
    check_version_records "$version"
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
    export SOURCE_DATE_EPOCH
    work=build/dist
    rm -rf dist "$work"
    mkdir -p dist "$work"
    # Git's own tar (owners root, modes from tar.umask, times the commit's), compressed
    # without a name or time; the commit's id is in its header (git get-tar-commit-id).
    git -c tar.umask=0022 archive --format=tar --prefix="veltrin-$version/" HEAD |
        gzip -9n >"dist/veltrin-$version.tar.gz"
    tar -xzf "dist/veltrin-$version.tar.gz" -C "$work"
    (
        cd "$work/veltrin-$version"
        local preset
        for preset in release mingw web; do
            build "$preset" OFF
        done
        (cd build/release && cpack -G DEB -B ../packages)
        (cd build/mingw && cpack -G ZIP -B ../packages)
        (cd build/web && cpack -G ZIP -B ../packages)
    )
    cp "$work/veltrin-$version/build/packages/veltrin_${version}_amd64.deb" \
        "$work/veltrin-$version/build/packages/Veltrin-$version-win64.zip" \
        "$work/veltrin-$version/build/packages/Veltrin-$version-web.zip" dist/
    (cd dist && sha256sum -- * >SHA256SUMS)
    echo "Release $version of $(git rev-parse HEAD), SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH," \
        "made in ${SECONDS}s:"
    cat dist/SHA256SUMS
}

# Builds the release of this commit twice, each in a fresh clone in a folder of its own
# name, the second later, under another umask, locale and time zone, and on a tmpfs where
# there is one (file systems list folders in different orders and give them different
# sizes), and compares them.
release_check() {
    require_clean_tree
    local commit top other first second
    commit=$(git rev-parse HEAD)
    top=$(mktemp -d /tmp/veltrin-release-check.XXXXXX)
    other=/tmp
    [ -w /dev/shm ] && other=/dev/shm
    first=$top/first
    second=$(mktemp -d "$other/veltrin-release-check.XXXXXX")/the-second-build-somewhere-else
    local dir
    for dir in "$first" "$second"; do
        git clone --quiet --no-local --no-checkout . "$dir"
        git -C "$dir" checkout --quiet --detach "$commit"
    done
    (cd "$first" && umask 022 && LC_ALL=C LANG=C TZ=UTC bash scripts/veltrin.sh release)
    (cd "$second" && umask 002 && LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=Pacific/Chatham \
        bash scripts/veltrin.sh release)
    echo "== $first/dist/SHA256SUMS"
    cat "$first/dist/SHA256SUMS"
    echo "== $second/dist/SHA256SUMS"
    cat "$second/dist/SHA256SUMS"
    if cmp -s "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS"; then
        echo "Reproducible: both builds of $commit gave the same files."
        rm -rf "$top" "$(dirname "$second")"
        return 0
    fi
    local file
    for file in "$first"/dist/*; do
        file=$(basename "$file")
        cmp -s "$first/dist/$file" "$second/dist/$file" ||
            diffoscope "$first/dist/$file" "$second/dist/$file" || true
    done
    echo "NOT reproducible: the builds differ (above); both are kept: $first, $second" >&2
    return 1
}

usage="usage: scripts/veltrin.sh run [VELTRIN OPTIONS] | test | release | release-check"
# Only run takes more: a word after another command is a mistake, not a wish to ignore.
if [ "${1:-}" != run ] && (($# > 1)); then
    echo "$usage" >&2
    exit 2
fi
case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    # A release build already there (the test suite's, say) is brought up to date as it is
    # configured, and only the program is built; a first one is configured without tests.
    [ -f build/release/CMakeCache.txt ] || cmake --preset release -DVELTRIN_TESTS=OFF
    cmake --build --preset release -j "$(nproc)" --target Veltrin
    exec build/release/window/qt/veltrin "${@:2}"
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    # prettier and eslint for the JavaScript, pinned by their lock file.
    npm ci --prefix tests/tooling --no-audit --no-fund
    build release ON
    # The sanitizer build runs the unit and window tests again, for memory and UB errors:
    # only those are built, beside the release build's end-to-end tests.
    run_tests release "$(nproc)" asan ON unit_tests
    ctest --preset asan -j "$(nproc)" --label-regex 'core|window'
    # The core suite under the other toolchains: it must give the same answers everywhere.
    build clang-libcxx ON
    ctest --preset clang-libcxx -j "$(nproc)"
    # The browser tests' drivers, pinned by their lock file; they drive Debian's browsers and
    # download none of their own.
    npm ci --prefix tests/e2e/web --no-audit --no-fund
    build mingw ON
    test_under_wine web ON
    run_tests web 2
    ;;
release)
    install_missing "${run_packages[@]}" "${release_packages[@]}"
    release
    ;;
release-check)
    install_missing "${run_packages[@]}" "${release_packages[@]}" "${check_packages[@]}"
    release_check
    ;;
-h | --help)
    echo "$usage"
    ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac
