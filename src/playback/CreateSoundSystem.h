// The sound system every user of the library starts from: created, its
// version checked when asked, and the first output type that initialises.
#pragma once

namespace sound {
class System;
}

namespace BrelkosPlayer {

// The line numbers a caller's failure lines carry; the players' lines have
// always named these, the playlist's CD listing its own.
struct SoundSystemLines {
    unsigned create = 31;
    unsigned version = 39;
    unsigned setOutput = 50;
    unsigned init = 57;
};

// Creates a system, checks its version when asked, and tries the output types
// in order until one initialises. Returns null only when the system itself
// could not be created. logChoice writes the line naming the chosen output.
sound::System* CreateSoundSystem(const char* source, bool checkVersion, bool logChoice,
                                 const SoundSystemLines& lines = SoundSystemLines());

} // namespace BrelkosPlayer
