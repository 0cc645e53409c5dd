#!/usr/bin/env bash
# Runs one test program the way every test runs: under a private X server,
# with a throw-away home and no desktop services. With --desktop first, the
# program runs on a desktop (window manager, tray host, sound server) started
# by desktop-session.sh in that X server; with --no-display, for programs that
# open no window, without an X server; with --bus, on a session bus of its own
# (dbus-run-session).
set -euo pipefail
session=()
display=(xvfb-run -a -s "-screen 0 1280x1024x24 -extension GLX")
if [ "${1:-}" = "--desktop" ]; then
    shift
    session=("$(cd "$(dirname "$0")" && pwd)/desktop-session.sh")
elif [ "${1:-}" = "--no-display" ]; then
    shift
    display=()
elif [ "${1:-}" = "--bus" ]; then
    shift
    session=(dbus-run-session --)
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
export GST_PLUGIN_FEATURE_RANK="ximagesink:MAX${GST_PLUGIN_FEATURE_RANK:+,$GST_PLUGIN_FEATURE_RANK}"
export GST_REGISTRY="${GST_REGISTRY:-/tmp/brelkos-gst-registry-$(id -u).bin}"

# Sanitizer builds only read these; the others ignore them. Every upstream
# report that is hidden is named in a checked-in file under tests/.
tests="$(cd "$(dirname "$0")/../tests" && pwd)"
# GLib's slice allocator hides leaked GObjects (a whole pipeline) inside
# blocks that stay in use: plain malloc lets LeakSanitizer see them.
export G_SLICE=always-malloc
suppressions="${BRELKOS_SUPPRESSIONS:-$tests/lsan.supp}"
if [ "${BRELKOS_LEAK_STACKS:-}" = "frame-pointers" ]; then
    # Stacks of allocations by frame pointers (tests/CMakeLists.txt says for
    # which programs): complete through our code, a quarter of the cost. An
    # allocation inside GLib then shows as GLib's allocator alone.
    export ASAN_OPTIONS="fast_unwind_on_malloc=1 ${ASAN_OPTIONS:-}"
    cat "$suppressions" "$tests/lsan-frame-pointers.supp" > "$tmp/lsan.supp"
    suppressions="$tmp/lsan.supp"
else
    # Real stacks for every allocation: GTK and GLib carry no frame pointers, and
    # a suppression must be able to name the upstream function that allocated.
    # Twelve frames are enough for that; every frame more slows the GTK-heavy
    # tests, most inside the window manager's events.
    export ASAN_OPTIONS="fast_unwind_on_malloc=0 malloc_context_size=12 ${ASAN_OPTIONS:-}"
fi
export LSAN_OPTIONS="suppressions=$suppressions ${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1 ${UBSAN_OPTIONS:-}"
# GLib, GStreamer and GTK are not instrumented: what their own code does
# through the sanitizer's interceptors (their memcpy, their locks) is theirs
# to answer for. Our code stays fully checked, and tests/tsan/GlibSync.cpp
# shows the sanitizer the GLib locks our data passes under.
export TSAN_OPTIONS="ignore_noninstrumented_modules=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"

# Listing a program's tests (CTest does, before it runs them) starts nothing.
for arg in "$@"; do
    if [ "$arg" = "--gtest_list_tests" ]; then
        "$@"
        exit
    fi
done

# The program writes its log and reads its configuration and images beside
# itself: it runs from a private folder, so that tests run side by side never
# share them. A hard link keeps the executable's path there (/proc/self/exe);
# the player goes along for the tests that start it.
if [[ "$1" == */* && -f "$1" ]]; then
    from="$(cd "$(dirname "$1")" && pwd)"
    mkdir "$tmp/run"
    for file in "$(basename "$1")" BrelkosPlayer; do
        if [ -f "$from/$file" ]; then
            ln "$from/$file" "$tmp/run/" 2>/dev/null || cp -p "$from/$file" "$tmp/run/"
        fi
    done
    [ -f "$from/BrelkosPlayer.cfg" ] && cp "$from/BrelkosPlayer.cfg" "$tmp/run/"
    [ -d "$from/rsc" ] && ln -s "$from/rsc" "$tmp/run/rsc"
    set -- "$tmp/run/$(basename "$1")" "${@:2}"
fi
# No GLX: nothing of ours draws through OpenGL, and loading it is most of the
# X server's start-up, paid once per test.
"${display[@]}" "${session[@]}" "$@"
