#include "gui/ListBox.h"

namespace BrelkosPlayer {

ListBox::ListBox(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxListBox(parent, id, pos, size, 0, nullptr, wxLB_SINGLE | wxLB_NEEDED_SB, wxDefaultValidator,
                "listBox")
{
}

} // namespace BrelkosPlayer
