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

# Waits up to 30 s for a check to pass: a sanitized test running beside this
# one on a loaded machine can keep a starting service waiting for seconds.
wait_for() {
    for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "desktop-session: gave up waiting for: $*" >&2
    return 1
}

# Up once it says which hints it supports (xdotool's windowactivate needs
# _NET_ACTIVE_WINDOW among them). A window manager that exits while it starts
# (it lost a race for the screen) gets a second chance; what it said is shown
# when it still does not come up.
wm_up() { xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW; }
for attempt in 1 2; do
    openbox --sm-disable >"$XDG_RUNTIME_DIR/openbox.log" 2>&1 &
    wm=$!
    pids+=($wm)
    for _ in $(seq 300); do
        wm_up 2>/dev/null && break
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    wm_up 2>/dev/null && break
    echo "desktop-session: the window manager is not up (attempt $attempt):" >&2
    cat "$XDG_RUNTIME_DIR/openbox.log" >&2
    kill "$wm" 2>/dev/null || true
    [ "$attempt" = 2 ] && exit 1
done

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
