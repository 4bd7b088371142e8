#!/usr/bin/env bash
# The program side by side with a bare WebKitGTK window showing the same page (bench/bare-view.py):
# for each skin, vimbo's total (its process and its web process) against the bare window's (the
# same two), with music and in silence, under a private Xvfb and PulseAudio. With music a generated
# clip loops into the sink vimbo captures, and the bare window is fed that clip's features as
# vimbo-analyze computes them; in silence nothing plays and the figures start ten seconds after the
# page's start. Last, the frame tick's rate.
# Goals: with music at most 1.10 x the bare window for every skin; ten seconds into silence at most
# 3 % of a core for vimbo's total.
# Usage: bench/app-cpu.sh [path/to/vimbo] [seconds] [skin names...]   (defaults: build/release, 10, all)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vimbo=$(realpath "${1:-$here/../build/release/src/vimbo}")
seconds=${2:-10}
shift $(($# < 2 ? $# : 2))
page=$(realpath "$here/../web/index.html")
# shellcheck source=bench/desktop.sh
source "$here/desktop.sh"
start_desktop
start_sound_server
features="$work/features.txt"
"$(dirname "$vimbo")/tools/analyze/vimbo-analyze" "$clip" >"$features"

# Name and id of each skin in menu order, from the page's one list of them.
mapfile -t catalog < <(grep -o '"name": "[A-Za-z]*", "id": [0-9]*' "$here/../web/js/skinCatalog.js" |
    sed 's/"name": "\(.*\)", "id": \(.*\)/\1 \2/')

total_ticks() { # pid -> clock ticks of it and its web process
    local web
    web=$(web_process_of "$1")
    echo $(($(cpu_ticks "$1") + ${web:+$(cpu_ticks "$web")}))
}

# measure PID SETTLE: percent of one core of the process and its web process, SETTLE seconds after
# its start, over `seconds`.
measure() {
    sleep "$2"
    local start started
    start=$(total_ticks "$1")
    started=$(date +%s.%N)
    sleep "$seconds"
    awk -v t0="$start" -v t1="$(total_ticks "$1")" -v s0="$started" -v s1="$(date +%s.%N)" \
        -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", 100 * (t1 - t0) / hz / (s1 - s0) }'
    stop_process "$1"
}

# run_vimbo ID SETTLE and run_bare ID SETTLE [FEATURES]: one measurement of each with skin ID.
run_vimbo() {
    start_vimbo "$work/vimbo" "$(realpath "$here/..")"
    sleep 3 # the page loads before the menu's skin choice can reach it
    if ! DBUS_SESSION_BUS_ADDRESS="$bus_address" gdbus call --session --dest org.vimbo.Vimbo \
        --object-path /org/vimbo/Vimbo --method org.gtk.Actions.Activate "selectSkinFromMenu-$1" '[]' '{}' >/dev/null; then
        echo "vimbo is not on the bus 3 s after its start; its output:" >&2
        cat "$work/vimbo/out" >&2
        exit 1
    fi
    measure "$vimbo_pid" "$2"
}
run_bare() {
    DISPLAY=":$display" "$here/bare-view.py" "$page" "$1" ${3:+"$3"} >"$work/bare.out" 2>&1 &
    pids+=($!)
    measure "$!" $(($2 + 3))
}

# side_by_side NAME ID SETTLE [FEATURES]: one line of the table. With music the two are measured in
# the order vimbo, bare, bare, vimbo and each figure is the mean of its two, so a load that drifts
# during the run weighs on both alike; in silence, where the bare view sleeps, once each.
side_by_side() {
    local name=$1 id=$2 settle=$3 v1 b1 b2 v2
    v1=$(run_vimbo "$id" "$settle")
    b1=$(run_bare "$id" "$settle" ${4:+"$4"})
    if [[ -n ${4:-} ]]; then
        b2=$(run_bare "$id" "$settle" "$4")
        v2=$(run_vimbo "$id" "$settle")
    else
        b2=$b1 v2=$v1
    fi
    awk -v n="$name" -v v="$v1 $v2" -v b="$b1 $b2" 'BEGIN {
        split(v, vs); split(b, bs); vimbo = (vs[1] + vs[2]) / 2; bare = (bs[1] + bs[2]) / 2
        printf "%-10s vimbo %6.2f %% (%s, %s)   bare view %6.2f %% (%s, %s)   ratio %s\n", n, vimbo, vs[1], vs[2],
            bare, bs[1], bs[2], (bare >= 0.5 ? sprintf("%.2f", vimbo / bare) : "- (the bare view sleeps)") }'
}

echo "percent of one core, each process with its web process, over $seconds s"
for condition in music silence; do
    echo "-- $condition"
    [[ $condition == music ]] && play_music
    for entry in "${catalog[@]}"; do
        read -r name id <<<"$entry"
        [[ $# -gt 0 && ! " $* " =~ " $name " ]] && continue
        if [[ $condition == music ]]; then side_by_side "$name" "$id" 3 "$features"; else side_by_side "$name" "$id" 10; fi
    done
    [[ $condition == music ]] && stop_music
done

# The tick's rate: the debug log gets a "features" line every sixtieth tick; its arrival times tell
# the rate to a few milliseconds over the run, which the log's own one-second stamps cannot.
start_vimbo "$work/ticks" "$here/blank-page" --debug
log="$work/ticks/tmp/vimbo-debug.log"
timeout $((seconds + 3)) tail -n0 -F "$log" 2>/dev/null | while read -r line; do
    [[ $line == *" features "* ]] && date +%s.%N
done >"$work/ticks.txt" || true
stop_process "$vimbo_pid"
awk 'NR == 1 { first = $1 } { last = $1 } END {
       printf "tick rate  %.2f ticks per second (%d over %.3f s; goal 60.0 +- 0.5)\n", 60 * (NR - 1) / (last - first),
           60 * (NR - 1), last - first }' "$work/ticks.txt"
