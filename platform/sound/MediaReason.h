// Why a media file does not play, in the decoder's own words, for a player
// that sees only that it failed (the video control) as for our own pipelines.
#pragma once

#include "sound/SoundSystem.h"

#include <cstdint>
#include <string>

namespace sound {

// Whether path names a regular, non-empty file. When it does, OK and its size;
// else the result code and the reason a user reads (the system's text, "The
// file is empty.").
Result checkMediaFile(const std::string& path, std::uint64_t* size, std::string* reason);

// Asks GStreamer why the file cannot be played: "missing plug-in: ..." when a
// decoder is not installed, the demuxer's or decoder's message (or a stall)
// for a broken file, checkMediaFile's reason for what is no file at all. Empty when
// GStreamer finds nothing wrong. Blocks while it reads the file's start, a
// second at most; any thread.
std::string whyNotPlayable(const std::string& path);

} // namespace sound
