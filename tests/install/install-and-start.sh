#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program from
# another working folder: it must find its data and paint the title screen.
#   install-and-start.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/velmora share/velmora/Images/quintaransm.jpg share/velmora/multiple/track.txt \
         share/applications/velmora.desktop share/metainfo/org.halvorne.Velmora.metainfo.xml \
         share/icons/hicolor/scalable/apps/velmora.svg; do
    [[ -e $prefix/$f ]] || { echo "not installed: $f"; exit 1; }
done
cd "$work"
# The installed folder is read-only for the user, so worksheets go to a user folder.
chmod a-w "$prefix/share/velmora/multiple"
export HOME=$work XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
# It starts and keeps running, with nothing to complain of, until it is stopped.
status=0
out=$(timeout 3 "$prefix/bin/velmora" 2>&1) || status=$?
[[ $status -eq 124 ]] || { echo "the installed program ended by itself (status $status): $out"; exit 1; }
complaints=$(grep '^velmora:' <<<"$out" || true) # the program's own messages
[[ -z $complaints ]] || { echo "the installed program complained: $complaints"; exit 1; }
if [[ $(id -u) -ne 0 ]]; then
    [[ -f $work/data/Velmora/multiple/track.txt ]] || { echo "the user's worksheet list was not seeded"; exit 1; }
fi
"$prefix/bin/velmora" --version | grep -q '^Velmora ' || { echo "--version failed"; exit 1; }
# No display, and a display that is named but gone: one clear line, status 2.
without_display() { # DISPLAY's value, or "" for none at all
    if [[ -z $1 ]]; then
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/velmora"
    else
        env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$1" "$prefix/bin/velmora"
    fi
}
for display in "" ":199"; do
    status=0
    msg=$(without_display "$display" 2>&1) || status=$?
    [[ $status -eq 2 ]] || { echo "display '$display': exit status $status, not 2: $msg"; exit 1; }
    grep -q 'no display' <<<"$msg" || { echo "display '$display': no clear message: $msg"; exit 1; }
    [[ $(wc -l <<<"$msg") -eq 1 ]] || { echo "display '$display': more than one line: $msg"; exit 1; }
done
echo "installed program started from $work"
