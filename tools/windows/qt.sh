#!/usr/bin/env bash
# Builds the static Qt for Windows that Velmorandi's Windows program links, from Debian's own
# qt6-base source package, cross-compiled with MinGW-w64 and Debian's Qt as host tools.
# Prints the install folder on its last line. A second run with the install cached takes
# seconds: the cache is keyed by the source package, the configure options and the compiler.
#
#   tools/windows/qt.sh            builds (about 25 minutes on 2 cores) or finds the cached Qt
#   tools/windows/qt.sh --prefix   prints the folder the Qt is or would be installed in
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$repo/tools/setup.sh"

QT_SOURCE_PACKAGE=qt6-base
QT_DEBIAN_VERSION=6.4.2+dfsg-10
QT_UPSTREAM_VERSION=${QT_DEBIAN_VERSION%%+*}
QT_HOST_PACKAGES=(qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev xz-utils
    g++-mingw-w64-x86-64-posix)
TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake"

# What the program needs and no more: Widgets, the local sockets of the hand-over, Qt Test,
# and the offscreen platform for the window tests. -no-feature-tabletevent because Debian's
# source drops the wintab headers; direct2d must stay, the Windows platform plugin needs it.
QT_CONFIGURE_OPTIONS=(-release -static -nomake examples -nomake tests
    -no-opengl -no-vulkan -no-dbus -no-icu -no-openssl -no-feature-schannel -no-feature-ssl
    -no-feature-sql -no-feature-xml -no-feature-concurrent -no-feature-printsupport
    -no-feature-zstd -no-feature-tabletevent -no-feature-androiddeployqt
    -qt-zlib -qt-pcre -qt-libpng -no-libjpeg -qt-freetype -qt-harfbuzz -qt-doubleconversion)

cache_key() {
    {
        echo "$QT_SOURCE_PACKAGE $QT_DEBIAN_VERSION"
        printf '%s\n' "${QT_CONFIGURE_OPTIONS[@]}"
        cat "$TOOLCHAIN_FILE"
        x86_64-w64-mingw32-g++-posix --version 2>/dev/null | head -n 1 || echo "no compiler yet"
    } | sha256sum | cut -c1-12
}

install_prefix() {
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/velmorandi/qt-$QT_UPSTREAM_VERSION-mingw-$(cache_key)"
}

# Fetches the source package through a sources list of its own, so the machine's apt
# configuration stays as it is. apt checks every file against the signed index.
fetch_source() {
    local work=$1 apt_dir="$1/apt"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "http://deb.debian.org/debian bookworm main" >"$apt_dir/sources.list"
    local apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/none" -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache" -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")
    apt-get -qq "${apt_options[@]}" update
    (cd "$work" && apt-get -qq "${apt_options[@]}" source --download-only \
        "$QT_SOURCE_PACKAGE=$QT_DEBIAN_VERSION")
    local dsc="$work/${QT_SOURCE_PACKAGE}_${QT_DEBIAN_VERSION}.dsc"
    # dpkg-source checks the tarballs against the .dsc's sums and applies Debian's patches;
    # the .dsc's own signature is covered by apt's signed index (no keyring needed here).
    (cd "$work" && dpkg-source -x "$dsc" source >/dev/null)
}

build_and_install() {
    local work=$1 prefix=$2
    mkdir -p "$work/build"
    (cd "$work/build" && "$work/source/configure" -prefix "$prefix" -qt-host-path /usr \
        -xplatform win32-g++ "${QT_CONFIGURE_OPTIONS[@]}" -- -G Ninja \
        "-DCMAKE_TOOLCHAIN_FILE=$TOOLCHAIN_FILE" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1) \
        || { tail -n 40 "$work/configure.log"; return 1; }
    cmake --build "$work/build" --parallel "$(nproc)"
    cmake --install "$work/build" >/dev/null
}

main() {
    if [ "${1:-}" = "--prefix" ]; then
        install_prefix
        return 0
    fi
    ensure_packages "${QT_HOST_PACKAGES[@]}"
    local prefix
    prefix=$(install_prefix)
    if [ -f "$prefix/.velmorandi-complete" ]; then
        echo "$prefix"
        return 0
    fi
    local start=$SECONDS
    # The build tree (2.6 GB) goes once Qt is installed, also after a failure.
    qt_work=$(mktemp -d "${TMPDIR:-/var/tmp}/velmorandi-qt.XXXXXX")
    trap 'rm -rf "$qt_work"' EXIT
    local work=$qt_work
    echo "Building Qt $QT_UPSTREAM_VERSION for Windows from Debian's $QT_SOURCE_PACKAGE $QT_DEBIAN_VERSION" >&2
    rm -rf "$prefix"
    { fetch_source "$work" && build_and_install "$work" "$prefix"; } >&2
    touch "$prefix/.velmorandi-complete"
    echo "Qt for Windows built in $((SECONDS - start)) s" >&2
    echo "$prefix"
}

main "$@"
