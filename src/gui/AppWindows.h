// The program-wide references to the windows that exist once per run. Each is
// set once during start-up and cleared when its window is destroyed.
#pragma once

namespace BrelkosPlayer {

class FormMain;
class FormPlaylist;
class FormEncode;
class FormVideo;
class BrelkoCtrl;

extern FormMain* g_formMain;
extern FormPlaylist* g_formPlaylist;
extern FormEncode* g_formEncode;
extern FormVideo* g_formVideo;
extern BrelkoCtrl* g_videoCtrl;

} // namespace BrelkosPlayer
