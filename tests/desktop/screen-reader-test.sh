#!/usr/bin/env bash
# Runs screen_reader_test.py against the driver DRIVER on a session bus of its
# own, where the AT-SPI bus starts on demand. Run it under with-weston.sh.
#   screen-reader-test.sh DRIVER
# Exits with 77 (skipped) when the AT-SPI packages are not installed.
set -euo pipefail

skip() {
    echo "SKIPPED: $* (Debian packages: dbus at-spi2-core python3-pyatspi)"
    exit 77
}
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed"
[ -f /usr/share/dbus-1/services/org.a11y.Bus.service ] || skip "the AT-SPI bus is not installed"
# Debian's module, for Debian's Python, whatever python3 the PATH finds first.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "pyatspi is not installed"

exec dbus-run-session -- /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/screen_reader_test.py" "$1"
