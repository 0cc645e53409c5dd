#!/usr/bin/env bash
# Runs one command on a desktop like our users' have, inside the X server that
# test-env.sh started: a window manager (openbox), a tray host (trayer) and a
# private PulseAudio server whose only sink is a null sink named "test".
# Everything started here ends with the command.
set -euo pipefail

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# Waits up to 10 s for a check to pass.
wait_for() {
    for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "desktop-session: gave up waiting for: $*" >&2
    return 1
}

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
# Up once it says which hints it supports (xdotool's windowactivate needs
# _NET_ACTIVE_WINDOW among them).
wait_for bash -c 'xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW'

trayer --edge top --align right --widthtype pixel --width 100 --height 24 \
    --SetDockType true --SetPartialStrut true >/dev/null 2>&1 &
pids+=($!)
wait_for bash -c 'xwininfo -root -tree | grep -q "panel"'

# The server's own folders live under the test's private XDG_RUNTIME_DIR and
# HOME; it runs as root here only because the tests do.
pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no --disallow-exit \
    --load="module-null-sink sink_name=test" --load=module-native-protocol-unix \
    >"$XDG_RUNTIME_DIR/pulseaudio.log" 2>&1 &
pids+=($!)
export BRELKOS_PULSEAUDIO_PID=$!
wait_for pactl info

export BRELKOS_DESKTOP=1
"$@"
