#!/usr/bin/env bash
# Installs every Debian package the player, its tests and its benchmarks need.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
    build-essential cmake pkg-config make
    libwxgtk3.2-dev libwxgtk-media3.2-dev libgtk-3-dev
    libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly gstreamer1.0-libav
    gstreamer1.0-x gstreamer1.0-alsa
    libcdio-dev libcdio-paranoia-dev libiso9660-dev
    libmp3lame-dev
    lame mpv
    libgtest-dev libgmock-dev
    xvfb xauth xdotool trayer x11-utils desktop-file-utils
    openbox pulseaudio pulseaudio-utils gdb
    dbus playerctl
    clang libclang-rt-14-dev lld
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
