// Result codes and texts for what GStreamer reports.
#pragma once

#include "sound/SoundSystem.h"

#include <gst/gst.h>

#include <string>

namespace sound {

// The result code of an ERROR message's GError, posted by `source`.
Result resultFromGstError(const GError* error, const GstObject* source);

// GStreamer's own words for an ERROR message: the element that posted it,
// its message and, when there is one, its debug detail (on one line).
std::string textOfGstError(const GError* error, const gchar* debug, const GstObject* source);

// Copies `text` into a caller's buffer of `length` bytes, cut on a UTF-8
// character boundary; nothing when the buffer is null or has no room.
void copyText(const std::string& text, char* buffer, int length);

} // namespace sound
