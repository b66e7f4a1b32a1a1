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

# The language comes from the player's environment alone, whatever the machine running the test has.
unset LANGUAGE LC_ALL LC_MESSAGES LC_NUMERIC LC_TIME
# snapshot DIR VAR=VALUE...: the late-game demo in that environment, into $WORK/DIR.
snapshot() {
    local dir=$1
    shift
    env "$@" "$APP" --snapshot "$WORK/$dir" -demo late
}
snapshot ko LANG=ko_KR.UTF-8
check "snapshot of the demo orchard exits 0" '[ $? -eq 0 ]'
for f in strip.png manage-0.png manage-1.png manage-2.png manage-3.png manage-4.png manage-5.png card.png; do
    check "$f is written" "[ -s '$WORK/ko/$f' ]"
done
check "the card is 1200 x 760" "[ \"\$(size '$WORK/ko/card.png')\" = 1200x760 ]"
check "the strip is 72 points high" "[[ \"\$(size '$WORK/ko/strip.png')\" == *x72 || \"\$(size '$WORK/ko/strip.png')\" == *x144 ]]"
check "the window tabs are 600 x 700" "[[ \"\$(size '$WORK/ko/manage-3.png')\" == 600x700 || \"\$(size '$WORK/ko/manage-3.png')\" == 1200x1400 ]]"

# A player who reads no Korean gets English, words and numbers alike: a German system draws what an
# American one does, "1.2M" and "Mar 30" included, not "1,2 Mio." and "30. März".
check "a snapshot with LANG=en_US exits 0" "snapshot en LANG=en_US.UTF-8"
check "a snapshot with LANG=de_DE exits 0" "snapshot de LANG=de_DE.UTF-8"
check "a snapshot with LANG=C exits 0" "snapshot c LANG=C"
check "a snapshot with LANGUAGE=de:ko exits 0" "snapshot de-ko LANG=ko_KR.UTF-8 LANGUAGE=de:ko"
# (LANG stays Korean where Korean is drawn: the fonts chosen for Hangul follow it, whatever the texts' language.)
check "a snapshot with LANGUAGE=ko:en exits 0" "snapshot ko-en LANG=ko_KR.UTF-8 LANGUAGE=ko:en"
same() { compare -metric AE "$WORK/$1/$3" "$WORK/$2/$3" null: 2>/dev/null; }
check "the settings tab reads differently in English" "! same ko en manage-5.png"
check "the card reads differently in English" "! same ko en card.png"
for f in manage-0.png manage-5.png card.png; do
    check "LANG=de_DE draws $f in English" "same de en $f"
    check "LANG=C draws $f in English" "same c en $f"
    check "Korean before German, which has no catalogue, draws $f in Korean" "same de-ko ko $f"
    check "Korean before English draws $f in Korean" "same ko-en ko $f"
done
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
