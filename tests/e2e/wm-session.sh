# Starting and stopping the window managers the end-to-end checks run on. Sourced by desktop-e2e.sh,
# which provides wait_for and the PIDS list.
#
# start_session WM WIDTHxHEIGHT starts an X server with the window manager WM and exports DISPLAY
# (and XAUTHORITY where the server wants one); stop_session ends both.
#   openbox  Xvfb with openbox
#   xfwm4    Xvfb with Xfwm4 and its compositor
#   kwin     Xvfb with KWin on X11 (OpenGL compositing on the software renderer)
#   i3       Xvfb with i3
#   mutter   Mutter headless as a Wayland compositor, the game on its XWayland
# PIXELS is set to 1 when the root window's pixels are what the screen shows (not under XWayland).

# The unprivileged user compositors that refuse root run as.
SESSION_USER=pipfield-e2e

# kill_own PID...: ends processes this script started that still run. The ids of processes that have
# ended are soon given to others (tests of other suites run beside these), so an id is only
# signalled while this shell is still its parent.
kill_own() {
    local pid
    for pid in "$@"; do
        [ "$(ps -o ppid= -p "$pid" 2>/dev/null | tr -d ' ')" = "$$" ] && kill "$pid" 2>/dev/null
    done
    true
}

announced_or_gone() { wm_announced || ! kill -0 "$1" 2>/dev/null || ! kill -0 "$XVFB_PID" 2>/dev/null; }
wm_announced() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_xvfb() { # start_xvfb WIDTHxHEIGHT: the server picks a free display number and tells it
    rm -f "$WORK/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    PIDS+=($XVFB_PID)
    wait_for 10 test -s "$WORK/display" || return 1
    local number
    number=$(head -n 1 "$WORK/display")
    if [ "$number" = 0 ]; then
        # :0 is the display that desktops and other tools take for granted (here clients could not
        # reach a server there that did answer xdpyinfo); while this one holds it, another is
        # started on the next free number.
        local placeholder=$XVFB_PID
        start_xvfb "$1"
        local status=$?
        kill_own "$placeholder"
        return $status
    fi
    export DISPLAY=:$number
    unset XAUTHORITY
    wait_for 10 xdpyinfo
}

start_window_manager() { # start_window_manager WM: on the X server just started
    case $1 in
    openbox)
        openbox >"$WORK/openbox.log" 2>&1 &
        ;;
    xfwm4)
        # With its compositor, which draws shadows under docks unless they keep out of them.
        xfwm4 --compositor=on --sm-client-disable >"$WORK/xfwm4.log" 2>&1 &
        ;;
    kwin)
        QT_QPA_PLATFORM=xcb KWIN_COMPOSE=O2 kwin_x11 --replace >"$WORK/kwin.log" 2>&1 &
        ;;
    i3)
        # Without its first line i3 takes the file for an old format and converts it first.
        cat >"$WORK/i3.config" <<'CONFIG'
# i3 config file (v4)
font pango:monospace 8
focus_follows_mouse no
CONFIG
        i3 -c "$WORK/i3.config" >"$WORK/i3.log" 2>&1 &
        ;;
    *)
        echo "unknown window manager: $1"
        exit 1
        ;;
    esac
    WM_PID=$!
    PIDS+=($WM_PID)
    # Given up at once when the window manager or the server is gone.
    wait_for 30 announced_or_gone "$WM_PID"
    wm_announced || return 1
    if [ "$1" = xfwm4 ]; then
        wait_for 20 bash -c 'xprop -root | grep -q _NET_WM_CM_S0 || xwininfo -root -tree | grep -q xfwm4'
    fi
}

start_session() { # start_session WM WIDTHxHEIGHT
    local wm=$1 size=$2 attempt
    if [ "$wm" = mutter ]; then
        PIXELS=0
        start_mutter "$size"
        return
    fi
    PIXELS=1
    # A display number can be taken from under a new server by another one starting at the same
    # moment (on a machine that runs several test suites), or be unreachable for reasons of its own.
    # Only the window manager of a failed attempt is ended: its server keeps the number until the
    # session stops, so that the next attempt gets another.
    for attempt in 1 2 3; do
        WM_PID=""
        start_xvfb "$size" && start_window_manager "$wm" && break
        echo "$wm on $DISPLAY did not start (attempt $attempt): $(tail -n 3 "$WORK/$wm.log" 2>/dev/null | tr '\n' ' ')"
        [ -n "$WM_PID" ] && kill_own "$WM_PID" && wait "$WM_PID" 2>/dev/null
        [ "$attempt" = 3 ] && exit 1
    done
    # Two desktops at least, for the check that the strip is on every one. A window manager still
    # settling can drop the request, so it is repeated until it holds.
    [ "$wm" = i3 ] || wait_for 10 two_desktops || echo "$wm: still $(xprop -root _NET_NUMBER_OF_DESKTOPS)"
}

two_desktops() { # asks for two desktops unless there are two or more already
    xprop -root _NET_NUMBER_OF_DESKTOPS | grep -qE '= ([2-9]|[1-9][0-9]+)$' && return 0
    wmctrl -n 2 2>/dev/null
    return 1
}

start_mutter() { # Mutter refuses to run as root: it runs as an unprivileged user of its own.
    id "$SESSION_USER" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$SESSION_USER"
    local home=$WORK/mutter-home
    local runtime=$WORK/mutter-run
    mkdir -p "$home" "$runtime"
    chown "$SESSION_USER" "$home" "$runtime"
    chmod 700 "$runtime"
    chmod 755 "$WORK"
    runuser -u "$SESSION_USER" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="$runtime" \
        dbus-run-session -- mutter --headless --wayland --virtual-monitor "$1" >"$WORK/mutter.log" 2>&1 &
    PIDS+=($!)
    MUTTER_RUNTIME=$runtime
    wait_for 30 grep -q 'Using public X11 display' "$WORK/mutter.log" || { echo "mutter did not start"; cat "$WORK/mutter.log"; exit 1; }
    export DISPLAY
    DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$WORK/mutter.log" | head -n 1)
    wait_for 10 bash -c "ls $runtime/.mutter-Xwaylandauth.* >/dev/null 2>&1"
    XAUTHORITY=$(ls "$runtime"/.mutter-Xwaylandauth.* | head -n 1)
    export XAUTHORITY
    # XWayland starts with its first client; the window manager announces itself once it runs.
    wait_for 30 bash -c 'xdpyinfo >/dev/null 2>&1 && xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        { echo "XWayland did not start"; cat "$WORK/mutter.log"; exit 1; }
}

stop_session() {
    kill_own "${PIDS[@]}"
    wait "${PIDS[@]}" 2>/dev/null
    PIDS=()
    # Mutter's own children (XWayland, the bus) carry the session's runtime folder.
    if [ -n "${MUTTER_RUNTIME:-}" ]; then
        local pid
        for pid in $(pgrep -u "$SESSION_USER"); do
            { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$MUTTER_RUNTIME" && kill "$pid"
        done
    fi
    true
}

switch_desktop() { # switch_desktop N (counting from 0): true once it is the current desktop, within 10 s
    # A busy window manager can drop the request, so it is made again until it has taken effect.
    wait_for 10 desktop_switched "$1"
}

desktop_switched() { # asks for desktop N unless it is the current one already
    on_desktop "$1" && return 0
    if [ "$WM" = i3 ]; then
        i3-msg "workspace $(($1 + 1))" >/dev/null
    else
        wmctrl -s "$1"
    fi
    sleep 0.2
    on_desktop "$1"
}

on_desktop() { # on_desktop N: desktop N (counting from 0) is the current one
    if [ "$WM" = i3 ]; then
        # i3 drops an empty workspace when it is left, so the EWMH index says little there.
        i3-msg -t get_workspaces | tr '{' '\n' | grep '"focused":true' | grep -q "\"num\":$(($1 + 1)),"
    else
        xprop -root _NET_CURRENT_DESKTOP | grep -q "= $1\$"
    fi
}
