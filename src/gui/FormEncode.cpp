#include "gui/FormEncode.h"

namespace BrelkosPlayer {

FormEncode::FormEncode(wxWindow* parent) : wxFrame(parent, wxID_ANY, "Encoder") {}
void FormEncode::SetSimpleDesign(const Design*) {}

} // namespace BrelkosPlayer
