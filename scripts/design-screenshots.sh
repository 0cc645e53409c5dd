#!/usr/bin/env bash
# Pictures of the windows in the design that BrelkosPlayer.cfg selects, for
# docs/designs.md: runs the real program on the test media under test-env.sh's
# private X server, opens the search and encode windows with clicks, and
# grabs each window with GStreamer's ximagesrc.
# Usage: scripts/design-screenshots.sh [BUILD_FOLDER] [OUTPUT_FOLDER]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
out="$(mkdir -p "${2:-docs}" && cd "${2:-docs}" && pwd)"

if [ -z "${BRELKOS_SCREENSHOT_DISPLAY:-}" ]; then
    exec "$here/test-env.sh" env BRELKOS_SCREENSHOT_DISPLAY=1 "$0" "$build" "$out"
fi

data="$here/../tests/data"
"$build/BrelkosPlayer" "$data/tone.mp3" "$data/tone.wav" "$data/tone.ogg" "$data/tone.wma" &
player=$!
trap 'kill "$player" 2>/dev/null || true' EXIT

# The first window of that exact title (xdotool waits for it to be mapped).
window() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
# Clicks at x, y inside a window.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
shoot() { # window id, file
    gst-launch-1.0 -q ximagesrc xid="$1" num-buffers=1 use-damage=false ! videoconvert ! pngenc \
        ! filesink location="$out/$2"
    echo "$out/$2"
}

main=$(window "Brelko's Player")
playlist=$(window "Playlist")
click "$playlist" 145 580 # Chercher
search=$(window "Rechercher")
xdotool windowmove "$search" 310 0
xdotool type --window "$search" tone
click "$main" 245 16 # Encoder
encode=$(window "Encoder")
xdotool windowmove "$encode" 610 0
# The pointer out of the pictures; the lists and the moved windows drawn.
xdotool mousemove 1270 1010
sleep 1

shoot "$main" design-main-window.png
shoot "$playlist" design-playlist-window.png
shoot "$search" design-search-window.png
shoot "$encode" design-encode-window.png
