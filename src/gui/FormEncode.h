#pragma once

#include <wx/frame.h>

namespace BrelkosPlayer {

struct Design;

class FormEncode : public wxFrame {
public:
    explicit FormEncode(wxWindow* parent);
    void SetSimpleDesign(const Design* design);
};

} // namespace BrelkosPlayer
