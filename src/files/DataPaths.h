// Where the program finds its images and configuration and writes its log.
// Run from a build or portable folder, everything sits beside the executable;
// installed (README, "Install"), the images and configuration are in the data
// folder and the log goes to the user's state folder.
#pragma once

#include <wx/string.h>

namespace BrelkosPlayer {

class DataPaths {
public:
    // The folder that holds rsc/ and BrelkosPlayer.cfg: the executable's own
    // when rsc/ is beside it, else the data folder of an installed program
    // (share/brelkosplayer next to its bin/).
    static wxString DataFolder(const wxString& executableFolder);
    // The folder for BrelkosPlayer.log: the executable's own when the log can
    // be written there, else $XDG_STATE_HOME/brelkosplayer (by default
    // ~/.local/state/brelkosplayer), made when missing.
    static wxString LogFolder(const wxString& executableFolder);
};

} // namespace BrelkosPlayer
