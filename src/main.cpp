#include "BrelkosPlayerApp.h"

wxIMPLEMENT_APP(BrelkosPlayer::BrelkosPlayerApp);
