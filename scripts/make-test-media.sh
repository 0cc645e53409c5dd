#!/usr/bin/env bash
# (Re)creates the tiny media files of tests/data with GStreamer's own encoders.
# Every file lasts 2 s (audio: 88 200 samples at 44.1 kHz; video: 50 frames at
# 25 fps, 160x120); tests/data/README.md lists the lengths the tests expect.
set -euo pipefail
out="${1:-$(cd "$(dirname "$0")/.." && pwd)/tests/data}"
mkdir -p "$out"
cd "$out"

launch() { timeout 60 gst-launch-1.0 -q "$@" >/dev/null; }

# 100 buffers of 882 samples: exactly 2.000 s of a quiet 440 Hz tone.
tone="audiotestsrc num-buffers=100 samplesperbuffer=882 wave=sine freq=440 volume=0.3
      ! audio/x-raw,rate=44100,channels=2"
vtone="audiotestsrc num-buffers=50 samplesperbuffer=1764 wave=sine freq=660 volume=0.3
       ! audio/x-raw,rate=44100,channels=2"
video="videotestsrc num-buffers=50 pattern=ball ! video/x-raw,width=160,height=120,framerate=25/1 ! videoconvert"

# Audio.
launch $tone ! wavenc ! filesink location=tone.wav
# CBR without a Xing/LAME header: its length is unknown to a plain duration query.
launch $tone ! lamemp3enc target=bitrate cbr=true bitrate=64 ! filesink location=tone.mp3
launch $tone ! vorbisenc quality=0.1 ! oggmux ! filesink location=tone.ogg
launch $tone ! avenc_wmav2 bitrate=64000 ! asfmux ! filesink location=tone.wma
launch $tone ! avenc_ac3 bitrate=96000 ! filesink location=tone.ac3
# Two CBR encodings end to end, 1.5 s at 128 kbit/s then 0.5 s at 32: without a
# Xing/LAME header the length is estimated from the bitrate, and falls short.
part() { echo "audiotestsrc num-buffers=$1 samplesperbuffer=882 wave=sine freq=440 volume=0.3 ! audio/x-raw,rate=44100,channels=2"; }
launch $(part 75) ! lamemp3enc target=bitrate cbr=true bitrate=128 ! filesink location=tworates-1.mp3
launch $(part 25) ! lamemp3enc target=bitrate cbr=true bitrate=32 ! filesink location=tworates-2.mp3
cat tworates-1.mp3 tworates-2.mp3 > tworates.mp3
rm tworates-1.mp3 tworates-2.mp3
# A broadcast ASF, as a live stream sends it: no index, and every seek refused.
launch $tone ! avenc_wmav2 bitrate=32000 ! asfmux streamable=true ! filesink location=live.wma

# Broken audio.
: > empty.mp3
head -c 600 tone.ogg > truncated.ogg
printf 'This is a text file that only pretends to be a WAV file.\n' > notmedia.wav

# Video, one file per extension the player knows.
launch asfmux name=m ! filesink location=clip.wmv \
    $video ! avenc_wmv2 bitrate=150000 ! m. \
    $vtone ! avenc_wmav2 bitrate=64000 ! m.
launch avimux name=m ! filesink location=clip.avi \
    $video ! avenc_mpeg4 bitrate=150000 ! m. \
    $vtone ! lamemp3enc target=bitrate bitrate=64 cbr=true ! m.
# mpegpsmux loses the last GOP of these streams (39 of 50 frames): use libav's
# program-stream muxers. (avenc_mpeg1video rejects every frame rate here.)
launch avmux_mpeg name=m ! filesink location=clip.mpg \
    $video ! mpeg2enc format=0 bitrate=150 ! mpegvideoparse ! m. \
    $vtone ! avenc_mp2 bitrate=64000 ! mpegaudioparse ! m.
launch avmux_dvd name=m ! filesink location=clip.mpeg \
    $video ! mpeg2enc format=3 bitrate=150 ! mpegvideoparse ! m. \
    $vtone ! avenc_mp2 bitrate=64000 ! mpegaudioparse ! m.
if gst-inspect-1.0 x264enc >/dev/null 2>&1; then
    mp4video="x264enc speed-preset=ultrafast bitrate=150 key-int-max=25 ! h264parse"
else
    mp4video="avenc_mpeg4 bitrate=150000"
fi
launch mp4mux name=m ! filesink location=clip.mp4 \
    $video ! $mp4video ! m. \
    $vtone ! lamemp3enc target=bitrate bitrate=64 cbr=true ! mpegaudioparse ! m.
launch avimux name=m ! filesink location=clip.divx \
    $video ! avenc_mpeg4 bitrate=150000 ! m. \
    $vtone ! avenc_ac3 bitrate=96000 ! m.
launch matroskamux name=m ! filesink location=clip.mkv \
    $video ! $mp4video ! m. \
    $vtone ! vorbisenc quality=0.1 ! m.

# An AVI header followed by bytes that mean nothing (the same bytes every run).
{ printf 'RIFF\x00\x10\x00\x00AVI LIST'; LC_ALL=C awk 'BEGIN { srand(7); for (i = 0; i < 4080; i++) printf "%c", int(rand() * 256) }'; } > broken.avi

du -cb tone.* tworates.mp3 live.wma empty.mp3 truncated.ogg notmedia.wav clip.* broken.avi | tail -n 1
