// Result codes for what GStreamer reports.
#pragma once

#include "platform/sound/SoundSystem.h"

#include <glib.h>

namespace sound {

// The result code of an ERROR message's GError.
Result resultFromGstError(const GError* error);

} // namespace sound
