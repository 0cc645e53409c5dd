#!/usr/bin/env bash
# Makes a few short demo tracks of our own (synthesised tones) for `make run`.
set -euo pipefail
out=${1:-build/demo}
mkdir -p "$out"
make_track() { # file, frequency, seconds, encoder
    local file=$1 freq=$2 secs=$3 enc=$4
    [ -s "$out/$file" ] && return 0
    local buffers=$(( secs * 44100 / 1024 ))
    gst-launch-1.0 -q audiotestsrc wave=sine freq="$freq" volume=0.3 num-buffers="$buffers" samplesperbuffer=1024 \
        ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! $enc ! filesink location="$out/$file"
}
make_track "01 - La.ogg" 440 6 "vorbisenc ! oggmux"
make_track "02 - Do.mp3" 523 6 "lamemp3enc ! id3v2mux"
make_track "03 - Mi.wav" 659 6 "wavenc"
