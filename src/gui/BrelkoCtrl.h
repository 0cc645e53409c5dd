#pragma once

#include <wx/mediactrl.h>

namespace BrelkosPlayer {

class BrelkoCtrl : public wxMediaCtrl {
public:
    explicit BrelkoCtrl(wxWindow* parent);
};

} // namespace BrelkosPlayer
