#include <wx/icon.h>

#include "gui/FormMain.h"

#include "AppIcon.xpm"

namespace BrelkosPlayer {

wxIcon FormMain::AppIcon()
{
    return wxIcon(app_icon_xpm);
}

} // namespace BrelkosPlayer
