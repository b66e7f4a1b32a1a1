#!/usr/bin/env bash
# End-to-end checks of the strip as a layer surface of a wlroots compositor: sway on its headless
# backend, run by an unprivileged user (sway refuses root), with XWayland for an ordinary window
# beneath the strip, swaybar for the tray, grim for the pixels and a virtual pointer for clicks.
# Every wait is on a condition, bounded in time.
# Usage: sway-e2e.sh PIPFIELD PIPFIELD-CLI VIRTUAL-POINTER
set -uo pipefail
source "$(dirname "$0")/checks.sh"

APP=$1
CLI=$2
POINTER=$3
BACKGROUND='#204060'
WIDTH=1920
HEIGHT=1080

PIDS=()
failures=0
passes=0

source "$(dirname "$0")/user-session.sh"
start_user_session sway sway swaymsg grim convert compare Xwayland xev gdbus strace
mkdir -p "$WORK/shots" && chown "$RUNNER" "$WORK/shots"

cleanup() {
    [ -n "${GAME_PID:-}" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "${INNER_SOCK:-}" ] && SWAYSOCK=$INNER_SOCK as_user swaymsg exit >/dev/null 2>&1
    [ -n "${SWAYSOCK:-}" ] && as_user swaymsg exit >/dev/null 2>&1
    end_user_session
}
trap cleanup EXIT

sway_msg() { as_user swaymsg "$@" >/dev/null; }

# --- the compositor -----------------------------------------------------------------------------

cat >"$WORK/sway.conf" <<CONF
xwayland enable
default_border none
focus_follows_mouse no
output HEADLESS-1 resolution ${WIDTH}x${HEIGHT} position 0 0 bg $BACKGROUND solid_color
output HEADLESS-2 resolution 600x400 position $WIDTH 0 bg $BACKGROUND solid_color
bar {
    position top
    mode dock
}
CONF
start_user_bus
as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$WORK/sway.conf" \
    >"$WORK/sway.log" 2>&1 &
PIDS+=($!)
wait_for 20 bash -c "ls '$RUN' | grep -q '^sway-ipc.*sock$' && ls '$RUN' | grep -q '^wayland-[0-9]*$'" ||
    { echo "FAILED: sway did not start"; cat "$WORK/sway.log"; exit 1; }
export SWAYSOCK=$RUN/$(ls "$RUN" | grep '^sway-ipc.*sock$' | head -n 1)
export WAYLAND_DISPLAY=$(ls "$RUN" | grep '^wayland-[0-9]*$' | head -n 1)
# swaybar keeps the tray; without one the management window would open over the workspace.
wait_for 20 as_user dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetNameOwner string:org.kde.StatusNotifierWatcher ||
    { echo "FAILED: swaybar's tray did not start"; exit 1; }

# A pointer for the seat: the headless backend has no input devices of its own.
mkfifo "$WORK/pointer.in"
as_user "$POINTER" "$WIDTH" "$HEIGHT" <"$WORK/pointer.in" >"$WORK/pointer.out" 2>&1 &
PIDS+=($!)
exec 7>"$WORK/pointer.in"
wait_for 10 grep -q ready "$WORK/pointer.out" || { echo "FAILED: no virtual pointer"; cat "$WORK/pointer.out"; exit 1; }
click() { # click X Y in layout coordinates, answered once the compositor handled it
    local before
    before=$(grep -c done "$WORK/pointer.out")
    echo "click $1 $2" >&7
    wait_for 5 bash -c "[ \$(grep -c done '$WORK/pointer.out') -gt $before ]"
}

# --- pixels -------------------------------------------------------------------------------------

shoot() { # shoot FILE [OUTPUT]
    rm -f "$1"
    if [ -n "${2:-}" ]; then as_user grim -o "$2" "$1"; else as_user grim "$1"; fi || return 1
    if [ -n "${DEBUG_SHOTS:-}" ]; then cp "$1" "$WORK/debug-$(date +%s%N).png"; fi
}

# The box of pixels in a region that differ from a colour, as "left top right bottom" in the
# image's coordinates (inclusive), or "none".
changed_box() { # changed_box FILE X Y W H COLOUR
    local box
    box=$(convert "$1" -crop "$4x$5+$2+$3" +repage -bordercolor "$6" -border 1 -fuzz 4% -trim \
        -format '%w %h %X %Y' info: 2>/dev/null)
    read -r w h x y <<<"$box"
    # A region all of the colour trims to one pixel at its origin.
    if [ -z "$box" ] || { [ "$w" -le 1 ] && [ "$h" -le 1 ]; }; then
        echo none
        return
    fi
    x=$((${x#+} - 1 + $2))
    y=$((${y#+} - 1 + $3))
    echo "$x $y $((x + w - 1)) $((y + h - 1))"
}

pixel() { convert "$1" -format "%[hex:u.p{$2,$3}]" info: 2>/dev/null | cut -c1-6 | tr 'A-F' 'a-f'; }
colour_is() { [ "$(pixel "$1" "$2" "$3")" = "${4#\#}" ]; } # colour_is FILE X Y #RRGGBB

# The strip's box: bottom centre of an output OW x OH device pixels at (OX, 0) and of SCALE device
# pixels a point, 746 x 72 points at most, the scene drawn across most of that width. The box is
# searched in the bottom 300 rows.
strip_drawn() { # strip_drawn FILE OX OW OH UNDER-COLOUR [SCALE]
    local box l t r b w s=${6:-1}
    box=$(changed_box "$1" "$2" $(($4 - 300 > 0 ? $4 - 300 : 0)) "$3" $(($4 < 300 ? $4 : 300)) "$5")
    [ "$box" = none ] && return 1
    read -r l t r b <<<"$box"
    w=$(($3 / s < 746 ? $3 / s * s : 746 * s))
    local left=$(($2 + ($3 - w) / 2))
    # Drawn only inside the strip's frame, reaching its bottom edge and nearly its whole width
    # (the scene leaves a few transparent points at each end), centred.
    [ "$l" -ge "$left" ] && [ "$r" -lt $((left + w)) ] && [ "$t" -ge $(($4 - 72 * s)) ] && [ "$b" -eq $(($4 - 1)) ] &&
        [ "$l" -le $((left + 20 * s)) ] && [ "$r" -ge $((left + w - 20 * s)) ] && [ $((b - t)) -ge $((40 * s)) ] &&
        [ $(((l + r) / 2 - ($2 + $3 / 2))) -le $((8 * s)) ] && [ $(((l + r) / 2 - ($2 + $3 / 2))) -ge $((-8 * s)) ]
}
strip_on_screen() { shoot "$WORK/shots/shot.png" && strip_drawn "$WORK/shots/shot.png" 0 "$WIDTH" "$HEIGHT" "$1"; }
# The strip's box on the first output, and whether it changed since "before.png" (something moved).
strip_crop() { shoot "$WORK/shots/shot.png" && convert "$WORK/shots/shot.png" -crop 746x72+587+1008 +repage "$1"; }
strip_moved() {
    strip_crop "$WORK/shots/later.png" &&
        [ "$(compare -metric AE "$WORK/shots/before.png" "$WORK/shots/later.png" null: 2>&1)" != 0 ]
}
strip_gone() { # nothing but COLOUR at the bottom centre
    shoot "$WORK/shots/shot.png" && [ "$(changed_box "$WORK/shots/shot.png" 587 1008 746 72 "$1")" = none ]
}

# --- the player and the game --------------------------------------------------------------------

new_player() { # new_player NAME SETTING...
    export PLAYER_HOME=$WORK/$1
    shift
    mkdir -p "$PLAYER_HOME/data/Pipfield" "$PLAYER_HOME/config/Pipfield"
    {
        printf '[General]\nhasLaunched=true\nnotificationsOn=false\n'
        for line in "$@"; do printf '%s\n' "$line"; done
    } >"$PLAYER_HOME/config/Pipfield/Pipfield.conf"
    chown -R "$RUNNER" "$PLAYER_HOME"
}
save_file() { echo "$PLAYER_HOME/data/Pipfield/orchard.json"; }
crate_count() { "$CLI" status "$(save_file)" 2>/dev/null | sed -n 's/^창고 \([0-9-]*\)\/.*/\1/p'; }
coins() { "$CLI" status "$(save_file)" 2>/dev/null | sed -n 's/^코인 \([0-9-]*\)$/\1/p'; }

# Ten grown lemon trees, the first one hanging full, an empty crate and a caretaker walking about.
write_save() { # write_save [LAST-UPDATED]
    local now=${1:-$(($(date +%s) - 978307200))} trees="" i
    for i in 0 1 2 3 4 5 6 7 8 9; do
        trees+="${trees:+,}{\"kind\":\"eureka\",\"age\":300,\"progress\":0,\"fruit\":$([ $i -eq 0 ] && echo 6 || echo 0)}"
    done
    cat >"$(save_file)" <<JSON
{"orchard":{"trees":[$trees],"workers":{"caretaker":1},"crate":{"eureka":0},"coins":10,"unlocked":["eureka"]},"lastUpdated":$now,"weekStarts":{}}
JSON
    chown "$RUNNER" "$(save_file)"
}

start_game() {
    rm -f "$PLAYER_HOME/game.pid" "$PLAYER_HOME/game.status"
    (
        # The player prefers Korean: the checks choose the tray menu's items by their Korean texts.
        as_user env LANGUAGE=ko sh -c 'echo $$ >"$HOME/game.pid"; exec "$0"' "$APP" >"$PLAYER_HOME/game.log" 2>&1
        echo $? >"$PLAYER_HOME/game.status"
    ) &
    wait_for 10 test -s "$PLAYER_HOME/game.pid"
    GAME_PID=$(cat "$PLAYER_HOME/game.pid")
}
stop_game() { # ends the game with SIGTERM and waits for it; its exit status in GAME_STATUS
    kill -TERM "$GAME_PID" 2>/dev/null
    wait_for 20 test -s "$PLAYER_HOME/game.status"
    GAME_STATUS=$(cat "$PLAYER_HOME/game.status" 2>/dev/null)
    GAME_PID=""
}

# An ordinary X11 window through XWayland that records the clicks it receives; white all over.
open_window() {
    rm -f "$WORK/shots/clicks.log"
    sway_msg exec "xev -event button -name other > $WORK/shots/clicks.log"
    wait_for 20 bash -c "as_user swaymsg -t get_tree | grep -q '\"name\": \"other\"'" &&
        wait_for 10 bash -c "shoot '$WORK/shots/shot.png' && colour_is '$WORK/shots/shot.png' 960 540 '#ffffff'"
}
close_window() {
    sway_msg '[title="other"] kill'
    wait_for 10 bash -c "! as_user swaymsg -t get_tree | grep -q '\"name\": \"other\"'"
}
# Chooses an item of the game's tray menu by its label, as swaybar does when the player clicks it:
# through the StatusNotifierItem's menu on the session bus.
menu_choose() { # menu_choose LABEL
    local item service menu layout id
    item=$(as_user gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems |
        grep -o "'[^']*/StatusNotifierItem'" | head -n 1 | tr -d "'")
    service=${item%%/*}
    menu=$(as_user gdbus call --session --dest "$service" --object-path "/${item#*/}" \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu | grep -o "'/[^']*'" | tr -d "'")
    layout=$(as_user gdbus call --session --dest "$service" --object-path "$menu" \
        --method com.canonical.dbusmenu.GetLayout 0 -- -1 '[]')
    id=$(grep -o "([0-9]*, {[^}]*'label': <'$1'>" <<<"$layout" | head -n 1 | sed 's/^(\([0-9]*\),.*/\1/')
    [ -n "$id" ] || return 1
    as_user gdbus call --session --dest "$service" --object-path "$menu" --method com.canonical.dbusmenu.Event \
        "$id" clicked '<0>' 0 >/dev/null
}

export -f wait_for menu_choose as_user shoot strip_crop strip_moved changed_box pixel colour_is strip_drawn strip_on_screen strip_gone crate_count coins save_file
export WORK RUN RUNNER CLI WIDTH HEIGHT

# --- checks -------------------------------------------------------------------------------------

started=$SECONDS

new_player through
write_save
start_game
check placement "drawn at the bottom centre, 746 x 72, over the desktop" wait_for 20 strip_on_screen "$BACKGROUND"
check placement "the choice is logged once" bash -c "[ \$(grep -c '^info pipfield.desktop: .*layer surface' '$PLAYER_HOME/game.log') -eq 1 ]"
open_window
check above "an ordinary window fills the workspace to the bottom edge (nothing reserved)" \
    bash -c "shoot '$WORK/shots/shot.png' && colour_is '$WORK/shots/shot.png' 5 1075 '#ffffff' && colour_is '$WORK/shots/shot.png' 1915 1075 '#ffffff'"
check above "the strip stays drawn over the window" wait_for 10 strip_on_screen '#ffffff'
# A window that has only just appeared may miss the very first click while XWayland settles, so
# the click is repeated a few times; each one passes through the strip.
clicked_through() {
    local try
    for try in 1 2 3 4 5; do
        click 748 1050
        wait_for 2 grep -q ButtonPress "$WORK/shots/clicks.log" && return 0
    done
    return 1
}
check clickthrough "a click on the strip lands on the window beneath" clicked_through
sends_in() { # sends_in SECONDS: requests the game sends to the compositor in that fixed window
    timeout "$1" strace -p "$GAME_PID" -e trace=sendmsg,writev -o "$WORK/sends.txt" >/dev/null 2>&1
    grep -c 'sendmsg\|writev' "$WORK/sends.txt"
}
check fullscreen "shown, the strip paints its walking caretaker (frames sent within 3 s)" [ "$(sends_in 3)" -gt 5 ]
sway_msg '[title="other"] fullscreen enable'
check fullscreen "a full-screen window covers the strip" wait_for 10 strip_gone '#ffffff'
# The compositor sends no frame callbacks to a covered surface, and the game paints only on them:
# in a fixed window of 3 s at most the frame already under way reaches the compositor (shown, the
# walking workers are painted about 90 times in 3 s).
check fullscreen "covered, the strip stops painting (at most one frame sent in 3 s)" [ "$(sends_in 3)" -le 1 ]
sway_msg '[title="other"] fullscreen disable'
check fullscreen "the strip returns when full screen ends" wait_for 10 strip_on_screen '#ffffff'
# Covered, the scene paused with the frames; it must go on once they come again, not stay still.
check fullscreen "and its workers walk on (its pixels change)" bash -c "strip_crop '$WORK/shots/before.png' && wait_for 10 strip_moved"
sway_msg workspace 2
check workspace "the strip stays on a second workspace" wait_for 10 strip_on_screen "$BACKGROUND"
sway_msg output HEADLESS-1 scale 2
check scale "at output scale 2 the strip keeps its size in points: 1492 x 144 pixels" \
    wait_for 10 bash -c "shoot '$WORK/shots/shot.png' && strip_drawn '$WORK/shots/shot.png' 0 $WIDTH $HEIGHT '$BACKGROUND' 2"
# Sway offers no fractional scale protocol, but its output's mode over its logical size says 1.5: the
# art is drawn at 2 into a buffer of the output's own device pixels (996 x 96 points, 1494 x 144),
# which sway shows unscaled, so the strip keeps the few colours of its palette.
few_colours() { # few_colours FILE LEFT TOP: the strip's frame at 1.5 holds no colours blended by scaling
    local colours
    colours=$(convert "$1" -crop "1494x144+$2+$3" +repage -format '%k' info:)
    echo "$colours" >"${1%/*}/colours.txt"
    [ -n "$colours" ] && [ "$colours" -le 128 ]
}
export -f few_colours
sway_msg output HEADLESS-1 scale 1.5
check scale "at output scale 1.5 the art is drawn at 2, in the output's own pixels (no blended colours)" \
    wait_for 10 bash -c "shoot '$WORK/shots/shot.png' && strip_drawn '$WORK/shots/shot.png' 0 $WIDTH $HEIGHT '$BACKGROUND' 2 && few_colours '$WORK/shots/shot.png' $(((WIDTH - 1494) / 2)) $((HEIGHT - 144))"
echo "colours in the strip at 1.5: $(cat "$WORK/shots/colours.txt" 2>/dev/null)"
sway_msg output HEADLESS-1 scale 1
sway_msg workspace 1
check tray "the tray menu hides the strip at once" bash -c "menu_choose '과수원 띠 보이기' && wait_for 10 strip_gone '#ffffff'"
check tray "and shows it again" bash -c "menu_choose '과수원 띠 보이기' && wait_for 10 strip_on_screen '#ffffff'"
check clickthrough "the click through the strip picked nothing" [ "$(crate_count)" = 0 ]
# The menu answers before the switch reaches the compositor, so the click is repeated until one
# lands on the strip.
picks_after_switch() {
    local try
    menu_choose '클릭 통과' || return 1
    for try in 1 2 3 4 5; do
        click 748 1050
        wait_for 2 bash -c "[ \"\$(crate_count)\" = 6 ]" && return 0
    done
    return 1
}
check tray "click-through switched off in the tray menu: a click on the tree picks it" picks_after_switch
close_window
before=$(date +%s)
stop_game
check sigterm "SIGTERM ends the game cleanly" [ "$GAME_STATUS" = 0 ]
saved=$(sed -n 's/.*"lastUpdated":\([0-9.]*\).*/\1/p' "$(save_file)" | cut -d. -f1)
check sigterm "the save file holds the moment of the last tick" [ $((saved + 978307200)) -ge $((before - 2)) ]
check sigterm "the strip is gone with the game" wait_for 10 strip_gone "$BACKGROUND"

new_player picking "clickThrough=false" "hideInFullScreen=false"
write_save
start_game
wait_for 20 strip_on_screen "$BACKGROUND"
click 748 1050
check clicks "a click on the tree picks its six lemons" wait_for 10 bash -c "[ \"\$(crate_count)\" = 6 ]"
click 628 1066
check clicks "a click on the crate sells them" wait_for 10 bash -c "[ \"\$(crate_count)\" = 0 ] && [ \"\$(coins)\" -gt 10 ]"
open_window
sway_msg '[title="other"] fullscreen enable'
wait_for 10 bash -c "shoot '$WORK/shots/shot.png' && colour_is '$WORK/shots/shot.png' 5 5 '#ffffff'"
check fullscreen "with hiding off the strip stays over a full-screen window" wait_for 10 strip_on_screen '#ffffff'
close_window
stop_game

# The chosen output is not there yet: the strip waits on the other one and moves when it comes.
second=$(display_number HEADLESS-2 "Headless output 2")
new_player outputs "screenID=$second"
write_save
start_game
check outputs "a chosen output that is missing leaves the strip on the one there is" wait_for 20 strip_on_screen "$BACKGROUND"
sway_msg create_output
check outputs "a new output chosen by screenID takes the strip, narrower on a 600-wide output" \
    wait_for 20 bash -c "shoot '$WORK/shots/out2.png' HEADLESS-2 && strip_drawn '$WORK/shots/out2.png' 0 600 400 '$BACKGROUND'"
check outputs "and the first output no longer shows it" wait_for 10 strip_gone "$BACKGROUND"
stop_game

# An output that goes away takes the strip to the one that is left. This sway's headless outputs can
# neither be switched off nor removed, but the outputs of a sway nested in it (its Wayland backend:
# each output a window of this one) go when their window is closed.
cat >"$WORK/inner.conf" <<CONF
default_border none
output * bg $BACKGROUND solid_color
CONF
displays_before=$(ls "$RUN" | grep '^wayland-[0-9]*$')
as_user env WLR_BACKENDS=wayland WLR_WL_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$WORK/inner.conf" >"$WORK/inner.log" 2>&1 &
inner_ready() {
    INNER_DISPLAY=$(ls "$RUN" | grep '^wayland-[0-9]*$' | grep -vxF "$displays_before" | head -n 1)
    INNER_SOCK=$(ls "$RUN"/sway-ipc.*.sock | grep -vxF "$SWAYSOCK" | head -n 1)
    [ -n "$INNER_DISPLAY" ] && [ -n "$INNER_SOCK" ] &&
        WAYLAND_DISPLAY=$INNER_DISPLAY SWAYSOCK=$INNER_SOCK as_user swaymsg -t get_outputs | grep -q '"WL-2"'
}
inner() { WAYLAND_DISPLAY=$INNER_DISPLAY SWAYSOCK=$INNER_SOCK "$@"; }
strip_on_inner() { # strip_on_inner OUTPUT: drawn at the bottom centre of that output of the nested sway
    local size
    inner shoot "$WORK/shots/inner.png" "$1" || return 1
    size=$(identify -format '%w %h' "$WORK/shots/inner.png") || return 1
    strip_drawn "$WORK/shots/inner.png" 0 ${size% *} ${size#* } "$BACKGROUND"
}
if wait_for 20 inner_ready; then
    new_player nested "screenID=$(display_number WL-2 "Wayland output 2")"
    write_save
    inner start_game
    check gone "the strip is on the output chosen by screenID" wait_for 20 strip_on_inner WL-2
    sway_msg '[title="wlroots - WL-2"] kill'
    check gone "its output gone, the strip moves to the one that is left, without restarting" \
        wait_for 20 strip_on_inner WL-1
    stop_game
else
    check gone "a nested sway starts for outputs that can go away" false
fi

# This session has no system bus, no desktop portal and no notification service that starts, which the
# game rightly warns about once per run; any other warning is a finding.
check outputs "no warning was logged" bash -c "! grep -h '^warning\|^critical' '$WORK'/*/game.log | grep -Ev 'no system bus|no answer from the settings portal|no notification service answers'"

echo "sway checks took $((SECONDS - started)) s"
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
