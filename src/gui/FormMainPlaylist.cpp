#include "gui/FormMain.h"

namespace BrelkosPlayer {

void FormMain::ShufflePlaylist() {}
void FormMain::RemoveCurrentEntry() {}
void FormMain::SavePlaylist(const wxString&) {}
void FormMain::LoadPlaylist(const wxString&) {}

} // namespace BrelkosPlayer
