// The video window without a video: its display modes, the self-hiding
// controls, and its buttons and keys reaching the main window.
#include <functional>
#include <wx/display.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/uiaction.h>

#include "VideoTest.h"
#include "gui/ImageButton.h"

namespace video_test {
namespace {

using testing_support::ReadLog;
using testing_support::WaitFor;

class VideoWindowTest : public VideoTest {
protected:
    void SetUp() override
    {
        VideoTest::SetUp();
        m_video->SetClientSize(m_windowed.GetSize());
        m_video->Move(m_windowed.GetPosition());
        m_video->Show();
        ASSERT_TRUE(WaitFor([this] { return m_video->GetRect() == m_windowed; }));
        m_screen = wxDisplay(0u).GetGeometry();
    }

    void Key(wxWindow* target, int keyCode)
    {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = keyCode;
        key.SetEventObject(target);
        target->GetEventHandler()->ProcessEvent(key);
    }

    void DoubleClick(wxWindow* target)
    {
        wxMouseEvent click(wxEVT_LEFT_DCLICK);
        click.SetEventObject(target);
        target->GetEventHandler()->ProcessEvent(click);
    }

    void Motion(wxWindow* target)
    {
        wxMouseEvent motion(wxEVT_MOTION);
        motion.SetEventObject(target);
        target->GetEventHandler()->ProcessEvent(motion);
    }

    void Click(int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(m_video->GetButton(id));
        m_video->GetButton(id)->GetEventHandler()->ProcessEvent(click);
    }

    bool IsFullScreenOnTheDisplay() { return m_video->IsFullScreenMode() && m_video->GetRect() == m_screen; }
    bool IsBackInItsPlace() { return !m_video->IsFullScreenMode() && m_video->GetRect() == m_windowed; }

    bool CursorsBlank()
    {
        const wxCursor& blank = m_video->GetBlankCursor();
        return m_video->GetCursor().IsSameAs(blank) && m_ctrl->GetCursor().IsSameAs(blank) &&
               m_video->GetControlsPanel()->GetCursor().IsSameAs(blank);
    }

    // Xvfb gives the keyboard to the window under the pointer.
    void PointAtTheVideo()
    {
        m_video->Raise();
        wxUIActionSimulator sim;
        sim.MouseMove(m_video->GetScreenRect().GetPosition() + wxPoint(60, 40));
        m_ctrl->SetFocus();
        WaitFor([this] { return wxWindow::FindFocus() == m_ctrl; }, 2000);
    }

    const wxRect m_windowed{150, 120, 320, 240};
    int m_mainKeys = 0;
    wxRect m_screen;
};

TEST_F(VideoWindowTest, FullScreenOnDoubleClickOrEnterAndEscapeBack)
{
    struct Way {
        const char* what;
        std::function<void()> enter;
    };
    const Way ways[] = {
        {"double-click on the window", [this] { DoubleClick(m_video); }},
        {"double-click on the video", [this] { DoubleClick(m_ctrl); }},
        {"Enter", [this] { Key(m_video, WXK_RETURN); }},
        {"Enter on the keypad", [this] { Key(m_video, WXK_NUMPAD_ENTER); }},
        {"Enter twice",
         [this] {
             Key(m_ctrl, WXK_RETURN);
             Key(m_ctrl, WXK_RETURN);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        way.enter();
        ASSERT_TRUE(WaitFor([this] { return IsFullScreenOnTheDisplay(); }));
        EXPECT_EQ(m_ctrl->GetRect(), wxRect(m_screen.GetSize()));
        wxPanel* panel = m_video->GetControlsPanel();
        EXPECT_TRUE(panel->IsShown());
        // At the bottom centre of the display (of the control's inside, GTK
        // drawing a border round it).
        wxSize inside = m_ctrl->GetClientSize();
        EXPECT_LE(m_screen.width - inside.x, 4);
        EXPECT_EQ(panel->GetRect(), wxRect((inside.x - 400) / 2, inside.y - 40, 400, 40));

        Key(m_video, WXK_ESCAPE);
        EXPECT_TRUE(WaitFor([this] { return IsBackInItsPlace(); }));
        EXPECT_EQ(m_ctrl->GetSize(), m_windowed.GetSize());
        EXPECT_FALSE(panel->IsShown());
    }
    // A second double-click toggles back as well.
    DoubleClick(m_ctrl);
    ASSERT_TRUE(WaitFor([this] { return IsFullScreenOnTheDisplay(); }));
    DoubleClick(m_ctrl);
    EXPECT_TRUE(WaitFor([this] { return IsBackInItsPlace(); }));
}

TEST_F(VideoWindowTest, EscapeInTheWindowDoesNothing)
{
    Key(m_video, WXK_ESCAPE);
    EXPECT_FALSE(
        WaitFor([this] { return m_video->GetRect() != m_windowed || m_video->IsFullScreenMode(); }, 300));
}

TEST_F(VideoWindowTest, RealDoubleClickAndKeysReachTheWindow)
{
    PointAtTheVideo();
    wxUIActionSimulator sim;
    sim.MouseDblClick();
    ASSERT_TRUE(WaitFor([this] { return IsFullScreenOnTheDisplay(); }));
    sim.Char(WXK_ESCAPE);
    ASSERT_TRUE(WaitFor([this] { return IsBackInItsPlace(); }));
    PointAtTheVideo();
    sim.Char(WXK_RETURN);
    ASSERT_TRUE(WaitFor([this] { return IsFullScreenOnTheDisplay(); }));
    sim.Char(WXK_ESCAPE);
    EXPECT_TRUE(WaitFor([this] { return IsBackInItsPlace(); }));
}

TEST_F(VideoWindowTest, ControlsShowOnMotionAndHideWithTheCursorAfterASecond)
{
    wxPanel* panel = m_video->GetControlsPanel();
    Motion(m_ctrl);
    EXPECT_FALSE(panel->IsShown()) << "never in the window";

    m_video->SetFullScreenMode(true);
    ASSERT_TRUE(panel->IsShown());
    wxPoint home = panel->GetPosition();
    ASSERT_TRUE(WaitFor([panel] { return !panel->IsShown(); }, 3000));
    EXPECT_TRUE(CursorsBlank());

    for (wxWindow* over : {static_cast<wxWindow*>(m_ctrl), static_cast<wxWindow*>(m_video),
                           static_cast<wxWindow*>(m_video->GetPositionSlider())}) {
        SCOPED_TRACE(over->GetName());
        Motion(over);
        EXPECT_TRUE(panel->IsShown());
        EXPECT_EQ(panel->GetPosition(), home);
        EXPECT_FALSE(CursorsBlank());
        wxLongLong shown = wxGetLocalTimeMillis();
        ASSERT_TRUE(WaitFor([panel] { return !panel->IsShown(); }, 3000));
        EXPECT_GE(wxGetLocalTimeMillis() - shown, FormVideo::kHideMs - 100);
        EXPECT_TRUE(CursorsBlank());
    }
    // Hidden, the panel slides down out of the display and comes back home.
    EXPECT_TRUE(WaitFor([panel, home] { return panel->GetPosition() == home; }, 3000));
    EXPECT_FALSE(panel->IsShown());

    m_video->SetFullScreenMode(false);
    EXPECT_FALSE(CursorsBlank());
}

TEST_F(VideoWindowTest, ButtonsCallTheMainWindow)
{
    // Nothing plays: each command reaches the main window and says so.
    struct Button {
        int id;
        const char* line;
    };
    const Button buttons[] = {
        {ID_VIDEO_PREVIOUS, "FormMain :: PreviousFile - End - Player thread null"},
        {ID_VIDEO_PLAY, "FormMain :: SetFile - End - Void file name"},
        {ID_VIDEO_PAUSE, "FormMain :: Pause - End - Player thread null"},
        {ID_VIDEO_STOP, "ERROR : FormMain :: Stop - Player thread null"},
        {ID_VIDEO_NEXT, "FormMain :: NextFile - End - Player thread null"},
    };
    for (const Button& button : buttons) {
        SCOPED_TRACE(button.line);
        ASSERT_NE(m_video->GetButton(button.id), nullptr);
        EXPECT_EQ(ReadLog().Find(button.line), wxNOT_FOUND);
        Click(button.id);
        EXPECT_NE(ReadLog().Find(button.line), wxNOT_FOUND);
    }
}

TEST_F(VideoWindowTest, AButtonClickStartsTheHideTimerAgain)
{
    wxPanel* panel = m_video->GetControlsPanel();
    m_video->SetFullScreenMode(true);
    const wxPoint home = panel->GetPosition();
    // Hidden after the first second; then the panel slides out and back home.
    ASSERT_TRUE(WaitFor([panel, home] { return !panel->IsShown() && panel->GetPosition() != home; }, 3000));
    ASSERT_TRUE(WaitFor([panel, home] { return panel->GetPosition() == home; }, 3000));

    wxLongLong clicked = wxGetLocalTimeMillis();
    Click(ID_VIDEO_PAUSE);
    // The timer runs again: a second later it hides and slides once more.
    EXPECT_TRUE(WaitFor([panel, home] { return panel->GetPosition() != home; }, 3000));
    EXPECT_GE(wxGetLocalTimeMillis() - clicked, FormVideo::kHideMs - 100);
}

TEST_F(VideoWindowTest, KeysCallTheMainWindow)
{
    wxSlider* position = m_main->GetPositionSlider();
    wxSlider* volume = m_main->GetVolumeSlider();
    struct Case {
        const char* what;
        int keyCode;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {"Right", WXK_RIGHT, [position] { return position->GetValue() == 503; }},
        {"Left", WXK_LEFT, [position] { return position->GetValue() == 497; }},
        {"keypad +", WXK_NUMPAD_ADD, [volume] { return volume->GetValue() == 55; }},
        {"keypad -", WXK_NUMPAD_SUBTRACT, [volume] { return volume->GetValue() == 45; }},
        {"Page Up", WXK_PAGEUP,
         [] { return ReadLog().Find("FormMain :: NextFile - End - Player thread null") != wxNOT_FOUND; }},
        {"Page Down", WXK_PAGEDOWN,
         [] { return ReadLog().Find("FormMain :: PreviousFile - End - Player thread null") != wxNOT_FOUND; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        position->SetValue(500);
        volume->SetValue(50);
        // From the video control, where the focus usually is, up to the window.
        Key(m_ctrl, c.keyCode);
        EXPECT_TRUE(c.done());
    }
}

TEST_F(VideoWindowTest, OtherKeysDoNothingAndStayInTheVideoWindow)
{
    // Windows virtual-key codes of the README's video keys are ordinary
    // characters here (39 is the apostrophe, 37 '%'); the main window's keys
    // (Delete) are not the video window's.
    wxSlider* position = m_main->GetPositionSlider();
    wxSlider* volume = m_main->GetVolumeSlider();
    position->SetValue(500);
    volume->SetValue(50);
    m_main->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        ++m_mainKeys;
        event.Skip();
    });
    PointAtTheVideo();
    wxUIActionSimulator sim;
    sim.Char('\'');
    sim.Char('%');
    sim.Char(WXK_DELETE);
    sim.Char('k');
    // A key we handle, pressed last, shows that the ones before it were seen.
    sim.Char(WXK_NUMPAD_ADD);
    ASSERT_TRUE(WaitFor([volume] { return volume->GetValue() == 55; }));
    EXPECT_EQ(position->GetValue(), 500);
    EXPECT_FALSE(m_video->IsFullScreenMode());
    EXPECT_EQ(m_mainKeys, 0);
}

TEST(VideoSizeTest, TheWindowTakesTheVideosSizeWithinTheDisplay)
{
    const wxSize current(400, 250);
    const wxSize work(1280, 1000);
    struct Case {
        const char* what;
        wxSize natural;
        wxSize sinkArea;
        wxSize expected;
    };
    const Case cases[] = {
        {"unknown size", wxSize(0, 0), wxSize(398, 248), current},
        {"sink that mirrors its window", wxSize(398, 248), wxSize(398, 248), current},
        {"mirrored up to two pixels", wxSize(400, 250), wxSize(398, 248), current},
        {"small video", wxSize(160, 120), wxSize(398, 248), wxSize(160, 120)},
        {"video as large as the work area", wxSize(1280, 1000), wxSize(398, 248), wxSize(1280, 1000)},
        {"wide video", wxSize(2560, 1000), wxSize(398, 248), wxSize(1280, 500)},
        {"tall video", wxSize(640, 2000), wxSize(398, 248), wxSize(320, 1000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FormVideo::ChooseVideoSize(c.natural, c.sinkArea, current, work), c.expected);
    }
}

} // namespace
} // namespace video_test
