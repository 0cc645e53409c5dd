// Log lines for the sound library: failed calls, the version check, the
// output-type names and the output search every user of the library repeats.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

namespace sound {
class System;
}

namespace BrelkosPlayer {

// Writes the failure line of a sound-library call and returns false.
bool ReportSoundError(int result, const char* source, unsigned line);

// Name of a sound-library output type as logged.
wxString OutputTypeName(int outputType);

// Creates a system, checks its version when asked, and tries the output types
// in order until one initialises. Returns null only when the system itself
// could not be created. logChoice writes the line naming the chosen output.
sound::System* CreateSoundSystem(const char* source, bool checkVersion, bool logChoice);

// Names of the CD drives as the sound library reports them, in its order,
// read through a temporary system whose results are not reported.
wxArrayString CDDriveNames();

} // namespace BrelkosPlayer
