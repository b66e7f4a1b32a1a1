#!/bin/bash
# Runs the scene benchmark for 60 s on a private X server with a window manager, as the strip
# runs on a desktop. Usage: bench/scene/run.sh path/to/pipfield-scene-bench [options]
set -euo pipefail
bench=$1
shift
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x300x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
wm=
for _ in $(seq 50); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.1
done
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
DISPLAY=$display QT_QPA_PLATFORM=xcb "$bench" "$@"
