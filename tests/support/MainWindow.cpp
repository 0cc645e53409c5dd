#include <wx/app.h>
#include <wx/stdpaths.h>

#include "gui/AppWindows.h"
#include "gui/FormMain.h"
#include "support/GuiTest.h"

namespace testing_support {

BrelkosPlayer::FormMain* CreateMainWindow(const wxArrayString& paths)
{
    CloseMainWindow();
    wxString executable = wxStandardPaths::Get().GetExecutablePath();
    auto* form = new BrelkosPlayer::FormMain(executable);
    form->Show(true);
    wxArrayString args;
    args.Add(executable);
    for (const wxString& path : paths)
        args.Add(path);
    form->SecondInit(args);
    Pump(20);
    return form;
}

void CloseMainWindow()
{
    if (!BrelkosPlayer::g_formMain)
        return;
    BrelkosPlayer::g_formMain->Close(true);
    WaitFor([] { return BrelkosPlayer::g_formMain == nullptr; }, 5000);
    Pump(10);
}

} // namespace testing_support
