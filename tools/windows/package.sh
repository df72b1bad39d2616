#!/usr/bin/env bash
# Builds Velmorandi for 64-bit Windows on Debian 12 and packages it:
#   dist/velmorandi-<version>-windows-x86_64.zip   Velmorandi.exe, its licence and notices
#   dist/velmorandi-<version>-setup.exe            the installer, for the current user
# Installs what it needs, builds the static Qt through qt.sh when its cache lacks it (about
# 25 minutes on 2 cores), then the program, the core tests and the window tests in
# build-windows/ (`ctest --test-dir build-windows` runs them under Wine).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$repo/tools/setup.sh"

build="$repo/build-windows"
dist="$repo/dist"

configure_windows_build() {
    local qt=$1
    if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^QT_CHAINLOAD_TOOLCHAIN_FILE" "$build/CMakeCache.txt"; then
        echo "$build was configured without Qt (the core alone); remove it first." >&2
        return 1
    fi
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    configure_and_build "$build" --toolchain "$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        "-DQT_CHAINLOAD_TOOLCHAIN_FILE=$repo/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
}

# The version as the project states it, and as the program shows it (1.0.184.1).
project_version() {
    sed -n 's/^project(Velmorandi VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt"
}

shown_version() {
    local major minor patch
    IFS=. read -r major minor patch <<<"$1"
    printf '%d.%d.%03d.1' "$major" "$minor" "$patch"
}

# Text files for Windows readers end their lines in CR LF.
copy_as_windows_text() {
    sed 's/\r*$/\r/' "$1" >"$2"
}

stage_files() {
    local stage=$1
    rm -rf "$stage"
    mkdir -p "$stage"
    x86_64-w64-mingw32-strip -o "$stage/Velmorandi.exe" "$build/app/Velmorandi.exe"
    copy_as_windows_text "$repo/LICENSE" "$stage/LICENSE.txt"
    copy_as_windows_text "$repo/packaging/windows/third-party-notices.txt" \
        "$stage/third-party-notices.txt"
}

main() {
    ensure_packages "${WINDOWS_PACKAGES[@]}" "${WINDOWS_PACKAGE_PACKAGES[@]}"
    local qt
    qt=$("$repo/tools/windows/qt.sh" | tail -n 1)
    configure_windows_build "$qt"

    local version shown
    version=$(project_version)
    shown=$(shown_version "$version")
    local stage="$build/package/velmorandi-$version"
    stage_files "$stage"

    mkdir -p "$dist"
    local zip="$dist/velmorandi-$version-windows-x86_64.zip"
    local setup="$dist/velmorandi-$version-setup.exe"
    rm -f "$zip" "$setup"
    (cd "$(dirname "$stage")" && cmake -E tar cf "$zip" --format=zip "$(basename "$stage")")
    makensis -V2 -WX "-DVERSION=$version" "-DSHOWN_VERSION=$shown" "-DSTAGE=$stage" \
        "-DOUTFILE=$setup" "$repo/packaging/windows/velmorandi.nsi"
    ls -l "$zip" "$setup"
}

main "$@"
