#!/usr/bin/env bash
# The real programs answer --help and --version without a display and without touching the player's
# files; a command line they do not understand is one line and exit status 2. The command-line tool reads
# the player's save and never writes it.
# Usage: command-line-e2e.sh PIPFIELD PIPFIELD-CLI
set -uo pipefail
APP=$1
CLI=$2
WORK=$(mktemp -d /tmp/pipfield-cmdline.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
passes=0
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
untouched() { [ -z "$(find "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" -mindepth 1 | head -1)" ]; }

for program in "$APP" "$CLI"; do
    name=$(basename "$program")
    timeout 20 "$program" --help >"$WORK/out" 2>"$WORK/err"
    check "$name --help exits 0" '[ $? -eq 0 ]'
    check "$name --help prints usage" "head -1 '$WORK/out' | grep -q '^Usage: $name'"
    check "$name --help ends in a newline" "[ \"\$(tail -c 1 '$WORK/out' | od -An -c | tr -d ' ')\" = '\\n' ]"
    check "$name --help is quiet on stderr" "[ ! -s '$WORK/err' ]"
    timeout 20 "$program" --version >"$WORK/out" 2>"$WORK/err"
    check "$name --version exits 0" '[ $? -eq 0 ]'
    check "$name --version names the version" "grep -qx '$name [0-9][0-9.]*' '$WORK/out'"
    timeout 20 "$program" --no-such-option >"$WORK/out" 2>"$WORK/err"
    check "$name with an unknown option exits 2" '[ $? -eq 2 ]'
    check "$name says so in one line" "[ \"\$(wc -l <'$WORK/err')\" -eq 1 ] && [ ! -s '$WORK/out' ]"
done
check "no save, settings, lock or folder was made" untouched
# The tool reads the player's own save and never writes it, whatever the command asks.
LATE=$(dirname "$0")/../data/late-game.json
SAVE=$XDG_DATA_HOME/Pipfield/orchard.json
mkdir -p "$XDG_DATA_HOME/Pipfield" && cp "$LATE" "$SAVE" && touch -d '2026-01-01 12:00' "$SAVE"
for args in "buy crate" "simulate --seconds 600 --season winter" "decode"; do
    timeout 20 "$CLI" $args >/dev/null 2>&1
    check "pipfield-cli $args on the player's save exits 0" '[ $? -eq 0 ]'
done
timeout 20 "$CLI" value >/dev/null 2>&1
check "pipfield-cli value without a season exits 2" '[ $? -eq 2 ]'
timeout 20 "$CLI" decode /nonexistent >/dev/null 2>&1
check "pipfield-cli decode of a missing file exits 1" '[ $? -eq 1 ]'
check "the player's save was never written" \
    "cmp -s '$LATE' '$SAVE' && [ \"\$(stat -c %Y '$SAVE')\" = \"\$(date -d '2026-01-01 12:00' +%s)\" ]"
check "pipfield --help lists the launch settings" \
    "\"$APP\" --help | grep -q -- '-demo late' && \"$APP\" --help | grep -q -- '-season SEASON' && \"$APP\" --help | grep -q -- '-hour HOUR'"

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
