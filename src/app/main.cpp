#include "app/BrelkosPlayerApp.h"

wxIMPLEMENT_APP(BrelkosPlayer::BrelkosPlayerApp);
