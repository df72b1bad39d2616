# Shared by start.sh, test.sh and .ci/run: installs missing Debian packages and builds.
# Sourced, not run.

VELMORANDI_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# qt6-l10n-tools: lrelease and lupdate for the translations; qt6-translations-l10n: Qt's own texts in them.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-l10n-tools qt6-translations-l10n libgl-dev libicu-dev libgtest-dev fonts-dejavu-core)
# openssh-server and sshfs: the network drives of the core tests (bench/net_rig_mounts.sh);
# clang-format: the layout check of the code (tools/check_format.sh).
TEST_PACKAGES=(dpkg-dev file desktop-file-utils appstream exfat-fuse exfatprogs python3 openssh-server sshfs clang-format)
# The Windows program, cross-built with MinGW-w64 and tested under Wine (tools/windows/).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest wine64 fonts-wine fonts-dejavu-core)
# Its zip and installer (tools/windows/package.sh).
WINDOWS_PACKAGE_PACKAGES=(nsis)
# The real program driven on a virtual X server, and its installer run (tools/windows/package-test.sh).
WINDOWS_TEST_PACKAGES=(xvfb xauth xdotool x11-utils imagemagick locales)
# The windows under a headless Wayland compositor, and read through the AT-SPI
# tree as screen readers read them (tests/desktop); each test skips without them.
WAYLAND_TEST_PACKAGES=(weston qt6-wayland)
SCREEN_READER_TEST_PACKAGES=(dbus at-spi2-core python3-pyatspi)

missing_packages() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || echo "$package"
    done
}

ensure_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -z "$missing" ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing missing packages: $missing"
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

# ensure_optional_packages WHAT PACKAGE...: installs them, or says that WHAT will be skipped.
ensure_optional_packages() {
    local what=$1
    shift
    if ! ensure_packages "$@"; then
        echo "Skipping $what: could not install $(missing_packages "$@" | tr '\n' ' ')"
    fi
}

# configure_and_build BUILD_DIR [CMAKE_OPTIONS...]: configures once, then builds incrementally;
# where BUILD_TARGETS is set, only those targets (separated by spaces).
configure_and_build() {
    local build_dir=$1
    shift
    if [ ! -f "$build_dir/build.ninja" ]; then
        cmake -S "$VELMORANDI_ROOT" -B "$build_dir" -G Ninja "$@"
    fi
    # shellcheck disable=SC2086
    cmake --build "$build_dir" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
}
