#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/icon.h>

#include "gui/FormMain.h"

namespace BrelkosPlayer {

wxIcon FormMain::AppIcon()
{
    wxBitmap bitmap(64, 64);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxBLUE_BRUSH);
        dc.Clear();
    }
    wxIcon icon;
    icon.CopyFromBitmap(bitmap);
    return icon;
}

} // namespace BrelkosPlayer
