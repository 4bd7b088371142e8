#!/usr/bin/env bash
# Whole-program figures for the running app: CPU of the vimbo process and of WebKit's web process
# with the window showing the page, and the frame tick's rate, each over SECONDS (default 20) under
# a private Xvfb. Usage: bench/app-cpu.sh [path/to/vimbo] [seconds]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vimbo=$(realpath "${1:-$here/../build/release/src/vimbo}")
seconds=${2:-20}
# shellcheck source=bench/desktop.sh
source "$here/desktop.sh"
start_desktop

# run NAME RESOURCE_DIR: measures one run and prints its figures.
run() {
    local name=$1 dir="$work/$1"
    start_vimbo "$dir" "$2" --debug
    local pid=$vimbo_pid
    sleep 3 # start-up and page load are not part of the steady state
    local web
    web=$(web_process_of "$pid")
    local vimbo_start web_start started
    vimbo_start=$(cpu_ticks "$pid")
    web_start=$(cpu_ticks "$web")
    started=$(date +%s.%N)
    sleep "$seconds"
    local vimbo_end web_end ended
    vimbo_end=$(cpu_ticks "$pid")
    web_end=$(cpu_ticks "$web")
    ended=$(date +%s.%N)
    stop_process "$pid"
    awk -v name="$name" -v v0="$vimbo_start" -v v1="$vimbo_end" -v w0="$web_start" -v w1="$web_end" \
        -v t0="$started" -v t1="$ended" -v hz="$ticks_per_second" 'BEGIN {
            elapsed = t1 - t0
            printf "%-10s vimbo %5.2f %% of one core, web process %6.2f %% of one core (over %.1f s)\n",
                name, 100 * (v1 - v0) / hz / elapsed, 100 * (w1 - w0) / hz / elapsed, elapsed
        }'
    last_title=$(grep " features " "$dir/tmp/vimbo-debug.log" | tail -1 | sed 's/.* title=//')
}

run page "$(realpath "$here/..")"
run counting "$here/app-cpu"
# The counting page's title holds the feature calls it received after the first and the time between.
awk '{ split($1, f, "="); split($2, e, "=");
       printf "tick rate  %.2f calls per second (%d calls over %.3f s; goal 60.0 +- 0.5)\n", f[2] / e[2], f[2], e[2] }' \
    <<<"$last_title"
