// The tag edit window: an empty frame the playlist window creates and keeps
// hidden; tag editing itself does not exist yet.
#pragma once

#include <wx/frame.h>

namespace BrelkosPlayer {

class FormTagEdit : public wxFrame {
public:
    explicit FormTagEdit(wxWindow* parent);
};

} // namespace BrelkosPlayer
