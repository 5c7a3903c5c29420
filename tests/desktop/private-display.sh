# Sourced by the desktop tests: a scratch folder `work`, and the processes in `pids`
# stopped at the end. start_private_display starts a private X server on a display
# nobody uses and exports DISPLAY. An Xvfb that finds its display taken (by a lock
# file, or by a server in another root that shares the abstract socket) ends at once or
# never answers; the next number is tried.
work=$(mktemp -d)
pids=()
# The processes below PID, children first.
descendants() {
    local child
    for child in $(cat /proc/"$1"/task/*/children 2>/dev/null); do
        descendants "$child"
        echo "$child"
    done
}
# Stops each PID and everything it started (a D-Bus session's daemon, the services
# that daemon started on demand, an accessibility bus and its own daemon): a KILL
# follows for what a TERM did not end.
stop_trees() {
    local all=() p
    for p in "$@"; do all+=($(descendants "$p") "$p"); done
    [[ ${#all[@]} -gt 0 ]] || return 0
    kill "${all[@]}" 2>/dev/null
    for _ in $(seq 20); do
        running "${all[@]}" || return 0
        sleep 0.05
    done
    kill -KILL "${all[@]}" 2>/dev/null
}
# Whether any PID still runs (a zombie has ended; only its parent's wait is missing).
running() {
    local p stat
    for p in "$@"; do
        read -r stat 2>/dev/null </proc/"$p"/stat || continue
        stat=${stat##*) }
        [[ ${stat%% *} != Z ]] && return 0
    done
    return 1
}
export -f descendants stop_trees running
cleanup() {
    stop_trees "${pids[@]}"
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
