#!/bin/bash
# under-xvfb.sh WIDTHxHEIGHT COMMAND...: runs COMMAND against a private Xvfb of that size, with no
# window manager, and ends the server after it. The server picks a free display number itself, so
# runs beside each other never share one.
set -u
size=$1
shift
work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if ! [ -s "$work/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
DISPLAY=:$(head -n 1 "$work/display") QT_QPA_PLATFORM=xcb "$@"
