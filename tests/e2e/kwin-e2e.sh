#!/usr/bin/env bash
# End-to-end checks of the strip as a layer surface of KWin on its virtual backend, two outputs at a
# fractional scale of 1.5, run by an unprivileged user: KWin offers wp_fractional_scale_v1, and the
# strip must then draw its art at 2 (the whole scale nearest 1.5 in proportion) in square device
# pixels, 747 x 72 art pixels in 996 x 96 points; on an output too narrow for that, at 1; and
# when the output chosen for it is switched off it moves to the other one, and back when it returns.
# KWin has no wlr-screencopy; its own screenshot service on the session bus gives the pixels.
# Every wait is on a condition, bounded in time.
# Usage: kwin-e2e.sh PIPFIELD KWIN-SCREENSHOT KWIN-OUTPUT
set -uo pipefail
source "$(dirname "$0")/checks.sh"

APP=$1
SHOT_TOOL=$2
OUTPUT_TOOL=$3
# Each virtual output in device pixels, and the strip's frame on it: 996 x 96 points at 1.5.
WIDTH=2880
HEIGHT=1620
STRIP_W=1494
STRIP_H=144
ART_SCALE=2
PIDS=()
failures=0
passes=0

source "$(dirname "$0")/user-session.sh"
start_user_session kwin kwin_wayland gdbus convert
trap end_user_session EXIT
SHOTS=$WORK/shots
PLAYER_HOME=$WORK/home
mkdir -p "$SHOTS" "$PLAYER_HOME/data/Pipfield" "$PLAYER_HOME/config/Pipfield"

start() { start_as_user "$WORK/$1.log" "${@:2}"; } # start NAME COMMAND...

started=$SECONDS

# --- the compositor -----------------------------------------------------------------------------

chown -R "$RUNNER" "$SHOTS" "$PLAYER_HOME"
start_user_bus
# Debian gives kwin_wayland a file capability (to raise its scheduling limits), which a container
# without that capability refuses to execute; a plain copy runs anywhere.
cp /usr/bin/kwin_wayland "$WORK/kwin_wayland"
# OpenGL compositing (llvmpipe) loads the screenshot effect, which KWin's QPainter compositing has
# not; the permission check of the screenshot service is for sandboxed callers.
shot() { as_user "$SHOT_TOOL" "$1" "$SHOTS/shot.png"; } # shot OUTPUT
start_kwin() { # start_kwin WIDTH HEIGHT OUTPUTS, in points
    start kwin env KWIN_COMPOSE=O2 LIBGL_ALWAYS_SOFTWARE=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
        "$WORK/kwin_wayland" --virtual --width "$1" --height "$2" --scale 1.5 --output-count "$3" \
        --socket wayland-pipfield --no-lockscreen --no-global-shortcuts --no-kactivities
    wait_for 20 shot "Virtual-$(($3 - 1))" || { echo "FAILED: KWin did not start"; cat "$WORK/kwin.log"; exit 1; }
}
start_kwin 1920 1080 2
switch() { as_user env WAYLAND_DISPLAY=wayland-pipfield "$OUTPUT_TOOL" "$@"; } # switch OUTPUT enable|disable

# --- pixels -------------------------------------------------------------------------------------

# The box of pixels in the bottom 200 rows that are not the black of the empty desktop, as "left top
# right bottom" in the picture's coordinates, or "none". (Without a tray the management window opens
# at launch, higher up.)
BAND=200
drawn_box() { # drawn_box FILE
    local box w h x y
    box=$(convert "$1" -crop "${WIDTH}x$BAND+0+$((HEIGHT - BAND))" +repage -bordercolor black -border 1 -fuzz 4% \
        -trim -format '%w %h %X %Y' info: 2>/dev/null)
    read -r w h x y <<<"$box"
    if [ -z "$box" ] || { [ "$w" -le 1 ] && [ "$h" -le 1 ]; }; then
        echo none
        return
    fi
    x=$((${x#+} - 1))
    y=$((${y#+} - 1 + HEIGHT - BAND))
    echo "$x $y $((x + w - 1)) $((y + h - 1))"
}
# Drawn only inside the strip's frame at the bottom centre, reaching the output's bottom edge, as
# high as the trees, and centred.
strip_drawn() { # strip_drawn OUTPUT
    local box l t r b left=$(((WIDTH - STRIP_W) / 2))
    shot "$1" || return 1
    box=$(drawn_box "$SHOTS/shot.png")
    [ "$box" = none ] && return 1
    read -r l t r b <<<"$box"
    echo "$box" >"$SHOTS/box.txt"
    [ "$l" -ge "$left" ] && [ "$r" -lt $((left + STRIP_W)) ] && [ "$t" -ge $((HEIGHT - STRIP_H)) ] &&
        [ "$b" -eq $((HEIGHT - 1)) ] && [ $((b - t)) -ge 40 ] &&
        [ $(((l + r) / 2 - WIDTH / 2)) -le 12 ] && [ $(((l + r) / 2 - WIDTH / 2)) -ge -12 ]
}
strip_gone() { # strip_gone OUTPUT: nothing drawn along its bottom edge
    shot "$1" && [ "$(drawn_box "$SHOTS/shot.png")" = none ]
}
# The orchard spans nearly all 746 art pixels of the strip, ART_SCALE device pixels each: drawn at
# its intended size, with no spare width left empty at the ends.
at_art_scale() {
    local l t r b
    read -r l t r b <"$SHOTS/box.txt"
    [ $((r - l + 1)) -le $((746 * ART_SCALE)) ] && [ $((r - l + 1)) -ge $(((746 - 40) * ART_SCALE)) ]
}
# The first frame may go out before the compositor has said which scale it prefers, and be shown
# scaled for a moment: the strip has settled once it is drawn at its scale.
settled() { strip_drawn "$1" && at_art_scale; } # settled OUTPUT
# Art drawn into a buffer of the output's own device pixels keeps the few colours of the palette;
# a buffer the compositor had to scale (whole pixels of another size) comes out with thousands of
# blended ones.
square_pixels() {
    local colours
    colours=$(convert "$SHOTS/shot.png" -crop "${STRIP_W}x${STRIP_H}+$(((WIDTH - STRIP_W) / 2))+$((HEIGHT - STRIP_H))" \
        +repage -format '%k' info:)
    echo "$colours" >"$SHOTS/colours.txt"
    [ -n "$colours" ] && [ "$colours" -le 128 ]
}

# --- the game -----------------------------------------------------------------------------------

# Ten grown lemon trees, the first one hanging full, and a caretaker walking about; the strip on the
# second output (KWin describes its virtual outputs with a blank).
printf '[General]\nhasLaunched=true\nnotificationsOn=false\nscreenID=%s\n' "$(display_number Virtual-1 ' ')" \
    >"$PLAYER_HOME/config/Pipfield/Pipfield.conf"
trees=""
for i in 0 1 2 3 4 5 6 7 8 9; do
    trees+="${trees:+,}{\"kind\":\"eureka\",\"age\":300,\"progress\":0,\"fruit\":$([ $i -eq 0 ] && echo 6 || echo 0)}"
done
cat >"$PLAYER_HOME/data/Pipfield/orchard.json" <<JSON
{"orchard":{"trees":[$trees],"workers":{"caretaker":1},"crate":{"eureka":0},"coins":10,"unlocked":["eureka"]},"lastUpdated":$(($(date +%s) - 978307200)),"weekStarts":{}}
JSON
chown -R "$RUNNER" "$PLAYER_HOME"
start game env WAYLAND_DISPLAY=wayland-pipfield "$APP"

check fractional "at 1.5 drawn at the bottom centre within 1494 x 144 device pixels, two per art pixel" \
    wait_for 30 settled Virtual-1
check fractional "its art pixels are whole device pixels (no colours blended by scaling)" square_pixels
echo "drawn box: $(cat "$SHOTS/box.txt" 2>/dev/null), colours in the strip: $(cat "$SHOTS/colours.txt" 2>/dev/null)"
check outputs "the other output shows no strip" strip_gone Virtual-0

# KWin closes the layer surface on an output switched off before it withdraws the output.
check outputs "the chosen output switched off" switch Virtual-1 disable
check outputs "the strip moves to the output that is left, without restarting" wait_for 20 strip_drawn Virtual-0
check outputs "the chosen output switched on again" switch Virtual-1 enable
check outputs "the strip returns to it" wait_for 20 strip_drawn Virtual-1
check outputs "and leaves the other one" wait_for 10 strip_gone Virtual-0

# An output narrower than the strip at 1.5: 600 points are 900 device pixels, too few for the orchard
# at 2 (the mode divided by the whole scale KWin also announces, 2, would be 450 points), so the art
# is drawn at 1, in 497 x 48 points. Tall enough that the management window stays clear of the
# bottom edge.
kill "${PIDS[@]}" 2>/dev/null
wait_for 10 bash -c "! pgrep -u '$RUNNER' -f '^$WORK/kwin_wayland' >/dev/null"
PIDS=()
rm -f "$RUN"/wayland-pipfield*
start_user_bus
start_kwin 600 1200 1
WIDTH=900
HEIGHT=1800
STRIP_W=746
STRIP_H=72
ART_SCALE=1
start game env WAYLAND_DISPLAY=wayland-pipfield "$APP"
check narrow "on a 600-point output the art is drawn at 1, where the orchard fits: 746 device pixels" \
    wait_for 30 settled Virtual-0

echo "kwin checks took $((SECONDS - started)) s"
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
