# The sessions of compositors that refuse root (sway, KWin on Wayland): the compositor, its session bus
# and the game run as an unprivileged user of the checks' own. Sourced after checks.sh; the caller keeps
# PIDS (the processes to end) and may set PLAYER_HOME, the player's home with its data and settings
# folders ($WORK when unset).

RUNNER=${PIPFIELD_E2E_USER:-pipfield-e2e}
# The desktop the checks were started from must not leak into the session: a compositor would nest in it.
unset WAYLAND_DISPLAY SWAYSOCK

# start_user_session NAME TOOL...: every tool is there, the user exists, and WORK (readable by the user)
# holds RUN, the user's runtime folder.
start_user_session() {
    local name=$1 tool
    shift
    for tool in "$@" runuser dbus-daemon; do
        command -v "$tool" >/dev/null || { echo "FAILED: $tool is missing"; exit 1; }
    done
    id "$RUNNER" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$RUNNER" ||
        { echo "FAILED: cannot create the user $RUNNER"; exit 1; }
    WORK=$(mktemp -d "/tmp/pipfield-$name.XXXXXX")
    chmod 755 "$WORK"
    RUN=$WORK/run
    mkdir -p "$RUN" && chown "$RUNNER" "$RUN" && chmod 700 "$RUN"
}

# as_user COMMAND...: the command as the test's user, in the player's folders, on the session's bus, and
# in the compositor's session once WAYLAND_DISPLAY (and SWAYSOCK) name it.
as_user() {
    local session=() home=${PLAYER_HOME:-$WORK}
    [ -n "${WAYLAND_DISPLAY:-}" ] && session+=(WAYLAND_DISPLAY="$WAYLAND_DISPLAY")
    [ -n "${SWAYSOCK:-}" ] && session+=(SWAYSOCK="$SWAYSOCK")
    runuser -u "$RUNNER" -- env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="$RUN" \
        XDG_SESSION_TYPE=wayland "${session[@]}" DBUS_SESSION_BUS_ADDRESS="unix:path=$RUN/bus" \
        XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
        QT_MESSAGE_PATTERN='%{type} %{category}: %{message}' QT_LOGGING_RULES='pipfield.desktop.info=true' "$@"
}

# start_as_user LOG COMMAND...: the command as the test's user in the background; its own process id
# joins PIDS (not the id of runuser, which does not pass a signal on).
start_as_user() {
    local log=$1 pidfile
    shift
    pidfile=$RUN/started.$RANDOM.pid
    as_user sh -c 'echo $$ >"$0"; exec "$@"' "$pidfile" "$@" >"$log" 2>&1 &
    wait_for 10 test -s "$pidfile" && PIDS+=("$(cat "$pidfile")")
}

start_user_bus() { start_as_user /dev/null dbus-daemon --session --nofork --address="unix:path=$RUN/bus"; }

# end_user_session: ends what the checks started, and the copy of the game that waits to deliver the
# crate-full notification in this session's runtime folder; removes WORK unless KEEP_E2E is set.
end_user_session() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    pkill -u "$RUNNER" -f -- "^$APP --pipfield-deliver-notification" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_E2E:-}" ] || rm -rf "$WORK"
}

# The same display number the program derives from an output's name and description.
display_number() { # display_number NAME DESCRIPTION
    local hash=2166136261 byte
    for byte in $(printf '%s\x1f%s' "$1" "$2" | od -An -tu1); do
        hash=$((((hash ^ byte) * 16777619) & 0xFFFFFFFF))
    done
    [ "$hash" -eq 0 ] && hash=1
    echo "$hash"
}
