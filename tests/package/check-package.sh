#!/usr/bin/env bash
# Builds the .deb from a release build and checks it as a distribution would: lintian with no error
# and no warning, the desktop entry, the AppStream metadata, the icons, and the unpacked programs
# running from a temporary root (nothing is installed on the system).
# Usage: check-package.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
SRC=$(cd "$1" && pwd)
BUILD=$2
WORK=$(mktemp -d /tmp/pipfield-package.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
passes=0
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

started=$(date +%s)
cmake --build "$BUILD" -j "${JOBS:-2}" >"$WORK/build.log" 2>&1 || { tail -30 "$WORK/build.log"; exit 1; }
(cd "$BUILD" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; exit 1; }
DEB=$(ls -t "$BUILD"/pipfield_*.deb | head -1)
echo "package: $DEB (built in $(($(date +%s) - started)) s)"

# Root is refused by default only as advice; the unpacked files are what is checked either way.
lintian --allow-root --fail-on error,warning --display-info "$DEB" >"$WORK/lintian" 2>&1
status=$?
cat "$WORK/lintian"
check "lintian reports no error and no warning" "[ $status -eq 0 ] && ! grep -qE '^[EW]: ' '$WORK/lintian'"

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT"
check "the programs are games in /usr/games" "[ -x '$ROOT/usr/games/pipfield' ] && [ -x '$ROOT/usr/games/pipfield-cli' ]"
check "both manual pages are in section 6" \
    "[ -s '$ROOT/usr/share/man/man6/pipfield.6.gz' ] && [ -s '$ROOT/usr/share/man/man6/pipfield-cli.6.gz' ]"
check "the desktop entry validates" "desktop-file-validate '$ROOT/usr/share/applications/pipfield.desktop'"
check "the desktop entry is a simulation game" \
    "grep -qx 'Categories=Game;Simulation;' '$ROOT/usr/share/applications/pipfield.desktop'"
METAINFO=$(ls "$ROOT"/usr/share/metainfo/*.metainfo.xml 2>/dev/null | head -1)
check "the AppStream metadata validates" "[ -n '$METAINFO' ] && appstreamcli validate --no-net '$METAINFO'"
check "the metadata speaks Korean and English" \
    "grep -q '<summary xml:lang=\"ko\">' '$METAINFO' && grep -q '<p xml:lang=\"ko\">' '$METAINFO' && grep -q '<summary>' '$METAINFO'"
for size in 16 22 24 32 48 64 128 256; do
    icon=$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/pipfield.png
    check "icon $size x $size" "[ \"\$(identify -format '%wx%h' '$icon' 2>/dev/null)\" = ${size}x${size} ]"
done

# The unpacked programs run from the temporary root, on a fixture, away from the player's files.
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
version=$(sed -n 's/^project(Pipfield VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
check "the unpacked pipfield --version answers $version" \
    "[ \"\$(env -u DISPLAY '$ROOT/usr/games/pipfield' --version)\" = 'pipfield $version' ]"
check "the package's version is the program's" "[ \"\$(dpkg-deb -f '$DEB' Version)\" = '$version' ]"
"$ROOT/usr/games/pipfield-cli" status "$SRC/tests/data/late-game.json" >"$WORK/status" 2>&1
check "the unpacked pipfield-cli status reads a save" "[ $? -eq 0 ] && grep -qx '코인 1234567' '$WORK/status'"

echo "$passes passed, $failures failed ($(($(date +%s) - started)) s)"
[ $failures -eq 0 ]
