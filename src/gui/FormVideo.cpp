#include "gui/FormVideo.h"

namespace BrelkosPlayer {

FormVideo::FormVideo(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, "Video", wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE, "frame")
{
}

} // namespace BrelkosPlayer
