#!/usr/bin/env bash
# Tests the Windows packages in dist/ under Wine, on the X display it is given (CI runs it
# in xvfb-run): the program from the zip on a folder given on its command line (Add String,
# Rename, Ctrl+Z, a refused rename, the About window, each checked on disk or on screen),
# then the installer in a fresh Wine prefix: the previous version (built here from the same
# script) installed silently and started from its shortcut in Pictures; this version's
# silent installer and uninstaller refusing while it runs; this version's German pages
# asking to close it, updating it in place and starting it in Pictures; Explorer's entries;
# and the German uninstaller, which must leave nothing behind but the records.
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

# Wine links the profile's folders (Pictures among them) to $HOME and adds menu entries
# there for the shortcuts it sees made: a home of the test's own, and no menu entries.
export HOME="$scratch/home" WINEDLLOVERRIDES="winemenubuilder.exe=d"
mkdir "$HOME"

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

# Paths of the prefix's drive C: as Wine writes them, and as Linux does.
unix_path() {
    local path=${1#[Cc]:}
    printf '%s/drive_c%s\n' "$WINEPREFIX" "${path//\\//}"
}

windows_path() {
    local path=${1#"$WINEPREFIX/drive_c"}
    printf 'C:%s\n' "${path//\//\\}"
}

# registry_value QUERY KEY NAME: the value NAME of KEY in QUERY, the output of reg query /s.
registry_value() {
    awk -v key="$2" -v name="$3" '
        $0 == key { inside = 1; next }
        /^HKEY_/ { inside = 0 }
        inside && index($0, "    " name "    ") == 1 {
            sub(/^    [^ ].*    REG_[A-Z_]+    /, "")
            print
            exit
        }' <<<"$1"
}

# installer_window TITLE: the first visible window whose title begins with TITLE, and what it
# is: "pages" (the (un)installer's own window, about 360 pixels high at 96 dots per inch) or
# "message" (a message box of a few lines).
installer_window() {
    local found height
    for _ in $(seq 150); do
        for found in $(xdotool search --onlyvisible --name "^$1" 2>/dev/null); do
            # It may be gone meanwhile.
            height=$(xwininfo -id "$found" 2>/dev/null | sed -n 's/^ *Height: //p') || continue
            if [ "$height" -ge 250 ]; then echo "$found pages"; else echo "$found message"; fi
            return 0
        done
        sleep 0.2
    done
    return 1
}

wait_until_hidden() {
    for _ in $(seq 50); do
        xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
        sleep 0.2
    done
    import -window root "$repo/dist/windows-package-test-failure.png" || true
    fail "window $1 stays on screen (dist/windows-package-test-failure.png)"
}

# The last page of the installer and of the uninstaller shows a dark blue picture on its left.
wait_for_last_page() {
    local colour
    for _ in $(seq 150); do
        colour=$(import -window "$1" ppm:- 2>/dev/null |
            convert - -crop 40x40+10+130 +repage -scale '1x1!' -depth 8 txt:- 2>/dev/null |
            sed -n 's/.*#\([0-9A-F]\{6\}\).*/\1/p') || true
        case $colour in 0000[4-9A-F]?) return 0 ;; esac
        sleep 0.2
    done
    import -window "$1" "$repo/dist/windows-package-test-failure.png" || true
    fail "the last page did not show (dist/windows-package-test-failure.png)"
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

# add_trip_and_rename FOLDER EXPECTED: Add String 'Trip ' on the left and Rename, in the
# window shown, which must be listing FOLDER: the names on disk tell.
add_trip_and_rename() {
    click left_text
    click text
    xdotool type --delay 40 'Trip '
    xdotool key Return
    click rename
    wait_for_names "$1" "$2"
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

ensure_packages "${WINDOWS_PACKAGES[@]}" "${WINDOWS_PACKAGE_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}"
[ -n "${DISPLAY:-}" ] || fail "no X display: run it in xvfb-run"
# Wine speaks the language of the Unix locale: a German one of the test's own, made meanwhile.
locales="$scratch/locales"
mkdir "$locales"
localedef -i de_DE -f UTF-8 "$locales/de_DE.UTF-8" >/dev/null 2>&1 &
locale_maker=$!
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
add_trip_and_rename "$folder" "Trip a.txt|Trip b.txt|Trip con1.txt|"
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

# The installer: the previous version installed silently, started from its Start menu
# shortcut, met running by this version's silent installer and uninstaller, then updated in
# place through this version's pages in German, run from its last page, and removed through
# the German uninstaller's pages.
setup=${setups[0]}
version=${setup##*/velmorandi-}
version=${version%-setup.exe}
IFS=. read -r major minor patch <<<"$version"
previous="$major.$minor.$((10#$patch - 1))"
shown_previous=$(printf '%d.%d.%03d.1' "$major" "$minor" "$((10#$patch - 1))")

step "building the installer of the previous version, $previous"
# This installer's script numbered one lower, with the zip's program and a few bytes after
# it (which Windows does not load) to tell the two apart; stored, not compressed, in a second.
stage="$scratch/previous"
mkdir "$stage"
cp "$program" "$(dirname "$program")/LICENSE.txt" "$(dirname "$program")/third-party-notices.txt" \
    "$stage/"
printf 'previous version' >>"$stage/Velmorandi.exe"
previous_setup="$scratch/velmorandi-$previous-setup.exe"
makensis -V1 "-XSetCompressor /FINAL zlib" "-XSetCompress off" "-DVERSION=$previous" "-DSHOWN_VERSION=$shown_previous" \
    "-DSTAGE=$stage" "-DOUTFILE=$previous_setup" "$repo/packaging/windows/velmorandi.nsi" >/dev/null ||
    fail "makensis could not build the previous version's installer"

step "installing version $previous silently into a fresh prefix"
new_prefix install
# Wine links the profile's Pictures to \$HOME; on Windows it is a folder of the profile's own.
pictures=$(sed -n 's/^"My Pictures"="\(.*\)"$/\1/p' "$WINEPREFIX/user.reg" | head -n 1 | sed 's/\\\\/\\/g')
[ -n "$pictures" ] || fail "Wine names no Pictures folder"
pictures=$(unix_path "$pictures")
[ -L "$pictures" ] && rm "$pictures"
mkdir -p "$pictures"
before=$(cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print | sort)
wine64 "$previous_setup" /S || fail "the silent installation of $previous ended with status $?"
installed="$user_profile/AppData/Local/Programs/Velmorandi"
for file in Velmorandi.exe LICENSE.txt third-party-notices.txt Uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer put no $file in $installed"
done
cmp -s "$installed/Velmorandi.exe" "$stage/Velmorandi.exe" || fail "the installed Velmorandi.exe is not $previous's"
shortcut="$user_profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmorandi.lnk"
[ -f "$shortcut" ] || fail "no Start menu shortcut"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmorandi'
entry=$(wine64 reg query "$uninstall_key" 2>/dev/null | tr -d '\r') || fail "no entry in Apps & features"
grep -qE "^ +DisplayVersion +REG_SZ +${shown_previous//./\\.}\$" <<<"$entry" ||
    fail "Apps & features does not show version $shown_previous"

step "the Start menu shortcut starts Velmorandi in Pictures"
for name in a b; do echo "$name" >"$pictures/$name.txt"; done
wine64 start /unix "$shortcut"
window=$(program_window) || fail "no window of Velmorandi.exe appeared from the shortcut"
expect_window_shows main
add_trip_and_rename "$pictures" "Trip a.txt|Trip b.txt|"

step "while Velmorandi runs, the silent installer and uninstaller refuse with status 2 and say why"
status=0
LC_ALL=C.UTF-8 wine64 "$setup" /S 2>"$scratch/refusal.log" || status=$?
[ "$status" -eq 2 ] || fail "the silent installer ended with status $status, not 2, while Velmorandi ran"
grep -q 'Velmorandi is running, so it was not installed' "$scratch/refusal.log" ||
    fail "the silent installer did not say why: $(cat "$scratch/refusal.log")"
cmp -s "$installed/Velmorandi.exe" "$stage/Velmorandi.exe" ||
    fail "the installer replaced Velmorandi.exe while it ran"
status=0
# In place (_?=): where it copies itself away first, the copy's status is not the one seen.
LC_ALL=C.UTF-8 wine64 "$installed/Uninstall.exe" /S "_?=$(windows_path "$installed")" \
    2>"$scratch/refusal.log" || status=$?
[ "$status" -eq 2 ] || fail "the silent uninstaller ended with status $status, not 2, while Velmorandi ran"
grep -q 'Velmorandi is running, so it was not removed' "$scratch/refusal.log" ||
    fail "the silent uninstaller did not say why: $(cat "$scratch/refusal.log")"
for file in Velmorandi.exe LICENSE.txt third-party-notices.txt Uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the uninstaller took $file away while Velmorandi ran"
done

step "in German, the installer asks to close Velmorandi first, then updates it in place"
wait "$locale_maker" || true
[ -f "$locales/de_DE.UTF-8/LC_CTYPE" ] || fail "no German locale could be made for Wine"
german=(env LC_ALL=de_DE.UTF-8 LOCPATH="$locales")
"${german[@]}" wine64 "$setup" >"$scratch/setup.log" 2>&1 &
setup_pid=$!
found=$(installer_window 'Installation von Velmorandi') || fail "no German installer window appeared"
read -r box kind <<<"$found"
[ "$kind" = message ] || fail "the installer showed its pages while Velmorandi ran, not a message"
click close
wait_until_hidden "$window"
# Retry ("Wiederholen"), again while the program is still ending, until the pages show.
for _ in $(seq 10); do
    sleep 1
    xdotool mousemove --window "$box" 20 20 key Return
    wait_until_hidden "$box"
    found=$(installer_window 'Installation von Velmorandi') || fail "the installer ended on Retry"
    read -r box kind <<<"$found"
    [ "$kind" = pages ] && break
done
[ "$kind" = pages ] || fail "the installer still says that Velmorandi runs after it ended"
pages=$box
# The licence ("Annehmen"), then the folder ("Installieren").
xdotool mousemove --window "$pages" 300 20 key Return
sleep 0.5
xdotool key Return
wait_for_last_page "$pages"

step "the last page runs Velmorandi in Pictures"
xdotool key Return
window=$(program_window) || fail "the installer's last page started no Velmorandi.exe"
wait "$setup_pid" || fail "the installer ended with status $?: $(cat "$scratch/setup.log")"
expect_window_shows main
add_trip_and_rename "$pictures" "Trip Trip a.txt|Trip Trip b.txt|"
rm "$pictures/Trip Trip a.txt" "$pictures/Trip Trip b.txt"

step "the update replaced the program and the version, and kept the records"
cmp -s "$installed/Velmorandi.exe" "$program" || fail "the update did not replace Velmorandi.exe"
entry=$(wine64 reg query "$uninstall_key" 2>/dev/null | tr -d '\r') || fail "no entry in Apps & features"
for value in 'DisplayName +REG_SZ +Velmorandi$' "DisplayVersion +REG_SZ +${version//./\\.}\\.1\$" \
    "VersionMajor +REG_DWORD +0x$major\$" "VersionMinor +REG_DWORD +0x$minor\$" \
    'Publisher +REG_SZ +Ombrix$' 'DisplayIcon +REG_SZ +.*Velmorandi\.exe,0$' \
    'QuietUninstallString +REG_SZ +.*Uninstall\.exe" /S$'; do
    grep -qE "^ +$value" <<<"$entry" || fail "the Apps & features entry lacks $value"
done
records="$user_profile/AppData/Local/Velmorandi"
ls "$records/"*.journal >/dev/null 2>&1 || fail "the update took the records of the renames away"
[ -f "$shortcut" ] || fail "the update took the Start menu shortcut away"

step "Explorer's entries on a folder, a folder's background and a drive, in German"
classes=$(wine64 reg query 'HKCU\Software\Classes' /s 2>/dev/null | tr -d '\r')
commands=()
for entry in 'Directory\shell' 'Directory\Background\shell' 'Drive\shell'; do
    key="HKEY_CURRENT_USER\\Software\\Classes\\$entry\\Velmorandi"
    caption=$(registry_value "$classes" "$key" '(Default)')
    [ "$caption" = 'Dateien mit Velmorandi umbenennen' ] ||
        fail "the entry of $entry reads '$caption', not the German 'Dateien mit Velmorandi umbenennen'"
    commands+=("$(registry_value "$classes" "$key\\command" '(Default)')")
done
[ "${commands[0]}" = "\"$(windows_path "$installed")\\Velmorandi.exe\" \"%1\"" ] ||
    fail "the folder entry runs ${commands[0]}"
# Explorer puts the folder in; a drive's root and a root's background come as C:\, whose
# backslash must not escape the closing quote. Each line as Explorer would run it, with an
# option added that the program refuses at once (status 2) if it reads the folder as one
# argument: it would open its window otherwise.
root="C:\\" spaced="C:\\Program Files"
printf '@%s -x\r\n@echo %%errorlevel%%\r\n' "${commands[0]//%1/$spaced}" "${commands[1]//%V/$root}" \
    "${commands[2]//%1/$root}" >"$WINEPREFIX/drive_c/entries.bat"
statuses=$(timeout 60 wine64 cmd /c 'C:\entries.bat' 2>/dev/null | tr -d '\r' | tr '\n' ' ') || true
[ "$statuses" = "2 2 2 " ] ||
    fail "the entries' commands do not pass the folder as one argument (statuses: $statuses)"
rm "$WINEPREFIX/drive_c/entries.bat"
click close
wineserver -w

step "in German, the uninstaller removes everything but the records"
"${german[@]}" wine64 "$installed/Uninstall.exe" >"$scratch/uninstall.log" 2>&1
found=$(installer_window 'Deinstallation von Velmorandi') || fail "no German uninstaller window appeared"
read -r pages kind <<<"$found"
[ "$kind" = pages ] || fail "the uninstaller showed a message, not its pages"
# "Deinstallieren".
xdotool mousemove --window "$pages" 300 20 key Return
wait_for_last_page "$pages"
xdotool key Return
# The uninstaller goes on from a copy of itself in the temporary folder.
wineserver -w
after=$(cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print | sort)
left=$(comm -13 <(echo "$before") <(echo "$after") | grep -v '/Temp\(/\|$\)' || true)
leftover=$(grep -v "^./${records#"$WINEPREFIX/drive_c/"}" <<<"$left" || true)
[ -z "$leftover" ] || fail "the uninstaller left behind: $(tr '\n' ' ' <<<"$leftover")"
[ -d "$records" ] || fail "the uninstaller took the records away"
for key in 'Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmorandi' 'Classes\\Directory\\shell\\Velmorandi' \
    'Classes\\Directory\\Background\\shell\\Velmorandi' 'Classes\\Drive\\shell\\Velmorandi'; do
    ! grep -qF "[Software\\\\$key]" "$WINEPREFIX/user.reg" || fail "the uninstaller left $key"
done

printf '\nwindows package-test: PASSED (%s, %s)\n' "${zips[0]##*/}" "${setups[0]##*/}"
