// The program's list box: single selection, a scroll bar only when needed, the
// window name "listBox". It draws nothing of its own; its owner colours it.
#pragma once

#include <wx/listbox.h>

namespace BrelkosPlayer {

class ListBox : public wxListBox {
public:
    ListBox(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
            const wxSize& size = wxDefaultSize);
};

} // namespace BrelkosPlayer
