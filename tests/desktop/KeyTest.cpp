// Keys typed in a window act in that window only: real key presses through
// XTest into the window the window manager activated.
#include <gtest/gtest.h>

#include <functional>
#include <wx/checkbox.h>
#include <wx/filefn.h>
#include <wx/listbox.h>
#include <wx/slider.h>
#include <wx/textctrl.h>

#include "desktop/Desktop.h"
#include "gui/FormEncode.h"
#include "gui/FormEncodingOptions.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/FormSearch.h"
#include "gui/ListBox.h"
#include "gui/TrackList.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using testing_support::WaitFor;

namespace {

class KeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Three files, the first one paused a little way in: a skip, a seek
        // or a removal shows in the main window's state and stays there.
        for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
            m_paths.Add(testing_support::TempFolder() + "/" + name);
            ASSERT_TRUE(wxCopyFile(testing_support::DataFile("tone.wav"), m_paths.Last()));
        }
        m_main = testing_support::CreateMainWindow(m_paths);
        m_playlist = testing_support::PlaylistWindow();
        ASSERT_TRUE(WaitFor([this] { return m_main->GetPositionSlider()->GetValue() > 100; }));
        m_main->Pause();
        ASSERT_EQ(m_main->GetPlayState(), Paused);
        // The player's last report may still be on its way.
        testing_support::Pump(100);
        m_main->GetVolumeSlider()->SetValue(50);
    }

    void TearDown() override { testing_support::CloseMainWindow(); }

    // What the main window's and the playlist's key commands change.
    std::string State() const
    {
        wxString played;
        for (const wxString& path : m_main->GetPlayedList())
            played += wxFileNameFromPath(path) + " ";
        return wxString::Format("file %s, played %s, state %d, volume %d, position %d, entries %d",
                                wxFileNameFromPath(m_main->GetCurrentFile()), played,
                                static_cast<int>(m_main->GetPlayState()),
                                m_main->GetVolumeSlider()->GetValue(),
                                m_main->GetPositionSlider()->GetValue(),
                                m_playlist->GetTrackList(FormPlaylist::Audio).GetCount())
            .ToStdString();
    }

    // Activates the window through the window manager, gives the control the
    // focus and presses the keys.
    static void Press(wxTopLevelWindow* window, wxWindow* control, const wxString& keys)
    {
        window->Show();
        ASSERT_TRUE(WaitFor([window] { return !desktop::FrameRect(window).IsEmpty(); }));
        ASSERT_TRUE(desktop::Activate(window));
        control->SetFocus();
        ASSERT_TRUE(WaitFor([control] { return wxWindow::FindFocus() == control; }));
        desktop::PressKeys(keys);
    }

    FormMain* m_main = nullptr;
    FormPlaylist* m_playlist = nullptr;
    wxArrayString m_paths;
};

TEST_F(KeyTest, ChildWindowsKeepTheKeysTypedInThem)
{
    // Every key the main window or the playlist has a command for, typed
    // among ordinary ones. In a text field: "ab", back one place, "x", Delete
    // takes the "b", the keypad types its signs, BackSpace takes the "-"; the
    // page keys, Up and Down leave the text alone.
    const wxString fieldKeys = "a b Left x Delete Next Prior KP_Add KP_Subtract Right BackSpace Up Down";
    // On the slider (0 to 10): two steps right, one back, a page on and back.
    const wxString sliderKeys = "Right Right Left Next Prior Delete KP_Add KP_Subtract";
    FormSearch* search = m_playlist->GetSearchWindow();
    FormEncodingOptions* options = testing_support::EncodeWindow()->GetOptionsDialog();
    struct Case {
        const char* window;
        wxTopLevelWindow* frame;
        wxWindow* control;
        wxString keys;
        std::function<wxString()> result;
        wxString expected;
    };
    const Case cases[] = {
        {"search", search, search->GetTextField(), fieldKeys,
         [search] { return search->GetTextField()->GetValue(); }, "ax+"},
        {"encode", testing_support::EncodeWindow(), testing_support::EncodeWindow()->GetPathField(),
         fieldKeys, [] { return testing_support::EncodeWindow()->GetPathField()->GetValue(); }, "ax+"},
        {"options", options, options->GetQualitySlider(), sliderKeys,
         [options] { return wxString::Format("%d", options->GetQualitySlider()->GetValue()); }, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        const std::string before = State();
        Press(c.frame, c.control, c.keys);
        EXPECT_EQ(c.result(), c.expected) << "what the control did with the keys";
        EXPECT_EQ(State(), before) << "what the main window and the playlist did";
    }
}

TEST_F(KeyTest, PageKeysSkipFilesFromTheMainWindowOnly)
{
    const std::string before = State();
    Press(m_playlist, m_playlist->GetTrackList(FormPlaylist::Audio).GetListBox(), "Next Prior");
    EXPECT_EQ(State(), before) << "Page Down and Page Up typed in the playlist";

    Press(m_main, m_main->GetLoopBox(), "Next");
    EXPECT_TRUE(WaitFor([this] { return m_main->GetCurrentFile() == m_paths[1]; }))
        << "Page Down typed in the main window; " << State();
}

} // namespace
