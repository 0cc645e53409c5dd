// Helpers for tests that run on a desktop (window manager, tray host, sound
// server; see scripts/desktop-session.sh): what the X server and the window
// manager say about our windows, and real input through XTest.
#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

class wxTopLevelWindow;

namespace desktop {

// Runs a shell command while the GUI keeps processing events; returns what it
// printed on standard output, without the last line break.
wxString Run(const wxString& command, int* exitCode = nullptr);
// The X window of a shown top-level window.
unsigned long XWindow(wxTopLevelWindow* window);
// The window's frame as the X server has it: its client window's place and
// size grown by the decorations the window manager reports in
// _NET_FRAME_EXTENTS. Empty when the window is not mapped.
wxRect FrameRect(wxTopLevelWindow* window);
// Asks the window manager to activate the window and waits until it has the
// keyboard focus.
bool Activate(wxTopLevelWindow* window);
// Presses keys (xdotool names: "Next", "Delete", "KP_Add") through XTest into
// whatever has the focus, then lets the GUI handle them.
void PressKeys(const wxString& keys);

} // namespace desktop
