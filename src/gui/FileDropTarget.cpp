#include "gui/FileDropTarget.h"

#include <wx/filefn.h>

#include "gui/MainControl.h"
#include "playlist/MediaPath.h"

namespace BrelkosPlayer {

bool FileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& paths)
{
    bool taken = false;
    for (const wxString& path : paths) {
        if (wxDirExists(path)) {
            m_main.AddFolder(path);
            taken = true;
        } else if (MediaPath::IsAudio(path) || MediaPath::IsVideo(path)) {
            m_main.AddFile(path);
            taken = true;
        }
    }
    return taken;
}

} // namespace BrelkosPlayer
