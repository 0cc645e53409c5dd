// Helpers for tests that run in the real event loop under Xvfb. The test
// program's main() starts a wxApp and runs every test inside it.
#pragma once

#include <functional>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

class wxWindow;

namespace testing_support {

// Processes GUI events until the predicate holds or the deadline passes.
bool WaitFor(const std::function<bool()>& predicate, int timeoutMs = 5000);
// Processes pending GUI events for about the given time.
void Pump(int ms = 50);
// Folder that holds the test executables, rsc/ and the log.
wxString ExecutableFolder();
// Folder of the test media files.
wxString DataFile(const wxString& name);
// Whole text of the program's log file.
wxString ReadLog();
// A fresh, empty temporary folder, removed at program exit.
wxString TempFolder();
// What a window shows on screen, read back from its own X window (Xvfb keeps
// returning an old picture of the root window). The rect is in client
// coordinates; the default is the whole client area.
wxImage CaptureWindow(wxWindow* window, wxRect rect = wxRect());
// What the X server shows of an X window, this program's or another's (0: the
// whole screen), read the way another program would read it: GTK's view in
// this process misses what a video sink or another process paints. The rect is
// in the window's coordinates; the default is the whole window.
wxImage CaptureXWindow(unsigned long window, wxRect rect = wxRect());
// Writes a capture to $BRELKOS_SCREENSHOTS/name when that folder is set.
void SaveScreenshot(const wxImage& image, const wxString& name);

} // namespace testing_support

namespace BrelkosPlayer {
class BrelkoCtrl;
class FormEncode;
class FormMain;
class FormPlaylist;
class FormVideo;
} // namespace BrelkosPlayer

namespace testing_support {

// Builds the main window as the application does (FormMain::Start with these
// command-line paths, from the test program's own path) and waits for the
// second step.
BrelkosPlayer::FormMain* CreateMainWindow(const wxArrayString& paths = wxArrayString());
// Closes the main window the way the user does and processes the destruction.
void CloseMainWindow();

// The main window made by CreateMainWindow (the application's top window) and
// the windows it made; null when there is none.
BrelkosPlayer::FormMain* MainWindow();
BrelkosPlayer::FormPlaylist* PlaylistWindow();
BrelkosPlayer::FormEncode* EncodeWindow();
BrelkosPlayer::FormVideo* VideoWindow();
BrelkosPlayer::BrelkoCtrl* VideoControl();

} // namespace testing_support
