#!/usr/bin/env bash
# Tests the Windows packages in dist/ under Wine, on the X display it is given (CI runs it
# in xvfb-run): the program from the zip on a folder given on its command line (Add String,
# Rename, Ctrl+Z, a refused rename, the About window, each checked on disk or on screen),
# then the installer, silently into a fresh Wine prefix: what it adds, the installed program
# started once, and the uninstaller, which must leave nothing behind but the records.
# Prints each step; any failure ends the script with a non-zero status.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$repo/tools/setup.sh"

export PATH="/usr/lib/wine:$PATH" WINEDEBUG=-all
scratch=$(mktemp -d)
prefixes=()
cleanup() {
    local prefix
    for prefix in "${prefixes[@]}"; do
        WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap cleanup EXIT

step() { printf '\n== windows package-test: %s\n' "$*"; }
fail() {
    printf '\nwindows package-test: FAILED: %s\n' "$*" >&2
    exit 1
}

# new_prefix NAME: a Wine prefix of its own, made afresh. Without Wine's 32-bit half its
# set-up leaves the prefix's font folder empty: Wine's own fonts (Tahoma, the default face of
# its dialogs, and MS Sans Serif) are put there.
new_prefix() {
    export WINEPREFIX="$scratch/$1"
    prefixes+=("$WINEPREFIX")
    wine64 wineboot -i >/dev/null 2>&1
    wineserver -w
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    user_profile="$WINEPREFIX/drive_c/users/$(id -un)"
    [ -d "$user_profile" ] || fail "Wine made no profile folder at $user_profile"
}

# The main window's layout is fixed, in pixels at 96 dots per inch: the places clicked.
declare -A place=(
    [find]="116 374" [apply_find]="153 353" [left_text]="370 376" [text]="448 390"
    [rename]="644 301" [close]="662 20")

program_window() {
    local window
    for _ in $(seq 100); do
        for window in $(xdotool search --onlyvisible --name '^Velmorandi$' 2>/dev/null); do
            if xwininfo -id "$window" | grep -q 'Width: 689' &&
                xwininfo -id "$window" | grep -q 'Height: 425'; then
                echo "$window"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

click() {
    # shellcheck disable=SC2086
    xdotool mousemove --window "$window" ${place[$1]} click 1
    sleep 0.5
}

folder_names() {
    find "$1" -mindepth 1 -maxdepth 1 -printf '%f|' | tr '|' '\n' | sort | tr '\n' '|'
}

# wait_for_names FOLDER EXPECTED: the names on disk, as folder_names writes them.
wait_for_names() {
    for _ in $(seq 100); do
        [ "$(folder_names "$1")" = "$2" ] && return 0
        sleep 0.2
    done
    fail "the folder holds $(folder_names "$1"), not $2"
}

# What the window shows: "message" (a black frame of 385 x 209 pixels centred on it),
# "about" (its dark band across the lower part) or "main".
window_shows() {
    import -window "$window" -depth 8 ppm:- | python3 -c '
import re, sys
data = sys.stdin.buffer.read()
header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
width, height, pixels = int(header[1]), int(header[2]), data[header.end():]
def rgb(x, y):
    i = 3 * (y * width + x)
    return tuple(pixels[i:i + 3])
def black_run(y, x0, x1):
    return all(rgb(x, y) == (0, 0, 0) for x in range(x0, x1))
left, top = (width - 385) // 2, (height - 209) // 2
if any(black_run(y, left + 4, left + 380) and black_run(y + 208, left + 4, left + 380)
       for y in range(top - 2, top + 3)):
    print("message")
    sys.exit()
band = [rgb(x, y) for x in range(10, width - 10, 3) for y in range(height - 100, height - 5, 3)]
print("about" if band.count((0x40, 0x40, 0x40)) > 0.6 * len(band) else "main")'
}

expect_window_shows() {
    local shown=""
    for _ in $(seq 25); do
        shown=$(window_shows)
        [ "$shown" = "$1" ] && return 0
        sleep 0.2
    done
    import -window "$window" "$repo/dist/windows-package-test-failure.png" || true
    fail "the window shows the $shown window, not the $1 window (dist/windows-package-test-failure.png)"
}

ensure_packages "${WINDOWS_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}"
[ -n "${DISPLAY:-}" ] || fail "no X display: run it in xvfb-run"
zips=("$repo"/dist/velmorandi-*-windows-x86_64.zip)
setups=("$repo"/dist/velmorandi-*-setup.exe)
if [ ! -f "${zips[0]}" ] || [ ! -f "${setups[0]}" ]; then
    fail "no packages in dist/: run tools/windows/package.sh"
fi

step "unpacking ${zips[0]##*/}"
mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "${zips[0]}")
program=$(find "$scratch/zip" -name Velmorandi.exe)
[ -n "$program" ] || fail "no Velmorandi.exe in the zip"
for file in LICENSE.txt third-party-notices.txt; do
    [ -s "$(dirname "$program")/$file" ] || fail "no $file beside Velmorandi.exe"
done
strings -el "$program" | grep -qx '1.00.0184' || fail "no version record 1.00.0184 in Velmorandi.exe"
grep -qa '<longPathAware' "$program" || fail "Velmorandi.exe carries no manifest"

step "starting Velmorandi.exe on C:\\smoke"
new_prefix smoke
# Needing no DLL beside it: every DLL it imports is one of the system's own (the
# api-ms-win-* sets are names the system resolves itself, not files).
for dll in $(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/.*DLL Name: //p' |
    grep -viE '^(api|ext)-ms-win-'); do
    find "$WINEPREFIX/drive_c/windows/system32" -maxdepth 1 -iname "$dll" | grep -q . ||
        fail "Velmorandi.exe needs $dll, which is not a DLL of the system"
done
folder="$WINEPREFIX/drive_c/smoke"
mkdir "$folder"
for name in a b con1; do echo "$name" >"$folder/$name.txt"; done
wine64 "$program" 'C:\smoke' >"$scratch/program.log" 2>&1 &
pid=$!
window=$(program_window) || fail "no window of Velmorandi.exe appeared"
sleep 2
expect_window_shows main

step "Add String 'Trip ' on the left, then Rename"
click left_text
click text
xdotool type --delay 40 'Trip '
xdotool key Return
click rename
wait_for_names "$folder" "Trip a.txt|Trip b.txt|Trip con1.txt|"
[ "$(cat "$folder/Trip a.txt")" = a ] || fail "Trip a.txt does not hold what a.txt held"

step "Ctrl+Z undoes the rename on disk, and says so"
xdotool key ctrl+z
wait_for_names "$folder" "a.txt|b.txt|con1.txt|"
expect_window_shows message
xdotool key Escape
expect_window_shows main

step "a name Windows reserves (con.txt) is refused with a message"
click find
xdotool type --delay 40 '1'
click apply_find
click rename
expect_window_shows message
[ "$(folder_names "$folder")" = "a.txt|b.txt|con1.txt|" ] || fail "the refused rename touched the disk"
xdotool key Escape
expect_window_shows main

step "F1 shows the About window, Escape closes it"
xdotool key F1
expect_window_shows about
xdotool key Escape
expect_window_shows main

step "the close button ends the program"
click close
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
! kill -0 "$pid" 2>/dev/null || fail "Velmorandi.exe is still running after its close button"
wait "$pid" || fail "Velmorandi.exe ended with status $?: $(cat "$scratch/program.log")"
ls "$user_profile/AppData/Local/Velmorandi/"*.journal >/dev/null 2>&1 ||
    fail "no record of the rename in %LOCALAPPDATA%\\Velmorandi"
wineserver -k

step "installing ${setups[0]##*/} silently into a fresh prefix"
new_prefix install
before=$(cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print | sort)
wine64 "${setups[0]}" /S
wineserver -w
installed="$user_profile/AppData/Local/Programs/Velmorandi"
for file in Velmorandi.exe LICENSE.txt third-party-notices.txt Uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer put no $file in $installed"
done
cmp -s "$installed/Velmorandi.exe" "$program" || fail "the installed Velmorandi.exe is not the zip's"
[ -f "$user_profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmorandi.lnk" ] ||
    fail "no Start menu shortcut"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmorandi'
folder_key='HKCU\Software\Classes\Directory\shell\Velmorandi'
entry=$(wine64 reg query "$uninstall_key" 2>/dev/null | tr -d '\r') || fail "no entry in Apps & features"
for value in 'DisplayName +REG_SZ +Velmorandi$' 'DisplayVersion +REG_SZ +1\.0\.184\.1$' \
    'Publisher +REG_SZ +Ombrix$' 'DisplayIcon +REG_SZ +.*Velmorandi\.exe,0$' \
    'QuietUninstallString +REG_SZ +.*Uninstall\.exe" /S$'; do
    grep -qE "^ +$value" <<<"$entry" || fail "the Apps & features entry lacks $value"
done
menu=$(wine64 reg query "$folder_key" /s 2>/dev/null | tr -d '\r') || fail "no folder context menu entry"
grep -qE '^ +\(Default\) +REG_SZ +Rename files with Velmorandi$' <<<"$menu" ||
    fail "the folder context menu entry is not 'Rename files with Velmorandi'"
grep -qE '^ +\(Default\) +REG_SZ +".*\\Velmorandi\.exe" "%1"$' <<<"$menu" ||
    fail "the folder context menu entry does not pass the folder"

step "starting the installed program once"
wine64 "$installed/Velmorandi.exe" 'C:\users' >"$scratch/installed.log" 2>&1 &
pid=$!
window=$(program_window) || fail "no window of the installed Velmorandi.exe appeared"
click close
wait "$pid" || fail "the installed Velmorandi.exe ended with status $?"
wineserver -w

step "uninstalling silently"
wine64 "$installed/Uninstall.exe" /S
# The uninstaller goes on from a copy of itself in the temporary folder.
wineserver -w
after=$(cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print | sort)
left=$(comm -13 <(echo "$before") <(echo "$after") | grep -v '/Temp\(/\|$\)' || true)
records="./users/$(id -un)/AppData/Local/Velmorandi"
leftover=$(grep -v "^$records" <<<"$left" || true)
[ -z "$leftover" ] || fail "the uninstaller left behind: $(tr '\n' ' ' <<<"$leftover")"
[ -d "$WINEPREFIX/drive_c/$records" ] || fail "the uninstaller took the records away"
! wine64 reg query "$uninstall_key" >/dev/null 2>&1 || fail "the Apps & features entry is still there"
! wine64 reg query "$folder_key" >/dev/null 2>&1 || fail "the folder context menu entry is still there"

printf '\nwindows package-test: PASSED (%s, %s)\n' "${zips[0]##*/}" "${setups[0]##*/}"
