#pragma once

#include <wx/frame.h>

namespace BrelkosPlayer {

class FormVideo : public wxFrame {
public:
    explicit FormVideo(wxWindow* parent);

    int m_videoWidth = 0;
    int m_videoHeight = 0;
};

} // namespace BrelkosPlayer
