#include <wx/app.h>
#include <wx/stdpaths.h>
#include <wx/weakref.h>

#include "gui/FormMain.h"
#include "support/GuiTest.h"

namespace testing_support {

BrelkosPlayer::FormMain* CreateMainWindow(const wxArrayString& paths)
{
    CloseMainWindow();
    wxString executable = wxStandardPaths::Get().GetExecutablePath();
    wxArrayString args;
    args.Add(executable);
    for (const wxString& path : paths)
        args.Add(path);
    auto* form = BrelkosPlayer::FormMain::Start(executable, args);
    // As the application makes it: MainWindow() finds it there.
    wxTheApp->SetTopWindow(form);
    // The second step runs whole from the main loop's next turn.
    WaitFor([form] { return form->GetPlaylistWindow() != nullptr; });
    Pump(20);
    return form;
}

void CloseMainWindow()
{
    wxWeakRef<BrelkosPlayer::FormMain> form(MainWindow());
    if (!form)
        return;
    form->Close(true);
    WaitFor([&form] { return !form; }, 5000);
    Pump(10);
}

BrelkosPlayer::FormMain* MainWindow()
{
    // A window closed but not yet destroyed is no longer the top window.
    return wxTheApp ? dynamic_cast<BrelkosPlayer::FormMain*>(wxTheApp->GetTopWindow()) : nullptr;
}

BrelkosPlayer::FormPlaylist* PlaylistWindow()
{
    BrelkosPlayer::FormMain* form = MainWindow();
    return form ? form->GetPlaylistWindow() : nullptr;
}

BrelkosPlayer::FormEncode* EncodeWindow()
{
    BrelkosPlayer::FormMain* form = MainWindow();
    return form ? form->GetEncodeWindow() : nullptr;
}

BrelkosPlayer::FormVideo* VideoWindow()
{
    BrelkosPlayer::FormMain* form = MainWindow();
    return form ? form->GetVideoWindow() : nullptr;
}

BrelkosPlayer::BrelkoCtrl* VideoControl()
{
    BrelkosPlayer::FormMain* form = MainWindow();
    return form ? form->GetVideoCtrl() : nullptr;
}

} // namespace testing_support
