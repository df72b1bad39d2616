#!/usr/bin/env bash
# Runs a command against a headless weston of its own, with Qt's Wayland platform:
#   with-weston.sh COMMAND [ARGUMENT]...
# VELMORANDI_QT_PLUGINS names Qt's plugin folder. Exits with 77 (skipped) when
# weston or Qt's Wayland platform is not installed.
set -euo pipefail

skip() {
    echo "SKIPPED: $* (Debian packages: weston qt6-wayland)"
    exit 77
}
command -v weston >/dev/null || skip "weston is not installed"
command -v weston-screenshooter >/dev/null || skip "weston-screenshooter is not installed"
compgen -G "${VELMORANDI_QT_PLUGINS:-/nonexistent}/platforms/libqwayland-*.so" >/dev/null \
    || skip "Qt's Wayland platform is not installed in ${VELMORANDI_QT_PLUGINS:-?}"

# weston and its clients want a runtime folder only this user may enter; root has none.
runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-velmorandi-test
# --debug lets the screenshooter client take pictures of the screen.
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
    --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/$WAYLAND_DISPLAY" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$runtime/$WAYLAND_DISPLAY" ]; then
    cat "$runtime/weston.log"
    echo "weston did not start" >&2
    exit 1
fi

export QT_QPA_PLATFORM=wayland
# The headless weston has no seat, and Qt's Wayland text input (6.4) crashes on
# the first key or focus in a text box without one: no input method here.
export QT_IM_MODULE=none
status=0
"$@" || status=$?
exit "$status"
