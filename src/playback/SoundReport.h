// Log lines for the sound library: failed calls and the output-type names;
// also the names of the CD drives.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

namespace BrelkosPlayer {

// Writes the failure line of a sound-library call and returns false.
bool ReportSoundError(int result, const char* source, unsigned line);

// Name of a sound-library output type as logged.
wxString OutputTypeName(int outputType);

// Names of the CD drives as the sound library reports them, in its order,
// read through a temporary system whose results are not reported.
wxArrayString CDDriveNames();

} // namespace BrelkosPlayer
