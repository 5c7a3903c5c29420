#!/usr/bin/env bash
# The real program under a real window manager on a private X server, driven with the
# pointer and keys as a pupil drives it, checked by the window manager's own state
# (_NET_CLIENT_LIST_STACKING, _NET_WM_STATE) and by pixels of the screen.
#   wm-scenarios.sh WM PROGRAM DATA_FOLDER [SHOTS_FOLDER]     (WM: openbox or xfwm4)
# Exit status 77 (a skip) when a tool is missing; the test command installs them all.
set -uo pipefail
wm=$1 program=$2 data=$3 shots=${4:-}
for tool in Xvfb "$wm" wmctrl xdotool xprop xwininfo import; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/private-display.sh"
start_private_display || exit 1
case $wm in
    openbox) openbox >/dev/null 2>&1 &
             pids+=($!)
             # A taskbar along the bottom, as schools have one.
             command -v tint2 >/dev/null && { tint2 >/dev/null 2>&1 & pids+=($!); } ;;
    # xfwm4 keeps its settings in xfconf, which it reaches over a D-Bus session.
    xfwm4) command -v dbus-run-session >/dev/null || { echo "SKIP: dbus-run-session is not installed"; exit 77; }
           dbus-run-session -- xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 &
           pids+=($!) ;;
    *) echo "unknown window manager $wm"; exit 2 ;;
esac
# A loaded machine (a sanitizer build beside it) can take many seconds to start one.
wm_up=0
for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && { wm_up=1; break; }
    sleep 0.1
done
[[ $wm_up == 1 ]] || { echo "FAIL $wm: the window manager did not start within 30 s"; exit 1; }
if [[ $wm == openbox ]] && command -v tint2 >/dev/null; then
    # The taskbar takes its strip of the screen once it is up.
    for _ in $(seq 100); do xprop -root _NET_WORKAREA 2>/dev/null | grep -qv ', 768' && break; sleep 0.1; done
fi
sleep 0.5

# A data folder of the test's own, listing one worksheet (the unit's quiz).
cp -a "$data" "$work/data"
printf ' 1 \r\nArdovin Sevrani\r\n' >"$work/data/multiple/track.txt"

failures=0
check() { # NAME CONDITION...
    local name=$1; shift
    if "$@"; then echo "ok   $wm: $name"; else echo "FAIL $wm: $name"; failures=$((failures + 1)); fi
}

clients() { xprop -root _NET_CLIENT_LIST_STACKING | sed -n 's/.*# //p' | tr -d ','; }
role_of() { xprop -id "$1" WM_WINDOW_ROLE 2>/dev/null | sed -n 's/.*= "\(.*\)"/\1/p'; }
state_of() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
# xwininfo without a window id waits for a click to choose one: never call it so.
viewable() { [[ -n $1 ]] && xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
window_of() { # ROLE -> window id
    local w
    for w in $(clients); do [[ $(role_of "$w") == "$1" ]] && { echo "$w"; return; }; done
}
# The screens on the screen, bottom to top, by role.
shown_roles() {
    local w r out=()
    for w in $(clients); do
        r=$(role_of "$w")
        [[ -n $r ]] || continue # not ours (the taskbar, ...)
        viewable "$w" || continue
        state_of "$w" | grep -q _NET_WM_STATE_HIDDEN && continue
        out+=("$r")
    done
    echo "${out[*]}"
}
top_role() { local r; r=$(shown_roles); echo "${r##* }"; }
wait_top() { # ROLE: waits until that screen is in front
    for _ in $(seq 60); do [[ $(top_role) == "$1" ]] && return 0; sleep 0.1; done
    return 1
}
origin() { # ROLE -> "X Y" of the client area on the screen
    local w
    w=$(window_of "$1")
    [[ -n $w ]] || { echo "no $1 window" >&2; return 1; }
    xwininfo -id "$w" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'
}
click() { # ROLE X_TWIPS Y_TWIPS: a click inside that screen
    local ox oy
    read -r ox oy < <(origin "$1") || return 1
    [[ -n $ox ]] || return 1
    xdotool mousemove $((ox + $2 / 15)) $((oy + $3 / 15)) click 1
    sleep 0.4
}
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1; }
backdrop='#3085D6' # RGB(48,133,214)
not_backdrop_at() { [[ $(pixel "$1" "$2") != "$backdrop" ]]; }
backdrop_at() { [[ $(pixel "$1" "$2") == "$backdrop" ]]; }
shot() { [[ -n $shots ]] && import -window root "$shots/$1.png" 2>/dev/null; }

start() {
    "$program" --data "$work/data" >>"$work/program.log" 2>&1 &
    app=$!
    pids+=($app)
    # A first start may be slow (font caches, a sanitizer build): up to 30 s.
    for _ in $(seq 300); do
        [[ $(top_role) == Titlefrm ]] && return 0
        kill -0 "$app" 2>/dev/null || { echo "the program ended at start"; return 1; }
        sleep 0.1
    done
    return 1
}
stop() { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; sleep 0.2; }
ended() { for _ in $(seq 30); do kill -0 "$app" 2>/dev/null || return 0; sleep 0.1; done; return 1; }
open_menu() { click Titlefrm 1987 6007 && wait_top intro0; }
has_taskbar_entry() { # window id: not transient for anything, not skipped, not the desktop
    ! xprop -id "$1" WM_TRANSIENT_FOR | grep -q 'window id' && ! state_of "$1" | grep -q SKIP_TASKBAR \
        && ! xprop -id "$1" _NET_WM_WINDOW_TYPE | grep -q DESKTOP
}
taskbar_entries() {
    local w n=0
    for w in $(clients); do
        [[ -n $(role_of "$w") ]] && viewable "$w" && has_taskbar_entry "$w" && n=$((n + 1))
    done
    echo $n
}
frame_centred() { # ROLE: the framed window's middle is the free area's middle (1 px)
    local w l r t b fx fy fw fh ax ay aw ah
    w=$(window_of "$1")
    [[ -n $w ]] || return 1
    read -r l r t b < <(xprop -id "$w" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    read -r fx fy < <(origin "$1")
    fx=$((fx - l)) fy=$((fy - t)) fw=$((800 + l + r)) fh=$((600 + t + b))
    read -r ax ay aw ah < <(xprop -root _NET_WORKAREA | sed -n 's/.*= //p' | tr -d ',' | cut -d' ' -f1-4)
    (( ${l:-0} + ${t:-0} > 0 )) || return 1
    (( fy >= ay && fy + fh <= ay + ah )) || return 1
    (( (2 * fx + fw) - (2 * ax + aw) <= 2 && (2 * ax + aw) - (2 * fx + fw) <= 2 )) || return 1
    (( (2 * fy + fh) - (2 * ay + ah) <= 2 && (2 * ay + ah) - (2 * fy + fh) <= 2 ))
}

# 1. The backdrop to the window manager; one taskbar entry; placement.
blank_entries() {
    local w n=0
    for w in $(clients); do
        [[ -n $(role_of "$w") ]] && viewable "$w" && has_taskbar_entry "$w" \
            && ! xprop -id "$w" WM_NAME | grep -q '= ".*[^ ].*"' && n=$((n + 1))
    done
    echo $n
}
if ! start; then
    echo "FAIL $wm: the program's title screen never came up under the window manager"
    grep -v XDG_RUNTIME_DIR "$work/program.log" | tail -n 20
    exit 1
fi
check "title screen in front of the backdrop" not_backdrop_at 512 384
check "the program has a taskbar entry, and it is named" [ "$(taskbar_entries) $(blank_entries)" == "1 0" ]
shot "$wm-title"
open_menu
grey=$(window_of Grey)
check "the backdrop is a desktop window" bash -c "xprop -id $grey _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DESKTOP"
check "the backdrop is at the bottom of the stack" [ "$(clients | cut -d' ' -f1)" == "$grey" ]
check "the menu is centred with its frame in the free area" frame_centred intro0
check "the menu offers no maximise" bash -c "! xprop -id $(window_of intro0) _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE"
shot "$wm-menu"
click intro0 1717 2947 && wait_top ardovin    # the unit page
click ardovin 7357 367 && wait_top teacher    # key facts
check "three screens: one taskbar entry" [ "$(taskbar_entries)" == 1 ]

# 2. A click on the backdrop with three screens open, then "Exit" on the top one.
xdotool mousemove 3 3 click 1; sleep 0.6
check "backdrop click keeps the front screen in front" [ "$(top_role)" == teacher ]
check "backdrop click keeps every screen shown" [ "$(shown_roles)" == "Grey intro0 ardovin teacher" ]
click teacher 11242 8167 # Exit
check "Exit on the top screen shows the one beneath" wait_top ardovin
check "...and it is on the screen, not the backdrop" not_backdrop_at 512 384

# 3. Alt+Tab and "show desktop".
xdotool key alt+Tab; sleep 0.6
check "Alt+Tab never brings the backdrop in front" [ "$(top_role)" != Grey ]
check "Alt+Tab: a screen is seen" not_backdrop_at 512 384
wmctrl -k on; sleep 0.6
check "show desktop: the backdrop still covers the desktop" backdrop_at 3 3
check "show desktop: the backdrop, not the bare desktop, between screens" backdrop_at 512 384
wmctrl -k off; sleep 0.6
xdotool mousemove 3 3 click 1; sleep 0.6
check "after show desktop a click on the backdrop brings the screens back" not_backdrop_at 512 384

# 4. Minimise the front screen, then click the backdrop.
xdotool windowminimize "$(window_of "$(top_role)")"; sleep 0.6
xdotool mousemove 3 3 click 1; sleep 0.6
check "minimised, then a click on the backdrop: restored" not_backdrop_at 512 384
check "restored in front" [ "$(top_role)" == ardovin ]
# The program's taskbar entry (what a click on it asks the window manager for).
taskbar_window() {
    local w
    for w in $(clients); do
        [[ -n $(role_of "$w") ]] && viewable "$w" && has_taskbar_entry "$w" && { echo "$w"; return; }
    done
}
entry=$(taskbar_window)
xdotool windowminimize "$(window_of "$(top_role)")"; sleep 0.6
[[ -n $entry ]] && wmctrl -ia "$entry"; sleep 0.6
check "minimised, then the taskbar entry: the screens are back" not_backdrop_at 512 384
stop

# 5. Closing each screen through the window manager does what its "Exit" does.
close() { local w; w=$(window_of "$1"); [[ -n $w ]] && wmctrl -ic "$w"; sleep 0.6; }
start
close Titlefrm
check "closing the title screen ends the program" ended
start; open_menu
click intro0 10560 8167 && wait_top Titlefrm  # Exit: the confirmation
check "exit confirmation hides the menu behind the backdrop" [ "$(shown_roles)" == "Grey Titlefrm" ]
shot "$wm-exit-confirmation"
close Titlefrm
check "closing the exit confirmation is Cancel" wait_top intro0
check "...the menu is back" not_backdrop_at 512 384
click intro0 1717 2947 && wait_top ardovin
close ardovin
check "closing the unit page shows the menu" wait_top intro0
click intro0 9322 6007 && wait_top wizard
click wizard 1822 8167 # "Save Worksheet" with nothing filled in: a message box
our_top_window() { # the program's window in front, whatever it is
    local w top=""
    for w in $(clients); do
        xprop -id "$w" _NET_WM_PID | grep -q "= $app\$" && viewable "$w" && top=$w
    done
    echo "$top"
}
check "the message box is in front" bash -c "xprop -id $(our_top_window) WM_NAME _NET_WM_WINDOW_TYPE | grep -q DIALOG"
shot "$wm-message-box"
xdotool key Return; sleep 0.5
check "OK closes it: the wizard is in front again" wait_top wizard
close wizard
check "closing the wizard shows the menu" wait_top intro0
click intro0 9322 6847 && wait_top worksheets # the catalogue
click worksheets 2977 907 && wait_top multiple # run the listed worksheet
close worksheets
check "closing the catalogue closes the quiz run from it" [ -z "$(window_of multiple)" ]
check "...and the menu is in front" wait_top intro0
close intro0
check "closing the menu asks first (exit confirmation)" wait_top Titlefrm
close Titlefrm
check "...and Cancel brings the menu back" wait_top intro0
stop

if [[ $failures -gt 0 ]]; then
    echo "--- what the program printed:"
    grep -v XDG_RUNTIME_DIR "$work/program.log" | tail -n 20
fi
echo "$failures failure(s) under $wm"
[[ $failures -eq 0 ]]
