#include <wx/slider.h>
#include <wx/uiaction.h>

#include "PlaylistTest.h"

namespace playlist_test {
namespace {

// Real key presses through the X server: on GTK only the frame's char hook
// sees them, whichever child has the focus.
class PlaylistKeyTest : public PlaylistTest {
protected:
    void SetUp() override
    {
        PlaylistTest::SetUp();
        m_main->AddFile(Data("tone.mp3"));
        m_main->AddFile(Data("tone.wav"));
        m_main->AddFile(Data("tone.ogg"));
        wxListBox* box = List(FormPlaylist::Audio).GetListBox();
        m_playlist->Raise();
        // Xvfb gives the keyboard to the window under the pointer.
        wxUIActionSimulator sim;
        sim.MouseMove(box->GetScreenRect().GetPosition() + wxPoint(40, 200));
        box->SetFocus();
        ASSERT_TRUE(testing_support::WaitFor([box] { return wxWindow::FindFocus() == box; }, 3000));
    }

    bool Press(int keyCode, const std::function<bool()>& effect)
    {
        wxUIActionSimulator sim;
        sim.Char(keyCode);
        return testing_support::WaitFor(effect, 3000);
    }
};

TEST_F(PlaylistKeyTest, KeypadPlusAndMinusStepTheVolume)
{
    wxSlider* volume = m_main->GetVolumeSlider();
    volume->SetValue(50);
    EXPECT_TRUE(Press(WXK_NUMPAD_ADD, [volume] { return volume->GetValue() == 55; }));
    EXPECT_TRUE(Press(WXK_NUMPAD_SUBTRACT, [volume] { return volume->GetValue() == 50; }));
    volume->SetValue(98);
    EXPECT_TRUE(Press(WXK_NUMPAD_ADD, [volume] { return volume->GetValue() == 100; }));
}

TEST_F(PlaylistKeyTest, LeftAndRightStepThePosition)
{
    wxSlider* position = m_main->GetPositionSlider();
    position->SetValue(500);
    EXPECT_TRUE(Press(WXK_RIGHT, [position] { return position->GetValue() == 503; }));
    EXPECT_TRUE(Press(WXK_LEFT, [position] { return position->GetValue() == 500; }));
    EXPECT_EQ(List(FormPlaylist::Audio).GetListBox()->GetSelection(), 2)
        << "the arrows do not move the selection";
}

TEST_F(PlaylistKeyTest, UpAndDownStepThroughFiles)
{
    // Nothing plays: both commands reach the main window and say so.
    EXPECT_TRUE(Press(WXK_UP, [] {
        return testing_support::ReadLog().Find("FormMain :: NextFile - End - Player thread null") !=
               wxNOT_FOUND;
    }));
    EXPECT_TRUE(Press(WXK_DOWN, [] {
        return testing_support::ReadLog().Find("FormMain :: PreviousFile - End - Player thread null") !=
               wxNOT_FOUND;
    }));
}

TEST_F(PlaylistKeyTest, DeleteRemovesTheSelectedEntry)
{
    TrackList& audio = List(FormPlaylist::Audio);
    EXPECT_TRUE(Press(WXK_DELETE, [&audio] { return audio.GetCount() == 2; }));
    EXPECT_EQ(Strings(m_main->GetAudioList()), Strings(audio.GetPaths()));
}

} // namespace
} // namespace playlist_test
