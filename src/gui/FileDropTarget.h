// Files and folders dropped on a window: filed as the add-file and add-folder
// commands file them. Nothing starts playing, as with the dialogs.
#pragma once

#include <wx/dnd.h>

namespace BrelkosPlayer {

class MainControl;

class FileDropTarget : public wxFileDropTarget {
public:
    explicit FileDropTarget(MainControl& main) : m_main(main) {}

    // A folder is walked like the add-folder command walks it; a file that is
    // neither audio nor video is left out, as the folder walk leaves it out.
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& paths) override;

private:
    MainControl& m_main;
};

} // namespace BrelkosPlayer
