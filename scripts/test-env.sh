#!/usr/bin/env bash
# Runs one test program the way every test runs: under a private X server,
# with a throw-away home and no desktop services.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
export HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime"
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
export GST_PLUGIN_FEATURE_RANK="ximagesink:MAX${GST_PLUGIN_FEATURE_RANK:+,$GST_PLUGIN_FEATURE_RANK}"
export GST_REGISTRY="${GST_REGISTRY:-/tmp/brelkos-gst-registry-$(id -u).bin}"
[ -n "${BRELKOS_SUPPRESSIONS:-}" ] && export LSAN_OPTIONS="suppressions=$BRELKOS_SUPPRESSIONS ${LSAN_OPTIONS:-}"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
