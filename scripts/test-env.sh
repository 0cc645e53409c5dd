#!/usr/bin/env bash
# Runs one test program the way every test runs: under a private X server,
# with a throw-away home and no desktop services. With --desktop first, the
# program runs on a desktop (window manager, tray host, sound server) started
# by desktop-session.sh in that X server.
set -euo pipefail
session=()
if [ "${1:-}" = "--desktop" ]; then
    shift
    session=("$(cd "$(dirname "$0")" && pwd)/desktop-session.sh")
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
# Real stacks for every allocation: GTK and GLib carry no frame pointers, and
# a suppression must be able to name the upstream function that allocated.
# Twelve frames are enough for that; every frame more slows the GTK-heavy
# tests, most inside the window manager's events.
export ASAN_OPTIONS="fast_unwind_on_malloc=0 malloc_context_size=12 ${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=${BRELKOS_SUPPRESSIONS:-$tests/lsan.supp} ${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1 ${UBSAN_OPTIONS:-}"
# GLib, GStreamer and GTK are not instrumented: what their own code does
# through the sanitizer's interceptors (their memcpy, their locks) is theirs
# to answer for. Our code stays fully checked, and tests/tsan/GlibSync.cpp
# shows the sanitizer the GLib locks our data passes under.
export TSAN_OPTIONS="ignore_noninstrumented_modules=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "${session[@]}" "$@"
