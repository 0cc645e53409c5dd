#include "gui/FormPlaylist.h"

namespace BrelkosPlayer {

FormPlaylist::FormPlaylist(wxWindow* parent, const wxPoint& pos)
    : wxFrame(parent, wxID_ANY, "Playlist", pos, wxSize(296, 622),
              wxCAPTION | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT, "frame")
{
}

void FormPlaylist::SetSimpleDesign(const Design*) {}
void FormPlaylist::AddFileByKind(const wxString&) {}
void FormPlaylist::ClearAudioVideoLists() {}
void FormPlaylist::SelectNextEntry() {}
void FormPlaylist::SelectEntryByPath(const wxString&) {}

} // namespace BrelkosPlayer
