#!/usr/bin/env bash
# Writes disc images for the CD tests into the folder given (default: the
# current one):
#   audio.cue + audio.bin  three audio tracks of sine tones, 2.0 s, 2.4 s and
#                          3.0 s long (150, 180 and 225 sectors of 2352 bytes:
#                          44.1 kHz, 16-bit stereo, little-endian)
#   data.cue + data.bin    one data track (Mode 1) and no audio at all
set -euo pipefail
out="${1:-.}"
mkdir -p "$out"
cd "$out"

# 882 samples (3528 bytes, 1.5 sectors) per buffer: even buffer counts fill whole sectors.
tone() { # file buffers frequency
    gst-launch-1.0 -q audiotestsrc num-buffers="$2" samplesperbuffer=882 wave=sine freq="$3" volume=0.3 \
        ! audio/x-raw,format=S16LE,layout=interleaved,rate=44100,channels=2 \
        ! filesink location="$1" >/dev/null
}
tone track1.raw 100 440
tone track2.raw 120 550
tone track3.raw 150 660
cat track1.raw track2.raw track3.raw > audio.bin
rm -f track1.raw track2.raw track3.raw

# Track starts as minutes:seconds:sectors (75 sectors a second).
cat > audio.cue <<'CUE'
FILE "audio.bin" BINARY
  TRACK 01 AUDIO
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    INDEX 01 00:02:00
  TRACK 03 AUDIO
    INDEX 01 00:04:30
CUE

head -c $((300 * 2352)) /dev/zero > data.bin
cat > data.cue <<'CUE'
FILE "data.bin" BINARY
  TRACK 01 MODE1/2352
    INDEX 01 00:00:00
CUE
