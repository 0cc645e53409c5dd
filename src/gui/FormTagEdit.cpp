#include "gui/FormTagEdit.h"

#include "gui/FrameEvents.h"

namespace BrelkosPlayer {

FormTagEdit::FormTagEdit(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, "Edition du Tag ID3", wxDefaultPosition, wxSize(430, 250),
              wxDEFAULT_FRAME_STYLE, "frame")
{
    KeepEventsInFrame(this);
}

} // namespace BrelkosPlayer
