#include "gui/BrelkoCtrl.h"

namespace BrelkosPlayer {

BrelkoCtrl::BrelkoCtrl(wxWindow* parent)
    : wxMediaCtrl(parent, 13, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, wxEmptyString, wxDefaultValidator,
                  "mediaCtrl")
{
}

} // namespace BrelkosPlayer
