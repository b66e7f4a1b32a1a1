#!/usr/bin/env bash
# End-to-end checks of the desktop program on a real X server: Xvfb with openbox, a private session
# bus, an XEmbed tray and a notification daemon. Every wait is on a condition, bounded in time.
# Usage: desktop-e2e.sh PIPFIELD PIPFIELD-CLI CHECK...   (no CHECK: all of them)
set -uo pipefail

APP=$1
CLI=$2
shift 2
CHECKS=("$@")
[ ${#CHECKS[@]} -eq 0 ] && CHECKS=(placement stacking clickthrough fullscreen tray notray reopen sigterm notification)

WORK=$(mktemp -d /tmp/pipfield-e2e.XXXXXX)
PIDS=()
failures=0
passes=0

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    # The crate-full check hands its notification to a waiting copy of the program.
    pkill -f -- "^$APP --pipfield-deliver-notification" 2>/dev/null
    pkill -f -- "$OTHER_MARKER" 2>/dev/null
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_E2E:-}" ] || rm -rf "$WORK"
}
trap cleanup EXIT

# wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds, false when time runs out.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

check() { # check NAME CONDITION-DESCRIPTION COMMAND...
    local name=$1 what=$2
    shift 2
    if "$@"; then
        echo "ok: $name: $what"
        passes=$((passes + 1))
    else
        echo "FAILED: $name: $what"
        failures=$((failures + 1))
    fi
}

start_display() { # start_display WIDTHxHEIGHT
    local n
    for n in $(seq 91 160); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
    done
    export DISPLAY=:$n
    Xvfb "$DISPLAY" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    PIDS+=($!)
    wait_for 10 xdpyinfo || { echo "Xvfb did not start"; exit 1; }
    openbox >/dev/null 2>&1 &
    PIDS+=($!)
    wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window'
}

stop_display() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    wait "${PIDS[@]}" 2>/dev/null
    PIDS=()
}

# A fresh player: own data, settings and runtime folders. Extra lines go into the settings file.
new_player() {
    export HOME=$WORK/$1
    export XDG_DATA_HOME=$HOME/data XDG_CONFIG_HOME=$HOME/config XDG_RUNTIME_DIR=$HOME/run
    mkdir -p "$XDG_DATA_HOME/Pipfield" "$XDG_CONFIG_HOME/Pipfield" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    local player=$1
    shift
    printf '[General]\n' >"$XDG_CONFIG_HOME/Pipfield/Pipfield.conf"
    [ "$player" = notify ] || echo "notificationsOn=false" >>"$XDG_CONFIG_HOME/Pipfield/Pipfield.conf"
    for line in "$@"; do printf '%s\n' "$line" >>"$XDG_CONFIG_HOME/Pipfield/Pipfield.conf"; done
}

save_file() { echo "$XDG_DATA_HOME/Pipfield/orchard.json"; }

start_game() {
    "$APP" "$@" >"$HOME/game.log" 2>&1 &
    GAME=$!
    PIDS+=($GAME)
    wait_for 20 strip_window
}

window_titled() { # the program's window with exactly this title
    local id
    for id in $(xdotool search --classname '^pipfield$' 2>/dev/null); do
        xprop -id "$id" _NET_WM_NAME 2>/dev/null | grep -qx "_NET_WM_NAME(UTF8_STRING) = \"$1\"" && echo "$id" && return 0
    done
    return 1
}
strip_window() { window_titled Pipfield; }
manage_window() { window_titled '과수원 관리'; }
# Qt's menus are override-redirect windows: the window manager does not frame them.
menu_window() {
    local id
    for id in $(xdotool search --onlyvisible --classname '^pipfield$' 2>/dev/null); do
        xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && echo "$id" && return 0
    done
    return 1
}
menu_open() { menu_window >/dev/null; }
# xwininfo without an id would wait for a click on a window, so an empty id is answered at once.
mapped() { [ -n "$1" ] && xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
unmapped() { [ -n "$1" ] && ! mapped "$1"; }
geometry_of() { # x y width height of a window, in root coordinates
    [ -n "$1" ] || return 1
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width/{w=$NF} /Height/{h=$NF} END{print x, y, w, h}'
}
crate_count() { "$CLI" status "$(save_file)" 2>/dev/null | sed -n 's/^창고 \([0-9-]*\)\/.*/\1/p'; }
coins() { "$CLI" status "$(save_file)" 2>/dev/null | sed -n 's/^코인 \([0-9-]*\)$/\1/p'; }

# An orchard whose crate holds ten lemons and whose one tree hangs full.
write_save() { # write_save CRATE-EUREKA HARVESTER-LEVEL [LAST-UPDATED]
    local now=${3:-$(($(date +%s) - 978307200))}
    cat >"$(save_file)" <<JSON
{"orchard":{"trees":[{"kind":"eureka","age":300,"progress":0,"fruit":6}],"workers":{"harvester":$2},"crate":{"eureka":$1},"coins":10,"unlocked":["eureka"]},"lastUpdated":$now,"weekStarts":{}}
JSON
}

run_placement() {
    new_player placement "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    check placement "the strip is mapped" wait_for 10 mapped "$w"
    check placement "bottom centre of a 1920 x 1080 screen" \
        wait_for 10 bash -c "[ \"\$(xwininfo -id $w | awk '/Absolute upper-left X/{x=\$NF} /Absolute upper-left Y/{y=\$NF} /Width/{w=\$NF} /Height/{h=\$NF} END{print x, y, w, h}')\" = '587 1008 746 72' ]"
    check placement "a dock, out of the taskbar and pager" \
        bash -c "xprop -id $w _NET_WM_WINDOW_TYPE | grep -q DOCK && xprop -id $w _NET_WM_STATE | grep -q SKIP_TASKBAR && xprop -id $w _NET_WM_STATE | grep -q SKIP_PAGER"
    check placement "on every desktop" bash -c "xprop -id $w _NET_WM_DESKTOP | grep -q 4294967295"
    kill "$GAME"
    wait "$GAME" 2>/dev/null
}

run_small_screen() {
    stop_display
    start_display 600x400
    new_player small "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    check placement "a 600-wide screen gets a 600-wide strip" \
        wait_for 10 bash -c "[ \"\$(xwininfo -id $w | awk '/Absolute upper-left X/{x=\$NF} /Absolute upper-left Y/{y=\$NF} /Width/{w=\$NF} /Height/{h=\$NF} END{print x, y, w, h}')\" = '0 328 600 72' ]"
    kill "$GAME"
    wait "$GAME" 2>/dev/null
    stop_display
    start_display 1920x1080
}

# Called in a command substitution, so its process is found again by its marker, not by a pid.
OTHER_MARKER="pipfield-e2e-other-$$"
other_window() { # a plain client window to put under or beside the strip
    xmessage -name other -geometry 400x200+100+100 "$OTHER_MARKER" >/dev/null 2>&1 &
    wait_for 10 bash -c "xdotool search --classname '^other$' | grep -q ."
    xdotool search --classname '^other$' | head -n 1
}

run_stacking() {
    new_player stacking "hasLaunched=true"
    start_game
    local w other
    w=$(strip_window)
    other=$(other_window)
    wmctrl -i -r "$other" -b add,maximized_vert,maximized_horz
    xdotool windowactivate "$other" 2>/dev/null
    check stacking "the strip stays above a maximized window" \
        wait_for 10 bash -c "xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{for(i=5;i<=NF;i++) print \$i}' | xargs -n1 printf '%d\n' | awk -v s=$w -v o=$other '\$1==s{si=NR} \$1==o{oi=NR} END{exit !(si>oi)}'"
    check stacking "a maximized window does not hide the strip" bash -c "sleep 1; xwininfo -id $w | grep -q IsViewable"
    kill "$GAME"
    wait "$GAME" 2>/dev/null
    close_others
}

player_games() { # games of this program running for the current player (other players may run it too)
    local pid count=0
    for pid in $(pgrep -f "^$APP\$"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" && count=$((count + 1))
    done
    echo "$count"
}

close_others() { # so that no window of one check takes the focus or the screen in the next
    pkill -f -- "$OTHER_MARKER" 2>/dev/null
    wait_for 5 bash -c "! xdotool search --classname '^other\$' | grep -q ."
}

run_clickthrough() {
    new_player through "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    wait_for 10 mapped "$w"
    check clickthrough "clicks pass through the strip by default" \
        wait_for 5 bash -c "[ \"\$(xdotool mousemove 748 1050; xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')\" != \"$w\" ]"
    kill "$GAME"
    wait "$GAME" 2>/dev/null

    new_player picking "hasLaunched=true" "clickThrough=false"
    write_save 0 0
    start_game
    w=$(strip_window)
    wait_for 10 mapped "$w"
    xdotool mousemove 748 1050 click 1
    check clickthrough "a click on the tree picks its six lemons into the save file" wait_for 10 bash -c "[ \"\$(crate_count)\" = 6 ]"
    xdotool mousemove 628 1066 click 1
    check clickthrough "a click on the crate sells them" wait_for 10 bash -c "[ \"\$(crate_count)\" = 0 ] && [ \"\$(coins)\" -gt 10 ]"
    kill "$GAME"
    wait "$GAME" 2>/dev/null
}

run_fullscreen() {
    new_player full "hasLaunched=true"
    start_game
    local w other
    w=$(strip_window)
    wait_for 10 mapped "$w"
    other=$(other_window)
    wmctrl -i -r "$other" -b add,fullscreen
    xdotool windowactivate "$other" 2>/dev/null
    check fullscreen "a full-screen window hides the strip" wait_for 10 unmapped "$w"
    wmctrl -i -r "$other" -b remove,fullscreen
    check fullscreen "the strip returns when full screen ends" wait_for 10 mapped "$w"
    kill "$GAME"
    wait "$GAME" 2>/dev/null
    close_others

    new_player keep "hasLaunched=true" "hideInFullScreen=false"
    start_game
    w=$(strip_window)
    wait_for 10 mapped "$w"
    other=$(other_window)
    wmctrl -i -r "$other" -b add,fullscreen
    xdotool windowactivate "$other" 2>/dev/null
    check fullscreen "with hiding off the strip stays over full screen" bash -c "sleep 1.5; xwininfo -id $w | grep -q IsViewable"
    kill "$GAME"
    wait "$GAME" 2>/dev/null
    close_others
}

run_tray() {
    trayer --edge top --align right --widthtype pixel --width 200 --heighttype pixel --height 24 >/dev/null 2>&1 &
    local tray=$!
    PIDS+=($tray)
    wait_for 10 bash -c "xdotool search --classname '^panel$' | grep -q ."
    new_player tray "hasLaunched=true"
    write_save 10 0
    start_game
    check tray "the icon is embedded in the tray" \
        wait_for 10 bash -c "xwininfo -root -tree | grep -A200 -i trayer | grep -q '\"pipfield\"'"
    check tray "after the first launch, with a tray, no management window opens" bash -c "! manage_window"
    local icon
    icon=$(xdotool search --onlyvisible --classname '^pipfield$' 2>/dev/null | while read -r id; do
        xwininfo -id "$id" | grep -q 'Width: 2[0-9]$' && echo "$id"; done | head -n 1)
    local x y
    read -r x y _ _ < <(geometry_of "$icon")
    xdotool mousemove $((x + 8)) $((y + 8)) click 3
    check tray "a right click opens the menu" wait_for 5 menu_open
    # The menu takes the keyboard a moment after it shows; a key sent before that is lost, so the
    # choice is made again until the crate is sold or the tries run out.
    local try
    for try in 1 2 3 4 5; do
        menu_open || { xdotool mousemove $((x + 8)) $((y + 8)) click 3; wait_for 5 menu_open; }
        # Sent to the menu itself, so that no other window's focus or grab can take the keys.
        xdotool key --window "$(menu_window)" Down Return
        wait_for 4 bash -c "[ \"\$(crate_count)\" = 0 ]" && break
        xdotool key Escape
    done
    check tray "모두 팔기 sells the crate" wait_for 10 bash -c "[ \"\$(crate_count)\" = 0 ] && [ \"\$(coins)\" -gt 10 ]"
    kill "$GAME" "$tray"
    wait "$GAME" 2>/dev/null
}

run_notray() {
    new_player notray "hasLaunched=true"
    start_game
    check notray "without a tray the management window opens" wait_for 10 manage_window
    kill "$GAME"
    wait "$GAME" 2>/dev/null
}

run_reopen() {
    new_player reopen "hasLaunched=true"
    start_game
    wait_for 5 bash -c "[ -S \"$XDG_RUNTIME_DIR/pipfield.socket\" ]"
    # With no tray the window opened at launch; close it first.
    wait_for 10 manage_window && wmctrl -i -c "$(manage_window)"
    wait_for 5 bash -c "! xdotool search --onlyvisible --name '과수원 관리' | grep -q ."
    # Bounded: a launch that became a second game would never return.
    timeout 30 "$APP" >/dev/null 2>&1
    local status=$?
    check reopen "a second launch exits 0" [ "$status" -eq 0 ]
    check reopen "the first instance shows the management window" \
        wait_for 10 bash -c "xdotool search --onlyvisible --name '과수원 관리' | grep -q ."
    check reopen "only this player's first game runs" [ "$(player_games)" -eq 1 ]
    kill "$GAME"
    wait "$GAME" 2>/dev/null
}

run_sigterm() {
    new_player term "hasLaunched=true"
    write_save 0 0 $(($(date +%s) - 978307200 - 3600))
    start_game
    wait_for 10 mapped "$(strip_window)"
    local before
    before=$(date +%s)
    kill -TERM "$GAME"
    wait "$GAME"
    local status=$?
    check sigterm "SIGTERM ends the game cleanly" [ "$status" -eq 0 ]
    local saved
    saved=$(sed -n 's/.*"lastUpdated":\([0-9.]*\).*/\1/p' "$(save_file)" | cut -d. -f1)
    check sigterm "the save file holds the moment of the last tick" [ $((saved + 978307200)) -ge $((before - 2)) ]
}

run_notification() {
    dunst -conf /dev/null >/dev/null 2>&1 &
    PIDS+=($!)
    wait_for 10 bash -c "dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications org.freedesktop.Notifications.GetServerInformation"
    new_player notify "hasLaunched=true"
    # 38 of 40 with a full tree and a level-20 harvester: full within the first simulated minute.
    write_save 38 20
    start_game
    wait_for 10 mapped "$(strip_window)"
    kill -TERM "$GAME"
    wait "$GAME"
    check notification "the crate-full notification arrives after the game has quit" \
        wait_for 90 bash -c "dunstctl history | grep -q '창고'"
}

export APP CLI
export -f menu_window menu_open window_titled strip_window manage_window mapped unmapped crate_count coins save_file
eval "$(dbus-launch --sh-syntax)"
start_display 1920x1080
for name in "${CHECKS[@]}"; do
    "run_$name"
    [ "$name" = placement ] && run_small_screen
done
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
