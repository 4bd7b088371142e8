# Sourced by the whole-program benchmarks: a scratch folder and a private Xvfb and session bus, all
# removed on exit with every process recorded in `pids`, and the per-process figures read from /proc.
# The sourcing script sets `vimbo` and reads what this file sets.
# shellcheck shell=bash disable=SC2154,SC2034
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# A stopped benchmark leaves no servers behind.
trap "exit 1" TERM INT

# Sets `display` and `bus_address`.
start_desktop() {
    exec {displayfd}<> <(:)
    Xvfb -displayfd "$displayfd" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    read -r -u "$displayfd" display
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | head -2)
    bus_address=$(sed -n 1p <<<"$bus")
    pids+=("$(sed -n 2p <<<"$bus")")
}

# A private sound server whose only sink, so the default one, is what the programs capture; sets
# HOME and the server's address for everything started after it, and `clip` to a music-like clip.
start_sound_server() {
    export HOME="$work" PULSE_RUNTIME_PATH="$work/pulse" PULSE_SERVER="unix:$work/pulse/native"
    pulseaudio -n --exit-idle-time=-1 --load=module-native-protocol-unix \
        "--load=module-null-sink sink_name=vimbo_out format=float32le rate=48000 channels=2" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    clip="$work/clip.wav"
    "$(dirname "$vimbo")/tools/democlip/vimbo-democlip" "$clip" >/dev/null
}

# Loops the clip into the sink until stop_music; sets `music_pid`.
play_music() {
    (while paplay "$clip" 2>/dev/null; do :; done) &
    music_pid=$!
    pids+=("$music_pid")
}

stop_music() {
    local player
    player=$(pgrep -P "$music_pid" || true)
    stop_process "$music_pid"
    [[ -z $player ]] || kill "$player" 2>/dev/null || true
}

# start_vimbo DIR RESOURCE_DIR [ARGS...]: the program on the private desktop with its settings and
# logs in DIR; sets `vimbo_pid`.
start_vimbo() {
    local dir=$1 resources=$2
    shift 2
    mkdir -p "$dir/config" "$dir/tmp"
    DISPLAY=":$display" DBUS_SESSION_BUS_ADDRESS="$bus_address" XDG_CONFIG_HOME="$dir/config" TMPDIR="$dir/tmp" \
        VIMBO_RESOURCE_DIR="$resources" "$vimbo" "$@" >"$dir/out" 2>&1 &
    vimbo_pid=$!
    pids+=("$vimbo_pid")
}

stop_process() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { # pid -> utime + stime of all its threads, in clock ticks
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}
context_switches() { # pid -> voluntary and involuntary switches, summed over its threads
    cat "/proc/$1"/task/*/status 2>/dev/null |
        awk '/^(non)?voluntary_ctxt_switches:/ { sum += $2 } END { print sum + 0 }'
}
web_process_of() { # vimbo pid -> its WebKit web process
    for child in $(pgrep -P "$1"); do
        [[ $(cat "/proc/$child/comm") == WebKitWebProces* ]] && { echo "$child"; return; }
    done
}
