#include "sound/SoundSystem.h"

namespace sound {

const char* ErrorString(int result)
{
    switch (result) {
    case OK: return "No errors.";
    case ERR_INVALID_PARAM: return "An invalid parameter was passed to this function.";
    case ERR_INVALID_HANDLE:
        return "An invalid object handle was used: it was released, or its channel has stopped.";
    case ERR_UNINITIALIZED: return "The sound system was not initialized; call init first.";
    case ERR_INITIALIZED: return "The sound system is already initialized; close it first.";
    case ERR_OUTPUT_NOT_SUPPORTED: return "This output type is not supported on this platform.";
    case ERR_OUTPUT_INIT: return "No sound device of the selected output type could be opened.";
    case ERR_FILE_NOTFOUND: return "File not found.";
    case ERR_FILE_BAD: return "Error loading file: it is empty, truncated or unreadable.";
    case ERR_FORMAT: return "Unsupported file or audio format.";
    case ERR_PLUGIN_MISSING: return "A GStreamer plugin needed for this operation is not installed.";
    case ERR_CDROM_NODISC: return "There is no audio disc in the CD drive.";
    case ERR_CDROM_ERROR: return "The CD drive or disc image could not be read.";
    case ERR_SUBSOUNDS: return "The sub-sound index is out of range, or the sound has no sub-sounds.";
    case ERR_INTERNAL: return "An error occurred in the sound library that should not have happened.";
    default: return "Unknown error.";
    }
}

} // namespace sound
