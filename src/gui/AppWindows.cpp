#include "gui/AppWindows.h"

namespace BrelkosPlayer {

FormMain* g_formMain = nullptr;
FormPlaylist* g_formPlaylist = nullptr;
FormEncode* g_formEncode = nullptr;
FormVideo* g_formVideo = nullptr;
BrelkoCtrl* g_videoCtrl = nullptr;

} // namespace BrelkosPlayer
