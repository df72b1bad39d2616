#!/usr/bin/env bash
# Starts Velmorandi under a virtual X server on a sample folder and saves a PNG of its main window.
# Usage: tools/screenshot.sh [program] [output.png]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program="$(realpath "${1:-$root/build/app/velmorandi}")"
output="$(realpath -m "${2:-$root/docs/screenshot.png}")"

sample="$(mktemp -d)"
trap 'rm -rf "$sample"' EXIT
folder="$sample/Holiday 2023"
mkdir -p "$folder/Day trips" "$folder/Scans" "$sample/run"
chmod 700 "$sample/run"
for i in 01 02 03 04 05 06 07 08 09 10 11 12; do
    touch "$folder/IMG_20230$((10#$i % 9 + 1))_$i.JPG"
done
touch "$folder/packing list.txt" "$folder/report.final.txt" "$folder/route.gpx" \
    "$folder/archive.tar.gz" "$folder/README"

cd "$folder"
# Its own runtime folder, so that a running copy of the program does not refuse this one.
export XDG_RUNTIME_DIR="$sample/run" XDG_STATE_HOME="$sample/state" PROGRAM="$program" OUTPUT="$output"
mkdir -p "$(dirname "$output")"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
    "$PROGRAM" &
    pid=$!
    window=""
    for _ in $(seq 50); do
        window=$(xwininfo -name Velmorandi 2>/dev/null | awk "/Window id:/ {print \$4}") || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    sleep 1
    status=0
    if [ -n "$window" ]; then import -window "$window" "$OUTPUT" || status=$?; else status=1; fi
    kill "$pid"
    exit "$status"'
echo "Saved $output"
