#!/usr/bin/env bash
# Starts the player on the demo tracks, under a private X server when there is no display.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
tracks=("$build"/demo/*)
if [ -n "${DISPLAY:-}" ]; then
    exec "$build/BrelkosPlayer" "${tracks[@]}"
fi
echo "No display: running under Xvfb (stop with Ctrl+C)." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/BrelkosPlayer" "${tracks[@]}"
