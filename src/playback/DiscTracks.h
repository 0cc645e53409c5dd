// The tracks of a disc, as the playlist's drive menu and the tray's PlayCD
// list them: one address per track ("D:0", "D:1", ...) in the disc's order.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

#include "playback/CreateSoundSystem.h"

namespace BrelkosPlayer {

// Where a listing's failure lines point: the caller's source and the line
// numbers its lines have always carried.
struct DiscTracksReport {
    const char* source;
    SoundSystemLines system;
    unsigned stream;
    unsigned tracks;
    // The tray goes on after a disc that could not be opened and reports the
    // track count it then cannot read as well; the playlist stops there.
    bool countUnopenedDisc;
};

// Reads the disc in drive through a sound system of its own and appends its
// track addresses; false, with the failure logged, when it could not be read.
bool ReadDiscTracks(const wxString& drive, const DiscTracksReport& report, wxArrayString& addresses);

} // namespace BrelkosPlayer
