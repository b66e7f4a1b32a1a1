#!/usr/bin/env bash
# What the real program costs on a desktop: the release `pipfield` on its own Xvfb with openbox, an
# XEmbed tray and a private session bus, playing a late-game orchard whose save is three days old
# (so the launch includes a full catch-up). The runs: the strip by day, by night and hidden; by night
# at 2 device pixels per point (a 3840 x 2160 screen, QT_SCALE_FACTOR=2); by night with the desktop's
# power saver on, at 1 and at 2 (a stand-in portal says so); and by night behind an active screen saver
# (a stand-in screen saver says so).
#
#   bench/desktop/run.sh PIPFIELD [SECONDS [FLOOR [SERVICE]]]    (default 60 s of measuring per run)
#
# BENCH_RUNS picks the runs ("day night saver hidden locked night2 saver2 night15 floor floor6 xcbfloor" by
# default), BENCH_WARMUP the seconds before measuring. SERVICE is bench/desktop's
# pipfield-fake-desktop-service, which the saver and locked runs need. FLOOR, when given, is
# bench/desktop's pipfield-paint-floor: the "floor" run measures a bare strip-sized Qt window
# repainting one small patch 18 times a second, the rate of the strip while someone walks, and
# "floor6" six patches apart at each paint, as six walking workers damage the strip, to show how much
# of the cost is Qt and the X server's alone; "xcbfloor" runs pipfield-xcb-floor from the same folder,
# which puts the six patches with xcb alone, no toolkit: the X server's own floor. "qtwake" and
# "wake" (not run by default) wake as often and paint nothing, in Qt's event loop and without it.
#
# For each run it prints the milliseconds from launch to the strip's first paint, the CPU time of
# the program and of the X server over the measuring window as a percentage of one core (utime +
# stime from /proc, so other load on the machine does not count, though it still disturbs caches
# and timing), resident and peak memory (VmRSS, VmHWM) at the end, and the strip's paints and
# wake-ups per second (counted by the program, logged under pipfield.scene at debug level once a
# second).
set -uo pipefail

APP=$(realpath "$1")
MEASURE=${2:-60}
FLOOR=${3:-}
SERVICE=${4:-}
WARMUP=${BENCH_WARMUP:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
SAVE=$HERE/../../tests/data/late-game.json
WORK=$(mktemp -d /tmp/pipfield-bench.XXXXXX)
PIDS=()
declare -A CPU=()
TICK=$(getconf CLK_TCK)

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

wait_for() { # wait_for SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.05
    done
}

cpu_ticks() { # utime + stime of a process, in clock ticks
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}

status_kb() { # status_kb PID FIELD
    awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status"
}

# The n-th number after "paints" in the last log line at or before a wall-clock time (ms).
count_at() { # count_at LOG MS FIELD
    awk -v limit="$2" -v field="$3" -F'|' '
        $2 == "pipfield.scene" && $3 ~ /^paints / {
            if ($1 + 0 <= limit + 0) { split($3, w, " "); value = w[field] }
        }
        END { print value + 0 }' "$1"
}

now_ms() { date +%s%3N; }

start_desktop() { # start_desktop NAME [SCREEN]: sets DISPLAY, XVFB and the session bus
    local fd=$WORK/$1.display
    # Emptied before Xvfb starts, so that a run repeated under the same name waits for its own display.
    : >"$fd"
    Xvfb -displayfd 3 -screen 0 ${2:-1920x1080}x24 -nolisten tcp 3>"$fd" >/dev/null 2>&1 &
    XVFB=$!
    PIDS+=($XVFB)
    wait_for 10 test -s "$fd" || { echo "$1: Xvfb did not start"; return 1; }
    export DISPLAY=:$(cat "$fd")
    openbox >/dev/null 2>&1 &
    PIDS+=($!)
    wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window'
    trayer --edge top --align right --widthtype pixel --width 200 --heighttype pixel --height 24 >/dev/null 2>&1 &
    PIDS+=($!)
    eval "$(dbus-launch --sh-syntax)"
}

stop_desktop() {
    kill "${PIDS[@]}" 2>/dev/null
    wait "${PIDS[@]}" 2>/dev/null
    PIDS=()
    kill "$DBUS_SESSION_BUS_PID" 2>/dev/null
    unset DBUS_SESSION_BUS_PID
}

# The floor: a bare strip-sized Qt window repainting small patches as often as the strip paints, or
# with PROGRAM the xcb one putting them without a toolkit.
floor() { # floor RATE PATCHES [PROGRAM]
    local program=${3:-$FLOOR}
    [ -x "$program" ] || return 0
    start_desktop floor || return 1
    local x0 x1
    x0=$(cpu_ticks $XVFB)
    local line
    line=$("$program" --rate "$1" --patches "$2" --seconds "$MEASURE" 2>/dev/null)
    x1=$(cpu_ticks $XVFB)
    stop_desktop
    echo "$line" | awk -v xcpu=$((x1 - x0)) -v tick="$TICK" -v s="$((MEASURE + 1))" \
        '{ printf "%s xserver_cpu_percent=%.2f (a bare window of the strip'"'"'s size)\n", $0, 100 * xcpu / tick / s }'
}

# run NAME SETTINGS-LINES ARGUMENTS...; SCREEN (the Xvfb screen), SCALE (QT_SCALE_FACTOR) and FAKE (what
# the stand-in desktop service plays) apply to the run when set.
run() {
    local name=$1 settings=$2
    shift 2
    local home=$WORK/$name
    mkdir -p "$home/data/Pipfield" "$home/config/Pipfield" "$home/run"
    chmod 700 "$home/run"
    # Three days ago, in seconds since 2001-01-01 UTC as the save file counts them.
    local last=$(($(date +%s) - 978307200 - 3 * 86400))
    sed -E "s/\"lastUpdated\":[0-9.]+/\"lastUpdated\":$last/" "$SAVE" >"$home/data/Pipfield/orchard.json"
    printf '[General]\nhasLaunched=true\nnotificationsOn=false\n%b' "$settings" >"$home/config/Pipfield/Pipfield.conf"

    start_desktop "$name" "${SCREEN:-}" || return 1
    local xvfb=$XVFB
    if [ -n "${FAKE:-}" ]; then
        [ -x "$SERVICE" ] || { echo "$name: needs pipfield-fake-desktop-service"; stop_desktop; return 1; }
        "$SERVICE" "$FAKE" >/dev/null 2>&1 &
        PIDS+=($!)
        local service=${FAKE/screensaver/org.freedesktop.ScreenSaver}
        service=${service/powersaver/org.freedesktop.portal.Desktop}
        wait_for 10 dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner \
            "string:$service" || { echo "$name: the stand-in $FAKE did not start"; stop_desktop; return 1; }
    fi

    local log=$WORK/$name.log
    local start
    start=$(now_ms)
    HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run \
        QT_LOGGING_RULES="pipfield.scene.debug=true" QT_SCALE_FACTOR=${SCALE:-1} \
        QT_MESSAGE_PATTERN="%{time yyyy-MM-dd HH:mm:ss.zzz}|%{category}|%{message}" \
        "$APP" "$@" 2>"$log" &
    local app=$!
    PIDS+=($app)

    local launch="-"
    if wait_for 20 grep -q '|first paint' "$log"; then
        local painted
        painted=$(date -d "$(grep -m1 '|first paint' "$log" | cut -d'|' -f1)" +%s%3N)
        launch=$((painted - start))
    fi
    sleep "$WARMUP"

    local t0 c0 x0 v0 t1 c1 x1 v1
    t0=$(now_ms)
    c0=$(cpu_ticks $app)
    x0=$(cpu_ticks $xvfb)
    v0=$(status_kb $app voluntary_ctxt_switches)
    sleep "$MEASURE" # the measuring window itself
    t1=$(now_ms)
    c1=$(cpu_ticks $app)
    x1=$(cpu_ticks $xvfb)
    v1=$(status_kb $app voluntary_ctxt_switches)
    sleep 1.1 # lets the once-a-second count past t1 reach the log
    local rss hwm
    rss=$(status_kb $app VmRSS)
    hwm=$(status_kb $app VmHWM)
    local logt0 logt1
    logt0=$(date -d "@$((t0 / 1000)).$(printf %03d $((t0 % 1000)))" '+%Y-%m-%d %H:%M:%S.%3N')
    logt1=$(date -d "@$((t1 / 1000)).$(printf %03d $((t1 % 1000)))" '+%Y-%m-%d %H:%M:%S.%3N')
    # Wall-clock log stamps compared as numbers: strip them to digits.
    local digits=$WORK/$name.digits
    sed -E 's/^([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{2}):([0-9]{2}):([0-9]{2})\.([0-9]{3})/\1\2\3\4\5\6\7/' "$log" >"$digits"
    local k0 k1 p0 p1 f0 f1 w0 w1 m0 m1
    k0=$(echo "$logt0" | tr -d -- '-: .')
    k1=$(echo "$logt1" | tr -d -- '-: .')
    p0=$(count_at "$digits" "$k0" 2)
    p1=$(count_at "$digits" "$k1" 2)
    f0=$(count_at "$digits" "$k0" 4)
    f1=$(count_at "$digits" "$k1" 4)
    w0=$(count_at "$digits" "$k0" 6)
    w1=$(count_at "$digits" "$k1" 6)
    m0=$(count_at "$digits" "$k0" 8)
    m1=$(count_at "$digits" "$k1" 8)

    kill $app 2>/dev/null
    wait $app 2>/dev/null
    local warnings
    warnings=$(grep -v '|pipfield.scene|' "$log" | grep -c . || true)
    stop_desktop

    CPU[$name]=$(awk -v cpu=$((c1 - c0)) -v tick="$TICK" -v ms=$((t1 - t0)) 'BEGIN { printf "%.4f", 100 * cpu / tick / (ms / 1000) }')
    awk -v name="$name" -v launch="$launch" -v ms=$((t1 - t0)) -v tick="$TICK" \
        -v cpu="${CPU[$name]}" -v xcpu=$((x1 - x0)) -v wakes=$((v1 - v0)) -v rss="$rss" -v hwm="$hwm" \
        -v paints=$((p1 - p0)) -v flushes=$((f1 - f0)) -v walking=$((w1 - w0)) -v walkms=$((m1 - m0)) \
        -v warnings="$warnings" 'BEGIN {
        s = ms / 1000
        still = s - walkms / 1000
        printf "%-6s launch_to_strip_ms=%s cpu_percent=%.2f xserver_cpu_percent=%.2f rss_mb=%.1f peak_rss_mb=%.1f paints_per_second=%.1f paints_per_second_nobody_walking=%s walking_share=%.0f%% scene_wakeups_per_second=%.1f wakeups_per_second=%.1f other_log_lines=%d\n",
            name, launch, cpu, 100 * xcpu / tick / s, rss / 1024, hwm / 1024,
            paints / s, (still > 0.5 ? sprintf("%.1f", (paints - walking) / still) : "-"), 100 * walkms / 1000 / s,
            flushes / s, wakes / s, warnings
    }'
    [ "$warnings" -gt 0 ] && grep -v '|pipfield.scene|' "$log" | head -5 | sed "s/^/$name log: /"
    return 0
}

# The program's CPU in one run as a share of another's, when both ran.
share() { # share RUN OF
    [ -n "${CPU[$1]:-}" ] && [ -n "${CPU[$2]:-}" ] || return 0
    awk -v a="${CPU[$1]}" -v b="${CPU[$2]}" -v name="$1_of_$2" \
        'BEGIN { if (b > 0) printf "%s_percent=%.0f\n", name, 100 * a / b }'
}

echo "pipfield desktop benchmark: ${MEASURE} s per run after ${WARMUP} s of warm-up, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
# A run follows the one it is compared with, so that the machine's drift over the whole benchmark
# falls on both alike.
for which in ${BENCH_RUNS:-day night saver hidden locked night2 saver2 night15 floor floor6 xcbfloor}; do
    case $which in
    day) run day "" -hour 12 ;;
    night) run night "" -hour 22 ;;
    hidden) run hidden "stripShown=false\n" -hour 22 ;;
    night2) SCREEN=3840x2160 SCALE=2 run night2 "" -hour 22 ;;
    night15) SCREEN=2880x1620 SCALE=1.5 run night15 "" -hour 22 ;;
    saver) FAKE=powersaver run saver "" -hour 22 ;;
    saver2) SCREEN=3840x2160 SCALE=2 FAKE=powersaver run saver2 "" -hour 22 ;;
    locked) FAKE=screensaver run locked "" -hour 22 ;;
    floor) floor 18 1 ;;
    # As many patches apart as the late-game orchard has workers walking at once.
    floor6) floor 18 6 ;;
    # The same without a toolkit: what the X server alone costs for it.
    xcbfloor) floor 18 6 "$(dirname "$FLOOR")/pipfield-xcb-floor" ;;
    # Woken as often, painting nothing: the cost of a wake-up in Qt's event loop, and without a toolkit.
    qtwake) floor 18 0 ;;
    wake) floor 18 0 "$(dirname "$FLOOR")/pipfield-xcb-floor" ;;
    esac
done
# The power saver's goal is a share of the normal run at the same scale.
share saver night
share saver2 night2
