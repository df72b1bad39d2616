#!/usr/bin/env bash
# Network drives for the core tests: sshd on 127.0.0.1 with keys of its own,
# and sshfs mounts of one served folder straight through it (no delay, no
# count), as two machines sharing a network home would see it. Built on the
# benchmark's rig (net_rig.sh).
#   net_rig_mounts.sh start COUNT FILE [OPTIONS]
#       mounts DIR/mount1 ... DIR/mountCOUNT (sshfs -o OPTIONS, unless "default"),
#       writes DIR to FILE and leaves sshd and sshfs running
#   net_rig_mounts.sh stop DIR          unmounts and ends the processes start began
# Needs root or sudo, sshd and sshfs; says why and fails where the machine cannot.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/net_rig.sh"

start() {
    local count=$1 file=$2 options=${3:-default} i
    command -v sshfs >/dev/null && [ -x /usr/sbin/sshd ] && [ -x "$NET_RIG_SFTP_SERVER" ] ||
        net_rig_fail "sshd or sshfs is not installed (${NET_RIG_PACKAGES[*]})"
    [ -e /dev/fuse ] || net_rig_fail "the machine has no /dev/fuse"
    NET_RIG_DIR=$(mktemp -d "${TMPDIR:-/var/tmp}/velmorandi-mounts-XXXXXX")
    chmod 0700 "$NET_RIG_DIR"
    mkdir "$NET_RIG_DIR/served"
    net_rig_keys
    NET_RIG_SUBSYSTEM=$NET_RIG_SFTP_SERVER
    net_rig_start_sshd ""
    echo "sshd $NET_RIG_SSHD_PID" >"$NET_RIG_DIR/started"
    [ -z "$NET_RIG_MADE_PRIVSEP_DIR" ] || echo "privsep /run/sshd" >>"$NET_RIG_DIR/started"
    for i in $(seq "$count"); do
        mkdir "$NET_RIG_DIR/mount$i"
        net_rig_sshfs "$options" "$NET_RIG_DIR/mount$i" "$NET_RIG_SSHD_PORT"
        echo "sshfs $NET_RIG_SSHFS_PID $NET_RIG_DIR/mount$i" >>"$NET_RIG_DIR/started"
    done
    echo "$NET_RIG_DIR" >"$file"
}

stop() {
    local dir=$1 kind pid where
    [ -f "$dir/started" ] || return 0
    while read -r kind pid where; do
        if [ "$kind" = sshfs ]; then
            fusermount3 -u "$where" 2>/dev/null || fusermount3 -u -z "$where" 2>/dev/null || true
            kill "$pid" 2>/dev/null || true
        fi
    done <"$dir/started"
    while read -r kind pid where; do
        if [ "$kind" = sshd ]; then
            kill "$pid" 2>/dev/null || true
        elif [ "$kind" = privsep ]; then
            net_rig_sudo rmdir "$pid" 2>/dev/null || true
        fi
    done <"$dir/started"
    for where in "$dir"/mount*; do
        if mountpoint -q "$where"; then
            return 0 # never removed through a mount
        fi
    done
    rm -rf --one-file-system "$dir"
}

case ${1:-} in
start) start "$2" "$3" "${4:-default}" ;;
stop) stop "$2" ;;
*) echo "usage: $0 start COUNT FILE [OPTIONS] | stop DIR" >&2 && exit 2 ;;
esac
