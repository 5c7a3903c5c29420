#!/usr/bin/env bash
# The program's accessibility tree read from outside, as a screen reader reads it: a
# private X server, a D-Bus session with the accessibility bus, and a script that finds
# and presses controls by name and role through AT-SPI.
#   screen-reader.sh PROGRAM DATA_FOLDER
# Exit status 77 (a skip) when a tool is missing; the test command installs them all.
set -uo pipefail
program=$1 data=$2
here=$(dirname "$0")
launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-run-session dbus-send xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -x $launcher ]] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

source "$(dirname "$0")/private-display.sh"
start_private_display || exit 1

cp -a "$data" "$work/data"
# Inside one D-Bus session: the accessibility bus, switched on as a desktop with a screen
# reader running switches it on (so the program joins it by itself), the program, and
# the reading script. The program starts only once the launcher owns its bus name; before
# that, the program's first question would make the session bus start a second launcher.
# At the end everything the session started goes, whoever started it (the launcher's own
# bus, services the session bus started on demand).
dbus-run-session -- bash -c '
    "$1" --launch-immediately --a11y=1 >/dev/null 2>&1 &
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
        sleep 0.1
    done
    "$2" --data "$3" >"$4/program.log" 2>&1 &
    /usr/bin/python3 "$5"
    status=$?
    # Our children and theirs, and what the session bus (our sibling) started.
    stop_trees $(cat /proc/$$/task/*/children) $(descendants $PPID | grep -vx $$)
    wait
    exit $status
' _ "$launcher" "$program" "$work/data" "$work" "$here/screen-reader.py"
status=$?
if [[ $status != 0 ]]; then
    echo "--- the program said:"
    cat "$work/program.log"
fi
exit $status
