#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the desktop program need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git ccache python3 lld
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libqt6dbus6 libqt6svg6 qt6-qpa-plugins
    libgl-dev libxcb1-dev libxcb-xfixes0-dev libxcb-shape0-dev libx11-dev libx11-xcb-dev
    nlohmann-json3-dev libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format clang-tidy clang-tools
    fonts-noto-cjk
    xvfb xauth openbox picom x11-utils xdotool wmctrl imagemagick
    xfwm4 kwin-x11 i3-wm mutter xwayland procps
    dbus dbus-x11 libnotify-bin trayer dunst dpkg-dev file
    lintian desktop-file-utils appstream
    libwayland-dev wayland-protocols qt6-wayland sway grim xwayland libglib2.0-bin strace
    kwin-wayland plasma-wayland-protocols
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
