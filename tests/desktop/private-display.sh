# Sourced by the desktop tests: a scratch folder `work`, and the processes in `pids`
# stopped at the end. start_private_display starts a private X server on a display
# nobody uses and exports DISPLAY. An Xvfb that finds its display taken (by a lock
# file, or by a server in another root that shares the abstract socket) ends at once or
# never answers; the next number is tried.
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

start_private_display() {
    local n xvfb
    for n in $(seq 140 199); do
        [[ -e /tmp/.X$n-lock ]] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 50); do
            kill -0 "$xvfb" 2>/dev/null || break
            if DISPLAY=:$n xprop -root >/dev/null 2>&1; then
                pids+=("$xvfb")
                export DISPLAY=:$n
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    done
    echo "no free display for the X server"
    return 1
}
