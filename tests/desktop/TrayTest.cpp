// Hiding into the tray on a desktop: the window manager's own minimise
// command, the tray host's icon and a real double-click on it.
#include <gtest/gtest.h>

#include <glib.h>
#include <wx/filefn.h>

#include "desktop/Desktop.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/TaskBarIcon.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

// Whether the X server shows the window (mapped and viewable).
bool Viewable(wxTopLevelWindow* window)
{
    return desktop::Run(wxString::Format("xwininfo -id %lu | awk '/Map State:/{print $3}'",
                                         desktop::XWindow(window))) == "IsViewable";
}

// Whether the window is hidden into the tray: withdrawn, not merely a
// minimised window that the window manager could offer back on its own.
bool Withdrawn(wxTopLevelWindow* window)
{
    return !Viewable(window) &&
           !desktop::Run(wxString::Format("xprop -id %lu WM_STATE", desktop::XWindow(window)))
                .Contains("Iconic");
}

// The tray icon's own X window: the window of this program inside the tray
// host's panel.
wxString TrayIconWindow()
{
    return desktop::Run(wxString::Format("for panel in $(xdotool search --classname '^panel$'); do "
                                         "xwininfo -tree -id $panel 2>/dev/null; done | "
                                         "awk '/\\(\"%s\"/{print $1; exit}'",
                                         g_get_prgname()));
}

class DesktopTrayTest : public testing::Test {
protected:
    void TearDown() override { CloseMainWindow(); }

    // Minimises the main window with the window manager's own command and
    // waits until both windows are hidden into the tray.
    void MinimiseThroughTheWindowManager(FormMain* form)
    {
        ASSERT_TRUE(WaitFor([&] { return Viewable(form) && Viewable(PlaylistWindow()); }, 10000));
        desktop::Run(wxString::Format("xdotool windowminimize %lu", desktop::XWindow(form)));
        ASSERT_TRUE(WaitFor([&] { return Withdrawn(form) && Withdrawn(PlaylistWindow()); }))
            << "main withdrawn " << Withdrawn(form) << ", playlist withdrawn " << Withdrawn(PlaylistWindow());
        ASSERT_TRUE(WaitFor([&] { return form->GetTaskBarIcon()->IsIconInstalled(); }));
    }
};

TEST_F(DesktopTrayTest, MinimiseHidesBothWindowsIntoTheTrayWhereTheTooltipFollowsTheFiles)
{
    wxString folder = TempFolder();
    ASSERT_TRUE(wxCopyFile(DataFile("tone.ogg"), folder + "/second.ogg"));
    ASSERT_TRUE(wxCopyFile(DataFile("tone.wav"), folder + "/third.wav"));
    wxArrayString paths;
    paths.Add(DataFile("tone.ogg"));
    paths.Add(folder + "/second.ogg");
    paths.Add(folder + "/third.wav");
    FormMain* form = CreateMainWindow(paths);
    // The first file waits, paused, while the windows go into the tray.
    form->Pause();
    MinimiseThroughTheWindowManager(form);
    TaskBarIcon* icon = form->GetTaskBarIcon();
    EXPECT_EQ(icon->GetTooltip(), "Brelko's Player - tone");

    // A file started from the tray's menu...
    wxCommandEvent next(wxEVT_MENU, ID_TRAY_NEXT);
    icon->ProcessEvent(next);
    EXPECT_TRUE(WaitFor([&] { return icon->GetTooltip() == "Brelko's Player - second"; }))
        << icon->GetTooltip();
    // ...and one that starts by itself at the end of the previous one.
    EXPECT_TRUE(WaitFor([&] { return icon->GetTooltip() == "Brelko's Player - third"; }, 10000))
        << icon->GetTooltip();

    // Nothing brings the windows back meanwhile.
    EXPECT_FALSE(WaitFor([&] { return !Withdrawn(form) || !Withdrawn(PlaylistWindow()); }, 1500))
        << "main withdrawn " << Withdrawn(form) << ", playlist withdrawn " << Withdrawn(PlaylistWindow());
    EXPECT_TRUE(icon->IsIconInstalled());
}

TEST_F(DesktopTrayTest, DoubleClickOnTheTrayIconRestoresBothWindows)
{
    FormMain* form = CreateMainWindow();
    MinimiseThroughTheWindowManager(form);
    wxString icon;
    ASSERT_TRUE(WaitFor([&] {
        icon = TrayIconWindow();
        return !icon.empty();
    }));
    desktop::Run("xdotool mousemove --window " + icon + " 5 5 click --repeat 2 --delay 80 1");
    EXPECT_TRUE(WaitFor([&] { return Viewable(form) && Viewable(PlaylistWindow()); }))
        << "main " << Viewable(form) << ", playlist " << Viewable(PlaylistWindow());
    EXPECT_FALSE(form->GetTaskBarIcon()->IsIconInstalled());
}

} // namespace
