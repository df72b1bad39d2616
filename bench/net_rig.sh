# The network rig of bench/run net and net-ways: sshd on 127.0.0.1 with keys of
# its own, a delay proxy in front of it, and an sshfs mount through the proxy,
# all inside one private folder, and all gone again when the script ends,
# however it ends. Sourced by bench/run, not run.
#
# Why this shape: SSH is encrypted, so nothing on the wire can tell one SFTP
# request from another. The proxy on the wire only adds the latency (1 ms each
# way unless VELMORANDI_NET_DELAY_US says otherwise). The counting happens
# inside sshd, which hands the decrypted SFTP stream to its sftp subsystem:
# that is velmorandi_sftp_tap, which counts each request by type and passes it
# on to the real sftp-server. So the mount goes through the whole of a real SSH
# connection, and as each request gets exactly one reply, the count is the
# number of round trips. (sshfs -o directport would show a proxy plain SFTP
# too, but without ssh and its encryption in the way, each trip would be
# cheaper than on a real drive.)

NET_RIG_PACKAGES=(openssh-server sshfs)
NET_RIG_SFTP_SERVER=/usr/lib/openssh/sftp-server
NET_RIG_HOST_ALIAS=velmorandi-bench
# net-ways runs once per mount: sshfs's defaults, then options a user might have set.
read -r -a NET_RIG_WAYS_MOUNTS \
    <<<"${VELMORANDI_NET_WAYS_MOUNTS:-default negative_timeout=20 dir_cache=no disable_hardlink}"

NET_RIG_DIR=
NET_RIG_SSHD_PID=
NET_RIG_PROXY_PID=
NET_RIG_SSHFS_PID=
NET_RIG_MADE_PRIVSEP_DIR=

net_rig_fail() {
    echo "net rig: $*" >&2
    local log
    for log in "$NET_RIG_DIR"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

net_rig_sudo() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

net_rig_listening() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

net_rig_free_port() {
    local port
    for _ in $(seq 100); do
        port=$((20000 + RANDOM % 40000))
        net_rig_listening "$port" || { echo "$port"; return 0; }
    done
    return 1
}

# net_rig_wait SECONDS COMMAND...: until COMMAND succeeds.
net_rig_wait() {
    local tenths=$(($1 * 10))
    shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

net_rig_keys() {
    ssh-keygen -q -t ed25519 -N '' -C velmorandi-bench-host -f "$NET_RIG_DIR/host_key"
    ssh-keygen -q -t ed25519 -N '' -C velmorandi-bench-user -f "$NET_RIG_DIR/user_key"
    cp "$NET_RIG_DIR/user_key.pub" "$NET_RIG_DIR/authorized_keys"
    echo "$NET_RIG_HOST_ALIAS $(cut -d' ' -f1,2 "$NET_RIG_DIR/host_key.pub")" \
        >"$NET_RIG_DIR/known_hosts"
}

net_rig_start_sshd() {
    local bench_dir=$1 port
    port=$(net_rig_free_port) || net_rig_fail "no free port"
    # sshd wants its privilege separation folder even in the foreground.
    if [ ! -d /run/sshd ]; then
        net_rig_sudo mkdir -m 0755 /run/sshd
        NET_RIG_MADE_PRIVSEP_DIR=1
    fi
    cat >"$NET_RIG_DIR/sshd_config" <<CONFIG
ListenAddress 127.0.0.1
Port $port
HostKey $NET_RIG_DIR/host_key
PidFile none
AuthorizedKeysFile $NET_RIG_DIR/authorized_keys
AuthenticationMethods publickey
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
AllowUsers $(id -un)
StrictModes no
UsePAM no
UseDNS no
X11Forwarding no
AllowTcpForwarding no
AllowAgentForwarding no
PermitTTY no
PrintMotd no
Subsystem sftp ${NET_RIG_SUBSYSTEM:-$bench_dir/velmorandi_sftp_tap $NET_RIG_DIR/counts $NET_RIG_SFTP_SERVER}
CONFIG
    /usr/sbin/sshd -D -f "$NET_RIG_DIR/sshd_config" -E "$NET_RIG_DIR/sshd.log" </dev/null >/dev/null 2>&1 &
    NET_RIG_SSHD_PID=$!
    net_rig_wait 10 net_rig_listening "$port" || net_rig_fail "sshd did not start"
    NET_RIG_SSHD_PORT=$port
}

net_rig_start_proxy() {
    local bench_dir=$1
    "$bench_dir/velmorandi_delay_proxy" "$NET_RIG_DIR/proxy_port" "$NET_RIG_SSHD_PORT" \
        "$NET_RIG_DELAY_US" 2>>"$NET_RIG_DIR/proxy.log" &
    NET_RIG_PROXY_PID=$!
    net_rig_wait 10 test -s "$NET_RIG_DIR/proxy_port" || net_rig_fail "the delay proxy did not start"
    NET_RIG_PROXY_PORT=$(cat "$NET_RIG_DIR/proxy_port")
}

net_rig_start() {
    local bench_dir=$1
    NET_RIG_DELAY_US=${VELMORANDI_NET_DELAY_US:-1000}
    NET_RIG_DIR=$(mktemp -d "${VELMORANDI_BENCH_DIR:-/var/tmp}/velmorandi-net-XXXXXX")
    chmod 0700 "$NET_RIG_DIR"
    mkdir "$NET_RIG_DIR/served" "$NET_RIG_DIR/mount" "$NET_RIG_DIR/state"
    net_rig_keys
    net_rig_start_sshd "$bench_dir"
    net_rig_start_proxy "$bench_dir"
}

net_rig_mounted() {
    mountpoint -q "$NET_RIG_DIR/mount"
}

# net_rig_sshfs OPTIONS MOUNT_POINT PORT: starts sshfs in the background;
# NET_RIG_SSHFS_PID is its process.
net_rig_sshfs() {
    local extra=()
    [ "$1" != default ] && extra=(-o "$1")
    sshfs -f -F /dev/null -p "$3" \
        -o "IdentityFile=$NET_RIG_DIR/user_key,IdentitiesOnly=yes,BatchMode=yes" \
        -o "UserKnownHostsFile=$NET_RIG_DIR/known_hosts,GlobalKnownHostsFile=/dev/null" \
        -o "HostKeyAlias=$NET_RIG_HOST_ALIAS,StrictHostKeyChecking=yes" \
        "${extra[@]}" "$(id -un)@127.0.0.1:$NET_RIG_DIR/served" "$2" \
        </dev/null >/dev/null 2>>"$NET_RIG_DIR/sshfs.log" &
    NET_RIG_SSHFS_PID=$!
    net_rig_wait 20 mountpoint -q "$2" || net_rig_fail "sshfs did not mount ($1)"
}

# net_rig_mount OPTIONS: "default", or sshfs -o options.
net_rig_mount() {
    net_rig_sshfs "$1" "$NET_RIG_DIR/mount" "$NET_RIG_PROXY_PORT"
}

net_rig_unmount() {
    [ -n "$NET_RIG_SSHFS_PID" ] || return 0
    if net_rig_mounted; then
        fusermount3 -u "$NET_RIG_DIR/mount" 2>/dev/null ||
            fusermount3 -u -z "$NET_RIG_DIR/mount" || true
    fi
    kill "$NET_RIG_SSHFS_PID" 2>/dev/null || true
    wait "$NET_RIG_SSHFS_PID" 2>/dev/null || true
    NET_RIG_SSHFS_PID=
}

net_rig_stop_process() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

net_rig_sessions_over() {
    [ -z "$(cat /proc/"$NET_RIG_SSHD_PID"/task/*/children 2>/dev/null)" ]
}

net_rig_stop() {
    net_rig_unmount
    # sshd reaps its sessions only while it runs: let them end first.
    [ -z "$NET_RIG_SSHD_PID" ] || net_rig_wait 5 net_rig_sessions_over || true
    net_rig_stop_process "$NET_RIG_PROXY_PID"
    NET_RIG_PROXY_PID=
    net_rig_stop_process "$NET_RIG_SSHD_PID"
    NET_RIG_SSHD_PID=
    if [ -n "$NET_RIG_DIR" ] && ! net_rig_mounted; then
        rm -rf --one-file-system "$NET_RIG_DIR"
        NET_RIG_DIR=
    fi
    if [ -n "$NET_RIG_MADE_PRIVSEP_DIR" ]; then
        net_rig_sudo rmdir /run/sshd 2>/dev/null || true
        NET_RIG_MADE_PRIVSEP_DIR=
    fi
}

# net_rig_bench BENCH_DIR OPTIONS AREA: one area of velmorandi_bench on the mount.
net_rig_bench() {
    XDG_STATE_HOME="$NET_RIG_DIR/state" \
        VELMORANDI_NET_SERVED="$NET_RIG_DIR/served" VELMORANDI_NET_MOUNTED="$NET_RIG_DIR/mount" \
        VELMORANDI_NET_COUNTS="$NET_RIG_DIR/counts" VELMORANDI_NET_OPTIONS="$2" \
        VELMORANDI_NET_DELAY_MS="$(awk "BEGIN { print $NET_RIG_DELAY_US / 1000 }")" \
        "$1/velmorandi_bench" "$3"
}

# run_net_areas BENCH_DIR AREA...: net (the job and a rename loop at 2,000 and
# 10,000 files) and net-ways (each way to rename without replacing, per mount).
run_net_areas() {
    local bench_dir=$1 area options
    shift
    ensure_packages "${NET_RIG_PACKAGES[@]}"
    trap net_rig_stop EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
    net_rig_start "$bench_dir"
    for area in "$@"; do
        case $area in
        net)
            net_rig_mount default
            net_rig_bench "$bench_dir" default net
            net_rig_unmount
            ;;
        net-ways)
            for options in "${NET_RIG_WAYS_MOUNTS[@]}"; do
                net_rig_mount "$options"
                net_rig_bench "$bench_dir" "$options" net-ways
                net_rig_unmount
            done
            ;;
        esac
    done
}
