#pragma once

#include <wx/frame.h>

namespace BrelkosPlayer {

struct Design;

class FormPlaylist : public wxFrame {
public:
    FormPlaylist(wxWindow* parent, const wxPoint& pos);

    void SetSimpleDesign(const Design* design);
    void AddFileByKind(const wxString& path);
    void ClearAudioVideoLists();
    void SelectNextEntry();
    void SelectEntryByPath(const wxString& path);
};

} // namespace BrelkosPlayer
