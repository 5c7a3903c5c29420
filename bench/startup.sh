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

measure() { # command [args...] -> "wall-ms cpu-ms" to first paint
    # A busy Xvfb now and then refuses a connection outright; such a start is tried again.
    local start out
    for _ in 1 2 3; do
        start=$(date +%s%N)
        out=$("$@" --startup-probe "$start" 2>/dev/null |
            awk '/^first-paint-ms/ {w = $2} /^first-paint-cpu-ms/ {c = $2} END {if (w != "") print w, c}')
        [[ -n $out ]] && break
    done
    echo "$out"
}

# One warm-up of each, so neither pays for a cold disk cache.
measure "$build/velmora_startup_probe" >/dev/null
measure "$build/bench/bare_window" >/dev/null
velmora=() bare=() text=() velmoracpu=() barecpu=() textcpu=()
for ((i = 0; i < runs; i++)); do
    read -r w c < <(measure "$build/velmora_startup_probe")
    velmora+=("$w") velmoracpu+=("$c")
    read -r w c < <(measure "$build/bench/bare_window")
    bare+=("$w") barecpu+=("$c")
    read -r w c < <(measure "$build/bench/bare_window" --with-text)
    text+=("$w") textcpu+=("$c")
done

stats() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.1f %.1f", a[int((NR+1)/2)], a[1]}'; }
read -r vmed vmin < <(stats "${velmora[@]}")
read -r bmed bmin < <(stats "${bare[@]}")
read -r tmed tmin < <(stats "${text[@]}")
read -r vcpu _ < <(stats "${velmoracpu[@]}")
read -r bcpu _ < <(stats "${barecpu[@]}")
read -r tcpu _ < <(stats "${textcpu[@]}")
printf '%-32s %10s %10s %14s\n' "start-up to first paint ($runs runs)" "median ms" "best ms" "median CPU ms"
printf '%-32s %10s %10s %14s\n' "velmora title screen" "$vmed" "$vmin" "$vcpu"
printf '%-32s %10s %10s %14s\n' "bare Qt window" "$bmed" "$bmin" "$bcpu"
printf '%-32s %10s %10s %14s\n' "bare Qt window with one label" "$tmed" "$tmin" "$tcpu"
awk -v v="$vmed" -v b="$bmed" -v t="$tmed" -v vc="$vcpu" -v bc="$bcpu" -v tc="$tcpu" \
    'BEGIN {printf "ratio to the bare window: %.2fx; to the window with a label: %.2fx\n", v / b, v / t;
            printf "in processor time (steady however busy the machine is): %.2fx and %.2fx\n", vc / bc, vc / tc}'
