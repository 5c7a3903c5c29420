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
for tool in Xvfb dbus-run-session xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -x $launcher ]] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

source "$(dirname "$0")/private-display.sh"
start_private_display || exit 1

cp -a "$data" "$work/data"
# Inside one D-Bus session: the accessibility bus, switched on as a desktop with a screen
# reader running switches it on (so the program joins it by itself), the program, and
# the reading script.
dbus-run-session -- bash -c '
    "$1" --launch-immediately --a11y=1 >/dev/null 2>&1 &
    bus=$!
    sleep 1
    "$2" --data "$3" >"$4/program.log" 2>&1 &
    app=$!
    /usr/bin/python3 "$5"
    status=$?
    # The accessibility bus and its registry go with the launcher; nothing outlives the test.
    kill $app $bus 2>/dev/null
    wait
    exit $status
' _ "$launcher" "$program" "$work/data" "$work" "$here/screen-reader.py"
status=$?
if [[ $status != 0 ]]; then
    echo "--- the program said:"
    cat "$work/program.log"
fi
exit $status
