#include <wx/icon.h>

#include "gui/FormMain.h"

#include "AppIcon.xpm"

namespace BrelkosPlayer {

wxIcon FormMain::AppIcon()
{
    // Decoded once per process: the tray shows it at every minimise and at
    // every file started meanwhile. Never freed, so it outlives the toolkit's
    // own clean-up at exit.
    static const wxIcon* const icon = new wxIcon(app_icon_xpm);
    return *icon;
}

} // namespace BrelkosPlayer
