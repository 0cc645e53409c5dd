// What the windows ask of GTK that wxWidgets does not wrap. GTK's headers are
// not part of the build: each call is looked up in the loaded toolkit, and
// does nothing when it is not there.
#pragma once

class wxWindow;

namespace BrelkosPlayer {

// Sends what the toolkit has queued for the display server (a map request)
// now rather than when the main loop next turns.
void FlushDisplay();

// Gives `window` an X window of its own; false when it could not.
bool GiveNativeWindow(wxWindow* window);

// A resize that `child` asks for (a slider does at every value it takes) ends
// at its parent, whose children all have fixed places, instead of reaching
// the top-level window.
void KeepResizesInParent(wxWindow* child);

// A horizontal slider drawn without the theme's empty space above and below
// its trough, so that it fits the height it was given.
void DropVerticalPadding(wxWindow* slider);

} // namespace BrelkosPlayer
