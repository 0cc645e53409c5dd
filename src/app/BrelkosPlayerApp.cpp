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
    // The real executable path: argv[0] has no folder when started through PATH.
    m_formMain = new FormMain(wxStandardPaths::Get().GetExecutablePath());
    m_formMain->Show(true);
    SetTopWindow(m_formMain);
    m_formMain->SecondInit(argv.GetArguments());
    m_formMain->SetIcon(FormMain::AppIcon());
    return true;
}

} // namespace BrelkosPlayer
