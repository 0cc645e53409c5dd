// Process-wide GStreamer start-up shared by every System.
#pragma once

namespace sound {

// Initialises GStreamer once per process (thread-safe) and ranks the mp3
// decoder we prefer first. False when GStreamer could not be initialised.
bool initGStreamer();

} // namespace sound
