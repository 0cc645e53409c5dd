#!/usr/bin/env bash
# Redraws the transport button images (rsc/*.png), the application icon
# (src/gui/AppIcon.xpm) and its installed theme icons (desktop/icons/hicolor)
# with our own drawing program. The results are committed;
# run this only after changing scripts/draw-images.cpp.
# usage: scripts/draw-images.sh [ICON_PREVIEW_PNG]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck disable=SC2046
g++ -std=c++17 -O1 -Wall -Wextra $(wx-config --cxxflags) "$root/scripts/draw-images.cpp" \
    -o "$tmp/draw-images" $(wx-config --libs core,base)
"$tmp/draw-images" "$root/rsc" "$root/src/gui/AppIcon.xpm" "$@"
"$tmp/draw-images" --icons "$root/desktop/icons/hicolor"
