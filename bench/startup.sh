#!/usr/bin/env bash
# Start-up benchmark: process start to the title screen's first paint, beside a bare
# Qt window measured the same way in the same run (alternating, on one private X
# server), with and without one line of text. Prints medians, bests and ratios.
#   bench/startup.sh [RUNS]    (default 21)
set -uo pipefail
runs=${1:-21}
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/setup.sh"
velmora_install_missing xvfb >/dev/null || exit 1
velmora_setup release >/dev/null || exit 1
build=$root/build/release

disp=""
for n in $(seq 140 180); do [[ -e /tmp/.X$n-lock ]] || { disp=:$n; break; }; done
Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$disp

measure() { # command [args...] -> milliseconds to first paint
    local start
    start=$(date +%s%N)
    "$@" --startup-probe "$start" 2>/dev/null | awk '/^first-paint-ms/ {print $2}'
}

# One warm-up of each, so neither pays for a cold disk cache.
measure "$build/velmora_startup_probe" >/dev/null
measure "$build/bench/bare_window" >/dev/null
velmora=() bare=() text=()
for ((i = 0; i < runs; i++)); do
    velmora+=("$(measure "$build/velmora_startup_probe")")
    bare+=("$(measure "$build/bench/bare_window")")
    text+=("$(measure "$build/bench/bare_window" --with-text)")
done

stats() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.1f %.1f", a[int((NR+1)/2)], a[1]}'; }
read -r vmed vmin < <(stats "${velmora[@]}")
read -r bmed bmin < <(stats "${bare[@]}")
read -r tmed tmin < <(stats "${text[@]}")
printf '%-32s %10s %10s\n' "start-up to first paint ($runs runs)" "median ms" "best ms"
printf '%-32s %10s %10s\n' "velmora title screen" "$vmed" "$vmin"
printf '%-32s %10s %10s\n' "bare Qt window" "$bmed" "$bmin"
printf '%-32s %10s %10s\n' "bare Qt window with one label" "$tmed" "$tmin"
awk -v v="$vmed" -v b="$bmed" -v t="$tmed" \
    'BEGIN {printf "ratio to the bare window: %.2fx; to the window with a label: %.2fx\n", v / b, v / t}'
