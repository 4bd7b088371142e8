#!/usr/bin/env bash
# The program side by side with cava, a terminal visualizer taken as the reference load: both capture
# the monitor of one private PulseAudio null sink while a clip from vimbo-democlip loops into it.
# vimbo shows a page that does not draw; cava computes 24 bars at 60 fps as raw output to /dev/null.
# Prints, for RUNS intervals of SECONDS each, the CPU of both processes (all threads) and their
# wakeups per second (context switches of all threads), then the median ratio of vimbo's CPU to
# cava's (goal: at most 0.6). On a machine busy with other work the figures are noisy: compare medians.
# Usage: bench/cava-cpu.sh [path/to/vimbo] [seconds] [runs]   (defaults: build/release, 20, 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vimbo=$(realpath "${1:-$here/../build/release/src/vimbo}")
seconds=${2:-20}
runs=${3:-3}

# Debian packages cava; nothing else can be fetched here, so without it the comparison is skipped.
if ! command -v cava >/dev/null; then
    echo "cava is not installed: trying apt-get install cava" >&2
    if [[ $(id -u) -ne 0 ]] || ! DEBIAN_FRONTEND=noninteractive apt-get install -y cava >/dev/null 2>&1; then
        echo "skipped: cava is not installed and apt-get could not install it"
        exit 0
    fi
fi

# shellcheck source=bench/desktop.sh
source "$here/desktop.sh"
start_desktop

start_sound_server
play_music

cat >"$work/cava.conf" <<EOF
[general]
bars = 24
framerate = 60
[input]
method = pulse
source = vimbo_out.monitor
[output]
method = raw
raw_target = /dev/null
data_format = binary
EOF
cava -p "$work/cava.conf" </dev/null >"$work/cava.out" 2>&1 &
cava_pid=$!
pids+=("$cava_pid")
start_vimbo "$work/vimbo" "$here/blank-page"

recording() { # pid -> whether it has a record stream on the server
    pactl list source-outputs | grep -q "application.process.id = \"$1\""
}
# cava plans its transforms before it connects, which takes seconds on a busy machine.
for _ in $(seq 300); do recording "$vimbo_pid" && recording "$cava_pid" && break; sleep 0.1; done
recording "$vimbo_pid" || { echo "vimbo never started capturing" >&2; exit 1; }
recording "$cava_pid" || { echo "cava never started capturing:" >&2; cat "$work/cava.out" >&2; exit 1; }
sleep 3 # page load and the first seconds of capture are not part of the steady state

figures() { # pid -> "cpu-ticks context-switches"
    echo "$(cpu_ticks "$1") $(context_switches "$1")"
}
ratios=()
for run in $(seq "$runs"); do
    read -r v_cpu0 v_wake0 <<<"$(figures "$vimbo_pid")"
    read -r c_cpu0 c_wake0 <<<"$(figures "$cava_pid")"
    started=$(date +%s.%N)
    sleep "$seconds"
    read -r v_cpu1 v_wake1 <<<"$(figures "$vimbo_pid")"
    read -r c_cpu1 c_wake1 <<<"$(figures "$cava_pid")"
    ended=$(date +%s.%N)
    line=$(awk -v run="$run" -v hz="$ticks_per_second" -v t="$started $ended" \
        -v v="$v_cpu0 $v_cpu1 $v_wake0 $v_wake1" -v c="$c_cpu0 $c_cpu1 $c_wake0 $c_wake1" 'BEGIN {
            split(t, time); split(v, vimbo); split(c, cava)
            elapsed = time[2] - time[1]
            vimbo_cpu = 100 * (vimbo[2] - vimbo[1]) / hz / elapsed
            cava_cpu = 100 * (cava[2] - cava[1]) / hz / elapsed
            ratio = cava_cpu > 0 ? vimbo_cpu / cava_cpu : 0
            printf "run %d: vimbo %5.2f %% of one core, %4.0f wakeups/s; cava %5.2f %%, %4.0f wakeups/s; ratio %.2f (over %.1f s)\n",
                run, vimbo_cpu, (vimbo[4] - vimbo[3]) / elapsed, cava_cpu, (cava[4] - cava[3]) / elapsed, ratio,
                elapsed
        }')
    echo "$line"
    ratio=${line##*ratio }
    ratios+=("${ratio%% *}")
done
printf '%s\n' "${ratios[@]}" | sort -n |
    awk '{ ratio[NR] = $1 } END { printf "median ratio vimbo/cava %.2f over %d runs (goal: at most 0.60)\n", ratio[int((NR + 1) / 2)], NR }'
