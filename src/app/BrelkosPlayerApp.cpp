#include "app/BrelkosPlayerApp.h"

#include <csignal>
#include <wx/stdpaths.h>

#include "gui/FormMain.h"

namespace BrelkosPlayer {

namespace {
// Runs from the main loop (wx defers the signal), so closing is safe here.
// A signal handler gets no context: the main window is found as the
// application's top window, which OnInit makes it.
void CloseOnSignal(int)
{
    if (auto* form = dynamic_cast<FormMain*>(wxTheApp->GetTopWindow()))
        form->Close(true);
}
} // namespace

bool BrelkosPlayerApp::OnInit()
{
    // First, so that a signal during a slow start still closes cleanly: the
    // handler runs from the main loop, once it turns.
    SetSignalHandler(SIGTERM, CloseOnSignal);
    SetSignalHandler(SIGINT, CloseOnSignal);
    // No window here handles idle or update-UI events: sending them to every
    // control after each event the loop handles (a position update) is waste.
    wxIdleEvent::SetMode(wxIDLE_PROCESS_SPECIFIED);
    wxUpdateUIEvent::SetMode(wxUPDATE_UI_PROCESS_SPECIFIED);
    // The real executable path: argv[0] has no folder when started through PATH.
    m_formMain = FormMain::Start(wxStandardPaths::Get().GetExecutablePath(), argv.GetArguments());
    SetTopWindow(m_formMain);
    return true;
}

} // namespace BrelkosPlayer
