// Where the playlist window stands on a desktop whose window manager draws
// decorations around both frames.
#include <gtest/gtest.h>

#include "desktop/Desktop.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

// Waits until the playlist's frame, as the X server has it, stands directly
// below the main window's frame (left edges aligned, no gap, no overlap).
testing::AssertionResult PlaylistFrameBelowMainFrame(FormMain* form)
{
    wxRect main, playlist;
    bool below = WaitFor([&] {
        main = desktop::FrameRect(form);
        playlist = desktop::FrameRect(PlaylistWindow());
        return !main.IsEmpty() && !playlist.IsEmpty() && playlist.x == main.x &&
               playlist.y == main.GetBottom() + 1;
    });
    if (below)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "main " << main.x << "," << main.y << " " << main.width << "x"
                                       << main.height << ", playlist " << playlist.x << "," << playlist.y;
}

TEST(PlacementTest, PlaylistFrameStandsBelowTheMainFrame)
{
    FormMain* form = CreateMainWindow();
    EXPECT_TRUE(PlaylistFrameBelowMainFrame(form)) << "at start";

    // Moves by the window manager (as when the user drags the title bar)...
    const wxPoint moves[] = {{200, 300}, {37, 90}};
    for (const wxPoint& to : moves) {
        desktop::Run(wxString::Format("xdotool windowmove %lu %d %d", desktop::XWindow(form), to.x, to.y));
        ASSERT_TRUE(WaitFor([&] { return desktop::FrameRect(form).GetPosition() == to; }))
            << "the window manager did not move the main window to " << to.x << "," << to.y;
        EXPECT_TRUE(PlaylistFrameBelowMainFrame(form)) << "after a move to " << to.x << "," << to.y;
    }
    // ...and by the program itself.
    form->Move(120, 60);
    EXPECT_TRUE(PlaylistFrameBelowMainFrame(form)) << "after Move";
    CloseMainWindow();
}

} // namespace
