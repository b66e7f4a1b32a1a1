#!/usr/bin/env bash
# The snapshot mode draws every picture without a display and leaves the player's files alone.
# Usage: snapshot-e2e.sh PIPFIELD
set -uo pipefail
APP=$1
WORK=$(mktemp -d /tmp/pipfield-snapshot.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY
passes=0
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
size() { identify -format '%wx%h' "$1" 2>/dev/null; }

"$APP" --snapshot "$WORK/demo" -demo late
check "snapshot of the demo orchard exits 0" '[ $? -eq 0 ]'
for f in strip.png manage-0.png manage-1.png manage-2.png manage-3.png manage-4.png manage-5.png card.png; do
    check "$f is written" "[ -s '$WORK/demo/$f' ]"
done
check "the card is 1200 x 760" "[ \"\$(size '$WORK/demo/card.png')\" = 1200x760 ]"
check "the strip is 72 points high" "[[ \"\$(size '$WORK/demo/strip.png')\" == *x72 || \"\$(size '$WORK/demo/strip.png')\" == *x144 ]]"
check "the window tabs are 600 x 700" "[[ \"\$(size '$WORK/demo/manage-3.png')\" == 600x700 || \"\$(size '$WORK/demo/manage-3.png')\" == 1200x1400 ]]"
# The same pictures in English: every text of the window changes, nothing else does.
LANGUAGE=en "$APP" --snapshot "$WORK/demo-en" -demo late
check "an English snapshot exits 0" '[ $? -eq 0 ]'
LANGUAGE=ko "$APP" --snapshot "$WORK/demo-ko" -demo late
check "the settings tab reads differently in English" \
    "! compare -metric AE '$WORK/demo/manage-5.png' '$WORK/demo-en/manage-5.png' null: 2>/dev/null"
# Below the header, which holds numbers in the language's own compact form, the tab has only texts.
tab_texts() { convert "$1" -gravity south -crop 100%x60%+0+0 +repage "$2"; }
tab_texts "$WORK/demo/manage-5.png" "$WORK/texts-default.png"
tab_texts "$WORK/demo-ko/manage-5.png" "$WORK/texts-ko.png"
check "a Korean language setting draws the same Korean texts" \
    "compare -metric AE '$WORK/texts-default.png' '$WORK/texts-ko.png' null: 2>/dev/null"
check "demo mode writes no save file" "[ ! -e '$XDG_DATA_HOME/Pipfield/orchard.json' ]"

mkdir -p "$XDG_DATA_HOME/Pipfield"
printf '{"orchard":{"trees":[{"kind":"lime","age":0,"progress":0,"fruit":0}],"workers":{}},"lastUpdated":0,"weekStarts":{}}' \
    >"$XDG_DATA_HOME/Pipfield/orchard.json"
cp "$XDG_DATA_HOME/Pipfield/orchard.json" "$WORK/before.json"
"$APP" --snapshot "$WORK/player"
check "snapshot of the player's save exits 0" '[ $? -eq 0 ]'
check "the player's save file is left exactly as it was" "cmp -s '$WORK/before.json' '$XDG_DATA_HOME/Pipfield/orchard.json'"
check "no settings were written" "! grep -q hasLaunched '$XDG_CONFIG_HOME/Pipfield/Pipfield.conf' 2>/dev/null"
echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
