#!/usr/bin/env bash
# End-to-end checks of the desktop program on a real X server with a real window manager, a private
# session bus, and for some checks an XEmbed tray and a notification daemon. Every wait is on a
# condition, bounded in time; the few fixed windows are negative checks and say so.
# Usage: desktop-e2e.sh [--wm openbox|xfwm4|kwin|i3|mutter] --window PIPFIELD-E2E-WINDOW PIPFIELD PIPFIELD-CLI CHECK...
#   (no CHECK: every check that applies to that window manager)
set -uo pipefail
source "$(dirname "$0")/checks.sh"

WM=openbox
PLAIN_WINDOW=
while [ $# -gt 0 ]; do
    case $1 in
    --wm) WM=$2 ;;
    --window) PLAIN_WINDOW=$2 ;;
    *) break ;;
    esac
    shift 2
done
APP=$1
CLI=$2
shift 2
CHECKS=("$@")
if [ ${#CHECKS[@]} -eq 0 ]; then
    # The strip's behaviour as a panel is checked on every window manager; the tray, the
    # notifications and the signals do not depend on the window manager and run on openbox only.
    CHECKS=(placement stacking workspace clickthrough fullscreen fullscreenshort maximised keepvisible reopen)
    [ "$WM" = openbox ] && CHECKS+=(tray traylate notray sigterm notification fulldisk)
fi
WORK=$(mktemp -d /tmp/pipfield-e2e.XXXXXX)
PIDS=()
STARTED=$SECONDS
failures=0
passes=0

cleanup() {
    kill_own "${PIDS[@]}"
    # The crate-full check hands its notification to a waiting copy of the program; only this
    # run's copies are ended (other runs of these checks may be waiting for theirs).
    local pid
    for pid in $(pgrep -f -- "^$APP --pipfield-deliver-notification"); do
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -q "^XDG_RUNTIME_DIR=$WORK/" && kill "$pid"
    done
    stop_session
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_E2E:-}" ] || rm -rf "$WORK"
}
trap cleanup EXIT

# wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds, false when time runs out.


source "$(dirname "$0")/wm-session.sh"

# A fresh player: own data, settings and runtime folders. Extra lines go into the settings file.
# Summer, so the ground under the trees is never snow-white like the backdrops the checks compare with.
new_player() {
    export HOME=$WORK/$1
    export XDG_DATA_HOME=$HOME/data XDG_CONFIG_HOME=$HOME/config XDG_RUNTIME_DIR=$HOME/run
    mkdir -p "$XDG_DATA_HOME/Pipfield" "$XDG_CONFIG_HOME/Pipfield" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    local player=$1
    shift
    printf '[General]\n' >"$XDG_CONFIG_HOME/Pipfield/Pipfield.conf"
    # The crate-full check keeps the calendar's season, which its timing was worked out for.
    [ "$player" = notify ] || printf 'notificationsOn=false\nseason=summer\nhour=12\n' >>"$XDG_CONFIG_HOME/Pipfield/Pipfield.conf"
    for line in "$@"; do printf '%s\n' "$line" >>"$XDG_CONFIG_HOME/Pipfield/Pipfield.conf"; done
}

save_file() { echo "$XDG_DATA_HOME/Pipfield/orchard.json"; }

# Warnings the program rightly gives in these sessions: the containers have no system bus, the session
# bus's settings portal never answers (on purpose, see below), and the notification daemon the bus tries to
# start fails without a desktop of its own until the notification run starts one. Any other warning or
# critical line in the program's output is a finding.
EXPECTED_WARNINGS='^warning pipfield\.desktop: no system bus: |^warning pipfield\.look: no answer from the settings portal|^warning pipfield\.notify: no notification service answers'
unexpected_warnings() { # unexpected_warnings LOG: true when LOG has none
    ! grep -E '^(warning|critical|fatal) ' "$1" | grep -Ev "$EXPECTED_WARNINGS"
}

# The player prefers Korean, whatever this machine's locale: the checks find the window, the menu items and the
# notification by their Korean texts.
start_game() {
    local started
    started=$(date +%s.%N)
    LANGUAGE=ko QT_MESSAGE_PATTERN='%{type} %{category}: %{message}' "$APP" "$@" >"$HOME/game.log" 2>&1 &
    GAME=$!
    PIDS+=($GAME)
    wait_for 20 bash -c 'mapped "$(strip_window)"'
    STRIP_SECONDS=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN{printf "%.1f", b - a}')
}

stop_game() {
    kill_own "$GAME"
    wait "$GAME" 2>/dev/null
    # Whatever the program logged is shown with the check's output.
    [ -s "$HOME/game.log" ] && sed 's/^/    log: /' "$HOME/game.log"
    check log "no unexpected warning in $(basename "$HOME")'s run" unexpected_warnings "$HOME/game.log"
    close_other
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
has_geometry() { [ "$(geometry_of "$1")" = "$2" ]; }
crate_count() { "$CLI" status "$(save_file)" 2>/dev/null | sed -n 's/^창고 \([0-9-]*\)\/.*/\1/p'; }
coins() { "$CLI" status "$(save_file)" 2>/dev/null | sed -n 's/^코인 \([0-9-]*\)$/\1/p'; }
has_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q "$2"; }
on_all_desktops() { xprop -id "$1" _NET_WM_DESKTOP | grep -q 4294967295; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p' | xargs printf '%d\n' 2>/dev/null; }
not_focused() { [ "$(active_window)" != "$(($1))" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" != "$(($1))" ]; }

# above A B: window A is stacked above window B. Compared are the root window's children that hold
# them (window managers frame the windows they manage), in the server's own stacking order, which
# also places the windows no window manager manages; xwininfo lists them top first.
toplevel_of() {
    local w=$1 parent root
    root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
    while :; do
        parent=$(xwininfo -children -id "$w" 2>/dev/null | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
        [ -n "$parent" ] || return 1
        [ "$((parent))" = "$((root))" ] && break
        w=$parent
    done
    echo "$((w))"
}
above() {
    local a b
    a=$(toplevel_of "$1") && b=$(toplevel_of "$2") || return 1
    xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' | xargs -n1 printf '%d\n' |
        awk -v a="$a" -v b="$b" '$1==a{ai=NR} $1==b{bi=NR} END{exit !(ai && bi && ai<bi)}'
}
# The window manager's own order (_NET_CLIENT_LIST_STACKING, bottom first) agrees for the windows
# it manages.
managed_above() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{for(i=5;i<=NF;i++) print $i}' |
        xargs -n1 printf '%d\n' | awk -v a="$(($1))" -v b="$(($2))" '$1==a{ai=NR} $1==b{bi=NR} END{exit !(ai && bi && ai>bi)}'
}

# strip_seen W: the strip's pixels are on screen. The lowest rows of the strip hold the orchard's
# ground, opaque (the rest may be translucent under a compositor); at least a tenth of them must
# differ from what lies beside the strip (the window or desktop below it). Under XWayland the root window shows nothing, so there it is the
# stacking that says whether the strip is in sight.
strip_seen() {
    local w=$1 x y width height
    read -r x y width height < <(geometry_of "$w")
    mapped "$w" || return 1
    if [ "$PIXELS" != 1 ]; then
        [ -z "${OTHER:-}" ] || above "$w" "$OTHER"
        return
    fi
    import -window root "$WORK/shot.png" 2>/dev/null || return 1
    local backdrop below
    backdrop=$(convert "$WORK/shot.png" -format "%[pixel:p{$((x - 6)),$((y + height - 4))}]" info:)
    below=$(convert "$WORK/shot.png" -crop "${width}x6+${x}+$((y + height - 6))" +repage \
        -fuzz 4% -fill white -opaque "$backdrop" -fill black +opaque white -colorspace gray -format '%[fx:mean]' info:)
    awk -v f="$below" 'BEGIN{exit !(f < 0.9)}'
}
strip_not_seen() { ! strip_seen "$1"; }

# sky_shown W: where no compositor blends the strip with the desktop, its top rows (above the art)
# are the scene's sky, some shade of blue by day or night, not black or the desktop beside it.
sky_shown() {
    [ "$PIXELS" = 1 ] || return 0
    local x y width height
    read -r x y width height < <(geometry_of "$1")
    import -window root "$WORK/shot.png" 2>/dev/null || return 1
    convert "$WORK/shot.png" -crop "20x6+$((x + 4))+$((y + 2))" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info: |
        awk '{ exit !($3 > 0.25 && $3 > $1 && $3 > $2 - 0.1) }'
}

# no_shadow W: the 16 rows above the strip and the 16 columns to each side of it show nothing but
# the window below (a compositor's drop shadow would darken them).
no_shadow() {
    [ "$PIXELS" = 1 ] || return 0
    local x y width height
    read -r x y width height < <(geometry_of "$1")
    import -window root "$WORK/shot.png" 2>/dev/null || return 1
    local backdrop band
    backdrop=$(convert "$WORK/shot.png" -format "%[pixel:p{$((x - 40)),$((y - 40))}]" info:)
    # The lowest rows beside the strip are left out: a window below may have its own border there.
    for band in "$((width + 32))x16+$((x - 16))+$((y - 16))" "16x$((height - 8))+$((x - 16))+${y}" \
        "16x$((height - 8))+$((x + width))+${y}"; do
        convert "$WORK/shot.png" -crop "$band" +repage -fill white -opaque "$backdrop" -fill black +opaque white \
            -colorspace gray -format '%[fx:minima.intensity]' info: | grep -qx 1 || return 1
    done
}

# save_shot NAME: keeps a screenshot for a person to look at when E2E_SHOTS names a folder.
save_shot() {
    [ -n "${E2E_SHOTS:-}" ] && [ "$PIXELS" = 1 ] && mkdir -p "$E2E_SHOTS" &&
        import -window root "$E2E_SHOTS/$WM-$1.png" 2>/dev/null
    true
}

# An ordinary client window that reports the clicks it receives. Sets OTHER (its id).
OTHER_MARKER="pipfield-e2e-other-$$"
open_other() { # open_other [--undecorated]
    "$PLAIN_WINDOW" "$OTHER_MARKER" "$@" >"$WORK/other.log" 2>&1 &
    OTHER_PID=$!
    PIDS+=($OTHER_PID)
    wait_for 10 bash -c "xdotool search --name '^$OTHER_MARKER\$' | grep -q ." || return 1
    OTHER=$(xdotool search --name "^$OTHER_MARKER\$" | head -n 1)
    wait_for 10 mapped "$OTHER"
}
close_other() { # so that no window of one check takes the focus or the screen in the next
    [ -n "${OTHER_PID:-}" ] || return 0
    kill_own "$OTHER_PID"
    wait "$OTHER_PID" 2>/dev/null
    OTHER_PID=
    OTHER=
}
# activate W: gives W the focus and waits until it has it. Without a tray the management window
# opens at launch and may take the focus a moment after the game's strip shows.
activate() {
    wait_for 10 bash -c "xdotool windowactivate $1 2>/dev/null; sleep 0.2; [ \"\$(active_window)\" = $(($1)) ]"
}
maximise() { wmctrl -i -r "$1" -b add,maximized_vert,maximized_horz; }
full_screen() { wmctrl -i -r "$1" -b "$2,fullscreen"; }
covers_screen() { has_geometry "$1" "0 0 1920 1080"; }
# The window with its frame, if the window manager gives it one, ends at the screen's bottom edge.
reaches_bottom() {
    local x y w h
    read -r x y w h < <(geometry_of "$(toplevel_of "$1")")
    [ $((y + h)) -eq 1080 ]
}

# An orchard whose crate holds ten lemons and whose one tree hangs full.
write_save() { # write_save CRATE-EUREKA HARVESTER-LEVEL [LAST-UPDATED]
    local now=${3:-$(($(date +%s) - 978307200))}
    cat >"$(save_file)" <<JSON
{"orchard":{"trees":[{"kind":"eureka","age":300,"progress":0,"fruit":6}],"workers":{"harvester":$2},"crate":{"eureka":$1},"coins":10,"unlocked":["eureka"]},"lastUpdated":$now,"weekStarts":{}}
JSON
}

panel_type() { [ "$WM" = i3 ] && echo UTILITY || echo DOCK; }

run_placement() {
    new_player placement "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    check placement "the strip is mapped" wait_for 10 mapped "$w"
    # The session bus below has a settings portal that never answers.
    check placement "the strip appears in ${STRIP_SECONDS} s, not held up by the desktop's services" within "$STRIP_SECONDS" 10
    check placement "746 x 72 at the bottom centre of a 1920 x 1080 screen" wait_for 10 has_geometry "$w" "587 1008 746 72"
    check placement "a $(panel_type) window, out of the taskbar and pager, transient for nothing" \
        bash -c "xprop -id $w _NET_WM_WINDOW_TYPE | grep -q $(panel_type) && xprop -id $w _NET_WM_STATE | grep -q SKIP_TASKBAR &&
                 xprop -id $w _NET_WM_STATE | grep -q SKIP_PAGER && ! xprop -id $w WM_TRANSIENT_FOR | grep -q 'window id'"
    check placement "on every desktop" wait_for 5 on_all_desktops "$w"
    check placement "in sight" wait_for 10 strip_seen "$w"
    # openbox has no compositing manager: nothing blends the translucent strip with the desktop.
    [ "$WM" = openbox ] && check placement "the sky painted around the art, not black" wait_for 5 sky_shown "$w"
    check placement "not focused" not_focused "$w"
    save_shot placement
    stop_game
}

run_small_screen() {
    stop_session
    start_session "$WM" 600x400
    new_player small "hasLaunched=true"
    start_game
    check placement "a 600-wide screen gets a 600-wide strip" wait_for 10 has_geometry "$(strip_window)" "0 328 600 72"
    stop_game
    stop_session
    start_session "$WM" 1920x1080
}

run_stacking() {
    new_player stacking "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    wait_for 10 mapped "$w"
    open_other
    maximise "$OTHER"
    activate "$OTHER"
    check stacking "a maximised window reaches the bottom: the strip reserves no space" wait_for 10 reaches_bottom "$OTHER"
    # On i3 the strip is not the window manager's, so only the server's order holds it.
    check stacking "the strip is stacked above the maximised window" \
        wait_for 10 bash -c "{ [ $WM = i3 ] || managed_above $w $OTHER; } && above $w $OTHER"
    check stacking "and is in sight over it" wait_for 10 strip_seen "$w"
    check stacking "with no shadow drawn around it" no_shadow "$w"
    save_shot stacking
    xdotool mousemove 960 1044 click 1
    # openbox sometimes keeps the first click on a window it has just maximised for itself (the
    # window beneath is all that can get it either way); a second one is given.
    wait_for 3 grep -q ButtonPress "$WORK/other.log" || xdotool click 1
    check clickthrough "a click on the strip reaches the window beneath" wait_for 5 grep -q ButtonPress "$WORK/other.log" ||
        echo "    under the pointer: $(xdotool getmouselocation), the strip $w, the window $OTHER, active $(active_window)"
    check stacking "the strip is not focused and still on top after the click" \
        bash -c "not_focused $w && above $w $OTHER"
    stop_game
}

run_clickthrough() {
    new_player picking "hasLaunched=true" "clickThrough=false"
    write_save 0 0
    start_game
    local w
    w=$(strip_window)
    wait_for 10 mapped "$w"
    xdotool mousemove 748 1050 click 1
    check clickthrough "with click-through off a click on the tree picks its six lemons" wait_for 10 bash -c "[ \"\$(crate_count)\" = 6 ]"
    xdotool mousemove 628 1066 click 1
    check clickthrough "a click on the crate sells them" wait_for 10 bash -c "[ \"\$(crate_count)\" = 0 ] && [ \"\$(coins)\" -gt 10 ]"
    check clickthrough "clicks do not focus the strip" not_focused "$w"
    stop_game
}

run_workspace() {
    new_player workspace "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    wait_for 10 mapped "$w"
    # A window on the first desktop: Mutter keeps a second one only while the first holds a window.
    open_other
    local below=$OTHER
    OTHER=
    check workspace "the desktop switched" switch_desktop 1
    # Negative check: a window of another desktop is unmapped at once; the strip must stay.
    check workspace "the strip stays on the second desktop (watched for 1 s)" \
        bash -c "sleep 1; mapped $w" ||
        echo "    the strip: $(xprop -id "$w" _NET_WM_DESKTOP _NET_WM_STATE WM_STATE | tr '\n' ' ')"
    check workspace "in sight there" wait_for 5 strip_seen "$w"
    save_shot workspace
    switch_desktop 0
    OTHER=$below
    stop_game
}

# seconds_until COMMAND...: how long until COMMAND succeeds (at most 10 s), as a decimal.
seconds_until() {
    local start end
    start=$(date +%s.%N)
    wait_for 10 "$@" || { echo 99; return; }
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN{printf "%.2f", b - a}'
}
within() { awk -v t="$1" -v limit="$2" 'BEGIN{exit !(t <= limit)}'; }

run_fullscreen() {
    new_player full "hasLaunched=true"
    start_game
    local w round took
    w=$(strip_window)
    wait_for 10 mapped "$w"
    open_other
    activate "$OTHER"
    # Three rounds: showing again must put the strip back on every desktop each time.
    for round in 1 2 3; do
        full_screen "$OTHER" add
        wait_for 10 has_state "$OTHER" FULLSCREEN
        took=$(seconds_until unmapped "$w")
        # 0.6 s after the change, plus the time to notice it on a busy machine.
        check fullscreen "a full-screen window hides the strip (round $round: ${took} s)" within "$took" 2.0
        full_screen "$OTHER" remove
        check fullscreen "the strip returns when full screen ends (round $round)" wait_for 10 mapped "$w"
        check fullscreen "on every desktop again (round $round)" wait_for 5 on_all_desktops "$w"
    done
    check fullscreen "in sight again" wait_for 5 strip_seen "$w"
    stop_game
}

# only_window_inside X Y W H: the rectangle shows nothing but the plain window's white inside.
only_window_inside() {
    [ "$PIXELS" = 1 ] || return 0
    import -window root "$WORK/shot.png" 2>/dev/null || return 1
    convert "$WORK/shot.png" -crop "${3}x${4}+${1}+${2}" +repage -colorspace gray -format '%[fx:minima.intensity]' info: |
        grep -qx 1
}

# A full-screen window short of the screen by a few pixels: i3 keeps a plain X client's own border
# (xev's 2 pixels) inside its full-screen frame, and openbox keeps a window within its largest size.
# Where the window manager does neither, the window covers the screen and is checked all the same.
run_fullscreenshort() {
    new_player short "hasLaunched=true"
    start_game
    local w x y width height
    w=$(strip_window)
    wait_for 10 mapped "$w"
    read -r x y width height < <(geometry_of "$w")
    open_other --border 2 --max-size 1916x1076
    activate "$OTHER"
    full_screen "$OTHER" add
    wait_for 10 has_state "$OTHER" FULLSCREEN
    # xwininfo gives the corner outside the border, and the size inside it.
    if [ "$WM" = i3 ] || [ "$WM" = openbox ]; then
        check fullscreenshort "the window's inside falls short of the screen: 1916 x 1076" \
            wait_for 10 has_geometry "$OTHER" "0 0 1916 1076"
    fi
    local took
    took=$(seconds_until unmapped "$w")
    check fullscreenshort "the full-screen window hides the strip (${took} s): $(geometry_of "$OTHER")" within "$took" 2.0
    # Above the lowest rows, which the window may leave to the desktop.
    check fullscreenshort "where the strip was, only the window is seen" \
        wait_for 5 only_window_inside "$x" "$y" "$width" $((height - 8))
    save_shot fullscreenshort
    full_screen "$OTHER" remove
    check fullscreenshort "the strip returns when full screen ends" wait_for 10 mapped "$w"
    check fullscreenshort "in sight again" wait_for 5 strip_seen "$w"
    stop_game
}

run_maximised() {
    new_player maximised "hasLaunched=true"
    start_game
    local w
    w=$(strip_window)
    wait_for 10 mapped "$w"
    open_other --undecorated
    maximise "$OTHER"
    activate "$OTHER"
    if [ "$WM" != i3 ]; then
        check maximised "the undecorated maximised window covers the whole screen" wait_for 10 covers_screen "$OTHER"
    fi
    # Negative check: the strip would be gone within 0.6 s if the window counted as full screen.
    check maximised "the strip stays (watched for 1.5 s)" bash -c "sleep 1.5; mapped $w"
    check maximised "in sight over it" wait_for 5 strip_seen "$w"
    save_shot maximised
    stop_game
}

run_keepvisible() {
    new_player keep "hasLaunched=true" "hideInFullScreen=false"
    start_game
    local w
    w=$(strip_window)
    wait_for 10 mapped "$w"
    open_other
    activate "$OTHER"
    full_screen "$OTHER" add
    wait_for 10 has_state "$OTHER" FULLSCREEN
    wait_for 10 covers_screen "$OTHER"
    check keepvisible "with hiding off the strip is stacked above the full-screen window" wait_for 5 above "$w" "$OTHER"
    check keepvisible "and in sight over it" wait_for 5 strip_seen "$w"
    # Negative check: it stays there.
    check keepvisible "still in sight 1.5 s later" bash -c "sleep 1.5; strip_seen $w"
    save_shot keepvisible
    full_screen "$OTHER" remove
    if [ "$WM" != i3 ]; then
        check keepvisible "after full screen the strip is a panel of the window manager again" \
            wait_for 5 bash -c "xprop -root _NET_CLIENT_LIST_STACKING | grep -q \"$(printf '0x%x' "$w")\" && on_all_desktops $w" ||
            echo "    the strip: $(xwininfo -id "$w" | grep -E 'Override|Map State' | tr -s ' \n' ' ') $(xprop -id "$w" _NET_WM_DESKTOP WM_STATE | tr '\n' ' ')"
    fi
    check keepvisible "and in sight" wait_for 5 strip_seen "$w"
    stop_game
}

run_reopen() {
    new_player reopen "hasLaunched=true"
    start_game
    wait_for 5 bash -c "[ -S \"$XDG_RUNTIME_DIR/pipfield.socket\" ]"
    # With no tray the window opened at launch; close it first.
    wait_for 10 manage_window && wmctrl -i -c "$(manage_window)"
    wait_for 5 bash -c "! xdotool search --onlyvisible --name '과수원 관리' | grep -q ."
    # Bounded: a launch that became a second game would never return.
    LANGUAGE=ko timeout 30 "$APP" >/dev/null 2>&1
    local status=$?
    check reopen "a second launch exits 0" [ "$status" -eq 0 ]
    check reopen "the first instance shows the management window" \
        wait_for 10 bash -c "xdotool search --onlyvisible --name '과수원 관리' | grep -q ."
    # The second launch has ended (above), so it did not become a second game; the first goes on.
    check reopen "the first game still runs" kill -0 "$GAME"
    local m
    m=$(manage_window)
    xdotool windowactivate --sync "$m" 2>/dev/null
    wait_for 5 bash -c "[ \"\$(xdotool getwindowfocus)\" = $m ]"
    xdotool key ctrl+q
    if check reopen "Ctrl+Q in the management window quits the game" wait_for 10 bash -c "! kill -0 $GAME"; then
        wait "$GAME"
        check reopen "with exit status 0" [ $? -eq 0 ]
    fi
    stop_game
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

run_traylate() {
    new_player traylate "hasLaunched=true"
    start_game
    # The tray starts after the game, as a panel often does at login.
    trayer --edge top --align right --widthtype pixel --width 200 --heighttype pixel --height 24 >/dev/null 2>&1 &
    local tray=$!
    PIDS+=($tray)
    check traylate "a tray that starts after the game gets the icon" \
        wait_for 10 bash -c "xwininfo -root -tree | grep -A200 -i trayer | grep -q '\"pipfield\"'"
    kill "$tray"
    stop_game
}

run_notray() {
    new_player notray "hasLaunched=true"
    start_game
    check notray "without a tray the management window opens" wait_for 10 manage_window
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
    check log "no unexpected warning in the SIGTERM run" unexpected_warnings "$HOME/game.log"
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
    check log "no unexpected warning in the notification run" unexpected_warnings "$HOME/game.log"
    check log "the running notification service is not reported missing" \
        bash -c "! grep -q 'no notification service' '$HOME/game.log'"
    check notification "the crate-full notification arrives after the game has quit" \
        wait_for 150 bash -c "dunstctl history | grep -q '창고'"
}

# The game on a data folder whose disk is full: a tmpfs of 1 MiB in a private mount namespace (through a
# user namespace, so no root is needed), filled up before the game starts. Runs in that namespace: the
# game is started and waited for there, and what the folder holds at the end is copied out.
full_disk_game() { # full_disk_game SAVE: XDG_DATA_HOME is the mount point
    mount -t tmpfs -o size=1m pipfield-full-disk "$XDG_DATA_HOME" || exit 1
    mkdir -p "$XDG_DATA_HOME/Pipfield" && cp "$1" "$XDG_DATA_HOME/Pipfield/orchard.json" || exit 1
    dd if=/dev/zero of="$XDG_DATA_HOME/filler" bs=4k 2>/dev/null
    LANGUAGE=ko QT_MESSAGE_PATTERN='%{type} %{category}: %{message}' "$APP" >"$HOME/game.log" 2>&1
    local status=$?
    cp -a "$XDG_DATA_HOME/Pipfield" "$HOME/after"
    exit $status
}

run_fulldisk() {
    new_player fulldisk "hasLaunched=true"
    write_save 30 0
    local before=$HOME/before.json
    mv "$(save_file)" "$before"
    export -f full_disk_game
    unshare --user --map-root-user --mount -- bash -c 'full_disk_game "$1"' _ "$before" &
    GAME=$!
    PIDS+=($GAME)
    # The folder as the game sees it, through its namespace.
    local seen=/proc/$GAME/root$XDG_DATA_HOME
    check fulldisk "the game starts on a full disk" wait_for 20 manage_window
    check fulldisk "its first save fails with the reason logged" \
        wait_for 10 grep -q "^warning pipfield.save: not saved: cannot write .*(No space left on device)" "$HOME/game.log"
    local m
    m=$(manage_window)
    xdotool windowactivate --sync "$m" 2>/dev/null
    wait_for 5 bash -c "[ \"\$(xdotool getwindowfocus)\" = $m ]"
    local failed
    failed=$(grep -c 'not saved' "$HOME/game.log")
    xdotool key ctrl+s
    check fulldisk "Ctrl+S sells, and its failed save is one more warning" \
        wait_for 10 bash -c "[ \$(grep -c 'not saved' '$HOME/game.log') -gt $failed ]"
    check fulldisk "the save file is left byte for byte as it was" cmp "$seen/Pipfield/orchard.json" "$before"
    check fulldisk "and nothing half-written beside it" bash -c "[ \"\$(ls -A '$seen/Pipfield')\" = orchard.json ]"
    # Space comes back while the game runs: the save at quit lands, with the sale.
    rm "$seen/filler"
    xdotool key ctrl+q
    wait "$GAME"
    check fulldisk "Ctrl+Q quits with exit status 0" [ $? -eq 0 ]
    [ -s "$HOME/game.log" ] && sed 's/^/    log: /' "$HOME/game.log"
    check log "every warning is a save that did not fit" \
        bash -c "! grep -E '^(warning|critical|fatal) ' '$HOME/game.log' | grep -Ev '$EXPECTED_WARNINGS' |
                 grep -v 'pipfield.save: not saved: cannot write .*(No space left on device)'"
    check fulldisk "once space is back the save at quit keeps the sale" \
        bash -c "'$CLI' status '$HOME/after/orchard.json' | grep -qx '창고 0/.*' &&
                 [ \$('$CLI' status '$HOME/after/orchard.json' | sed -n 's/^코인 //p') -gt 10 ]"
    # The quit saves more than once, so the copy is of the save before the last, not of the file from before.
    check fulldisk "and a readable save before it is kept beside it" \
        bash -c "'$CLI' decode '$HOME/after/orchard.previous.json' >/dev/null"
    check fulldisk "and no other file is left" \
        bash -c "[ \"\$(ls -A '$HOME/after' | tr '\n' ' ')\" = 'orchard.json orchard.previous.json ' ]"
}

export APP CLI WM PIXELS WORK OTHER
export -f within on_desktop on_all_desktops activate menu_window menu_open window_titled strip_window manage_window mapped unmapped crate_count coins save_file \
    geometry_of has_geometry above toplevel_of managed_above strip_seen not_focused active_window
# A session bus whose settings portal is started on demand and never answers, as a hung desktop
# service would: the game must not wait for it.
mkdir -p "$WORK/services"
printf '[D-BUS Service]\nName=org.freedesktop.portal.Desktop\nExec=/bin/sleep 30\n' \
    >"$WORK/services/org.freedesktop.portal.Desktop.service"
cat >"$WORK/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <include>/usr/share/dbus-1/session.conf</include>
  <servicedir>$WORK/services</servicedir>
</busconfig>
CONF
eval "$(dbus-launch --config-file="$WORK/session.conf" --sh-syntax)"
start_session "$WM" 1920x1080
export PIXELS
for name in "${CHECKS[@]}"; do
    "run_$name"
    [ "$name" = placement ] && [ "$WM" = openbox ] && run_small_screen
done
echo "$WM: $passes passed, $failures failed in $((SECONDS - STARTED)) s"
[ $failures -eq 0 ]
