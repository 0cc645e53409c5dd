// How the program's frames deal with events their children do not handle.
#pragma once

#include <wx/toplevel.h>

namespace BrelkosPlayer {

// A key or command that a frame does not handle goes on to its parent window,
// even when that parent is another frame: keys typed in the search, encode or
// options window ran the playlist's and the main window's key commands (Page
// Down in a text field started the next file), and our ids repeat from one
// window to the next. Every frame that has a parent calls this in its
// constructor, so it keeps its events to itself as a dialog does.
inline void KeepEventsInFrame(wxTopLevelWindow* frame)
{
    frame->SetExtraStyle(frame->GetExtraStyle() | wxWS_EX_BLOCK_EVENTS);
}

} // namespace BrelkosPlayer
