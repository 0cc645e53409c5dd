// One named colour scheme read from the configuration file. Indexes of the
// per-state arrays follow ImageButton's ButtonState: 0 normal, 1 mouse over,
// 2 pressed, 3 disabled.
#pragma once

#include <wx/colour.h>
#include <wx/string.h>

namespace BrelkosPlayer {

struct Design {
    wxString name;
    wxColour generalColor; // invalid: toolkit default
    wxColour btnColors[4]; // button faces
    wxColour listColor;
    wxColour generalTxtColor;
    wxColour btnTxtColors[4]; // button labels
    wxColour listTxtColor;

    Design()
    {
        for (int i = 0; i < 4; ++i) {
            btnColors[i] = wxColour(192, 192, 192);
            btnTxtColors[i] = wxColour(0, 0, 0);
        }
    }
};

} // namespace BrelkosPlayer
