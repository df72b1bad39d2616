#!/usr/bin/env bash
# Builds the Debian package from the build tree, installs it with its dependencies, checks the
# desktop entry, the AppStream file, the icons and that the program starts, then removes it.
# Prints each step; any failure ends the script with a non-zero status.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

build_dir=${VELMORANDI_PACKAGE_BUILD_DIR:-$VELMORANDI_ROOT/build}
desktop_entry=/usr/share/applications/velmorandi.desktop
metainfo=/usr/share/metainfo/example.ombrix.velmorandi.metainfo.xml
service_menu=/usr/share/kio/servicemenus/velmorandi.desktop
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

step() { printf '\n== package-test: %s\n' "$*"; }
fail() {
    printf '\npackage-test: FAILED: %s\n' "$*" >&2
    exit 1
}

installed=0
scratch=$(mktemp -d)
cleanup() {
    if [ "$installed" -eq 1 ]; then
        echo "package-test: removing the package after a failure"
        "${sudo[@]}" apt-get remove -y -qq velmorandi >/dev/null 2>&1 || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

ensure_packages "${TEST_PACKAGES[@]}"

step "building in $build_dir"
configure_and_build "$build_dir"

step "building the Debian package with cpack"
rm -f "$build_dir"/velmorandi_*.deb
(cd "$build_dir" && cpack -G DEB) || fail "cpack could not build the package"
debs=("$build_dir"/velmorandi_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one velmorandi_*.deb in $build_dir"
fi
deb=${debs[0]}
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

step "installing $deb"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "$deb" \
    || fail "apt-get could not install the package"
installed=1
hash -r
command -v velmorandi >/dev/null || fail "velmorandi is not on the PATH after installing"
echo "velmorandi is $(command -v velmorandi)"

step "checking the desktop entry, the folder action, the AppStream file, the licence and the icons"
[ -f "$desktop_entry" ] || fail "no desktop entry at $desktop_entry"
desktop-file-validate "$desktop_entry" || fail "desktop-file-validate rejects $desktop_entry"
grep -qx 'Exec=velmorandi %f' "$desktop_entry" || fail "the desktop entry does not pass a folder"
! grep -q '^MimeType=' "$desktop_entry" || fail "the desktop entry must not claim any file type"
[ -f "$service_menu" ] || fail "no folder action at $service_menu"
grep -qx 'Name=Rename files with Velmorandi' "$service_menu" || fail "$service_menu has no action"
[ -f "$metainfo" ] || fail "no AppStream file at $metainfo"
grep -qx 'License: GPL-3+' /usr/share/doc/velmorandi/copyright \
    || fail "/usr/share/doc/velmorandi/copyright does not give the licence"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
for icon in 16x16/apps/velmorandi.png 32x32/apps/velmorandi.png 48x48/apps/velmorandi.png \
    256x256/apps/velmorandi.png scalable/apps/velmorandi.svg; do
    [ -s "/usr/share/icons/hicolor/$icon" ] || fail "icon missing: /usr/share/icons/hicolor/$icon"
done

step "asking the installed program for its version"
[[ "$(velmorandi --version)" == "velmorandi (Velmorandi) "* ]] || fail "velmorandi --version is wrong"

step "starting the installed program on a folder"
# A fresh runtime folder, so no instance lock of another run is in the way.
mkdir -m 700 "$scratch/runtime" "$scratch/folder"
touch "$scratch/folder/a.txt" "$scratch/folder/b.txt"
(cd "$scratch" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime" \
    exec velmorandi "$scratch/folder") >"$scratch/program.log" 2>&1 &
pid=$!
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    cat "$scratch/program.log"
    fail "velmorandi ended within 2 seconds of starting (exit status $status)"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "velmorandi was running after 2 seconds"

step "removing the package"
"${sudo[@]}" apt-get remove -y velmorandi || fail "apt-get could not remove the package"
installed=0
hash -r
if dpkg-query -W -f='${Status}' velmorandi 2>/dev/null | grep -q 'install ok installed'; then
    fail "dpkg still lists velmorandi as installed"
fi
! command -v velmorandi >/dev/null || fail "velmorandi is still on the PATH after removing"
[ ! -e "$desktop_entry" ] || fail "$desktop_entry is still there after removing"

printf '\npackage-test: PASSED (%s)\n' "$(basename "$deb")"
