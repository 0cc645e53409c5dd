// Audio CD tracks through the main window, the CD player and the tray menu,
// on a disc image listed as a drive after the machine's own drives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <wx/menu.h>
#include <wx/slider.h>
#include <wx/utils.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/TaskBarIcon.h"
#include "playback/CDPlayerThread.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

class CdPlaybackTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = TempFolder();
        wxArrayString output;
        ASSERT_EQ(wxExecute("bash " + DataFile("make-disc-image.sh") + " " + m_folder, output, wxEXEC_SYNC),
                  0);
        setenv("BRELKOS_CD_IMAGES", (m_folder + "/audio.cue").utf8_str(), 1);
        m_form = CreateMainWindow();
        // Building the menu reads the drives; the image is the last one.
        std::unique_ptr<wxMenu> menu(m_form->GetTaskBarIcon()->CreatePopupMenu());
        const wxArrayString& drives = m_form->GetTaskBarIcon()->GetDriveNames();
        ASSERT_FALSE(drives.IsEmpty());
        m_driveIndex = static_cast<int>(drives.GetCount()) - 1;
        m_drive = drives.Last();
    }
    void TearDown() override
    {
        CloseMainWindow();
        unsetenv("BRELKOS_CD_IMAGES");
    }

    FormMain* m_form = nullptr;
    wxString m_folder;
    wxString m_drive;
    int m_driveIndex = 0;
};

TEST_F(CdPlaybackTest, TrayListsTheDiscTracksInOrderAndSkipsKnownOnes)
{
    m_form->AddFile(m_drive + "1");
    m_form->GetTaskBarIcon()->PlayCD(m_driveIndex);
    const wxArrayString& cd = m_form->GetCDList();
    ASSERT_EQ(cd.GetCount(), 3u);
    EXPECT_EQ(cd[0], m_drive + "1");
    EXPECT_EQ(cd[1], m_drive + "0");
    EXPECT_EQ(cd[2], m_drive + "2");
}

TEST_F(CdPlaybackTest, PlaylistDriveMenuListsTheDrivesAndTheirTracks)
{
    std::unique_ptr<wxMenu> menu(PlaylistWindow()->BuildDriveMenu());
    const wxArrayString& drives = PlaylistWindow()->GetDriveNames();
    ASSERT_EQ(drives.Last(), m_drive);
    for (size_t i = 0; i < drives.GetCount() && i < 8; ++i)
        EXPECT_EQ(menu->GetLabelText(ID_PLAYLIST_DRIVE_FIRST + i), drives[i]);

    m_form->AddFile(m_drive + "2");
    PlaylistWindow()->ListDriveTracks(m_driveIndex);
    const wxArrayString& cd = m_form->GetCDList();
    ASSERT_EQ(cd.GetCount(), 3u);
    EXPECT_EQ(cd[1], m_drive + "0");
    EXPECT_EQ(cd[2], m_drive + "1");
    wxString log = ReadLog();
    EXPECT_NE(log.Find("Tracks : 3"), wxNOT_FOUND);
    EXPECT_NE(log.Find("ERROR : FormMain :: Stop - Player thread null"), wxNOT_FOUND);
}

TEST_F(CdPlaybackTest, ListingADriveWithoutADiscReportsAndAddsNothing)
{
    // A second image that does not exist stands for an empty drive.
    setenv("BRELKOS_CD_IMAGES", (m_folder + "/audio.cue:" + m_folder + "/gone.cue").utf8_str(), 1);
    std::unique_ptr<wxMenu> menu(PlaylistWindow()->BuildDriveMenu());
    PlaylistWindow()->ListDriveTracks(static_cast<int>(PlaylistWindow()->GetDriveNames().GetCount()) - 1);
    EXPECT_TRUE(m_form->GetCDList().IsEmpty());
    EXPECT_NE(ReadLog().Find("in \".\\src\\gui\\FormPlaylist\"@529"), wxNOT_FOUND);
    EXPECT_EQ(ReadLog().Find("FormPlaylist\"@532"), wxNOT_FOUND);

    // The tray reports the unreadable track count too.
    std::unique_ptr<wxMenu> trayMenu(m_form->GetTaskBarIcon()->CreatePopupMenu());
    m_form->GetTaskBarIcon()->PlayCD(static_cast<int>(m_form->GetTaskBarIcon()->GetDriveNames().GetCount()) - 1);
    EXPECT_TRUE(m_form->GetCDList().IsEmpty());
    EXPECT_NE(ReadLog().Find("in \".\\src\\gui\\TaskBarIcon\"@77"), wxNOT_FOUND);
    EXPECT_NE(ReadLog().Find("in \".\\src\\gui\\TaskBarIcon\"@80"), wxNOT_FOUND);
}

TEST_F(CdPlaybackTest, ATrackPlaysToItsEndAndTheNextTrackFollows)
{
    for (int i = 0; i < 3; ++i)
        m_form->AddFile(m_drive + wxString::Format("%d", i));
    m_form->SetFile(m_drive + "0", true, true);
    Player* player = m_form->GetPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->GetTypeName(), "CDPlayerThread");
    EXPECT_EQ(m_form->GetFileState(), Started);
    EXPECT_NE(ReadLog().Find("Number of tracks : 0/3"), wxNOT_FOUND);
    unsigned long first = player->GetSerial();
    player->SetPosition(0.8f);
    ASSERT_TRUE(WaitFor(
        [&] {
            return m_form->GetPlayer() && m_form->GetPlayer()->GetSerial() != first &&
                   m_form->GetFileState() == Started;
        },
        8000));
    EXPECT_EQ(m_form->GetCurrentFile(), m_drive + "1");
}

TEST_F(CdPlaybackTest, PauseHoldsTheTrackAndStopEndsIt)
{
    m_form->AddFile(m_drive + "2");
    m_form->SetFile(m_drive + "2", true, true);
    ASSERT_TRUE(WaitFor([&] { return m_form->GetPositionSlider()->GetValue() > 50; }));
    m_form->Pause();
    Pump(100);
    int held = m_form->GetPositionSlider()->GetValue();
    Pump(300);
    EXPECT_EQ(m_form->GetPositionSlider()->GetValue(), held);
    m_form->PlayCommand();
    EXPECT_TRUE(WaitFor([&] { return m_form->GetPositionSlider()->GetValue() > held; }));
    m_form->Stop();
    EXPECT_EQ(m_form->GetPlayer(), nullptr);
    EXPECT_NE(ReadLog().Find("FormMain :: EndOfMedia - End - Already stopping"), wxNOT_FOUND);
}

TEST_F(CdPlaybackTest, ATrackBeyondTheDiscFailsWithOnlyTheCountLine)
{
    CDPlayerThread player(nullptr);
    EXPECT_FALSE(player.Load(m_drive + "7"));
    EXPECT_EQ(player.GetTrackCount(), 3);
    wxString log = ReadLog();
    int count = log.Find("Number of tracks : 7/3");
    ASSERT_NE(count, wxNOT_FOUND);
    // The output search before it may report; nothing after it does.
    wxString after = log.Mid(count);
    EXPECT_EQ(after.Find("FMOD error"), wxNOT_FOUND) << after;
    EXPECT_EQ(after.Find("Play - Can't load track"), wxNOT_FOUND);
}

TEST_F(CdPlaybackTest, AnAddressOfNoDriveIsLoggedAndNothingPlays)
{
    m_form->SetFile("Q:0", true, true);
    EXPECT_EQ(m_form->GetFileState(), Initialised);
    wxString log = ReadLog();
    EXPECT_NE(log.Find("in \".\\src\\other\\CDPlayerThread\"@"), wxNOT_FOUND);
    EXPECT_NE(log.Find("FormMain :: LoadFile - Can't load Q:0"), wxNOT_FOUND);
}

} // namespace
