#!/usr/bin/env bash
# One video export through the real program: the page's built-in clip, SECONDS long at SIZE and
# 30 fps, under a private Xvfb (software rendering), its save dialog answered with xdotool as a user
# would. Reports the export's time against the clip's length (goal: at most 1.0) and the peak
# resident memory of vimbo and of its web process above their idle figures (goal: under 300 MB
# each, whatever the length).
# Usage: bench/export.sh [path/to/vimbo] [seconds] [size]   (defaults: build/release, 60, 1280x720)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vimbo=$(realpath "${1:-$here/../build/release/src/vimbo}")
seconds=${2:-60}
size=${3:-1280x720}
# shellcheck source=bench/desktop.sh
source "$here/desktop.sh"
start_desktop
export DISPLAY=":$display"

kib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; } # pid, VmRSS or VmHWM
web_of() { # waits for vimbo's web process
    for _ in $(seq 100); do web=$(web_process_of "$1") && [[ -n $web ]] && return; sleep 0.1; done
    echo "no web process; vimbo's output:" >&2 && cat "$work"/*/out >&2 && exit 1
}

# Idle: the page shown, nothing exported.
start_vimbo "$work/idle" "$(realpath "$here/..")"
web_of "$vimbo_pid"
sleep 5
idle=("$(kib "$vimbo_pid" VmRSS)" "$(kib "$web" VmRSS)")
stop_process "$vimbo_pid"

# The smoke test takes its length and size from the page's query, which a start page in a copy of
# the resources passes on.
cp -r "$here/../web" "$work/web" && mkdir "$work/resources" && mv "$work/web" "$work/resources/web"
mv "$work/resources/web/index.html" "$work/resources/web/page.html"
echo "<script>location.replace('page.html?export-smoke-test&seconds=$seconds&size=$size')</script>" \
    >"$work/resources/web/index.html"
start_vimbo "$work/export" "$work/resources"
web_of "$vimbo_pid"
for _ in $(seq 300); do dialog=$(xdotool search --onlyvisible --name '^Save Video$' || true) && [[ -n $dialog ]] && break; sleep 0.2; done
video="$work/export.mp4"
xdotool windowfocus --sync "$dialog" key ctrl+a type "$video"
xdotool key Return
started=$(date +%s.%N)
for _ in $(seq $((seconds * 50 + 300))); do
    [[ -e $video ]] && break
    grep -q "export failed\|export:error" "$work/export/out" && break
    sleep 0.1
done
ended=$(date +%s.%N)
[[ -e $video ]] || { echo "no video; vimbo's output:" >&2 && cat "$work/export/out" >&2 && exit 1; }
awk -v s="$seconds" -v t0="$started" -v t1="$ended" -v size="$size" -v bytes="$(stat -c %s "$video")" \
    -v v0="${idle[0]}" -v v1="$(kib "$vimbo_pid" VmHWM)" -v w0="${idle[1]}" -v w1="$(kib "$web" VmHWM)" 'BEGIN {
    printf "export of %d s at %s, 30 fps: %.1f s, %.2f x real time (goal <= 1.0), file %.1f MB\n", s, size, t1 - t0, (t1 - t0) / s, bytes / 1e6
    printf "peak above idle: vimbo %+.0f MB (%.0f -> %.0f), web process %+.0f MB (%.0f -> %.0f) (goal < 300 MB)\n",
        (v1 - v0) / 1024, v0 / 1024, v1 / 1024, (w1 - w0) / 1024, w0 / 1024, w1 / 1024 }'
