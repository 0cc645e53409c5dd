// The main window driving real players on the tiny files of tests/data, with
// whatever output the search settles on (no sound card here: "No sound").
#include <gtest/gtest.h>

#include <random>
#include <wx/checkbox.h>
#include <wx/slider.h>

#include "gui/FormMain.h"
#include "playback/PlayerThread.h"
#include "support/GuiTest.h"
#include "support/Watchdog.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

class PlaybackTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_form = CreateMainWindow();
        for (const char* name : {"tone.wav", "tone.ogg", "tone.mp3"})
            m_form->AddFile(DataFile(name));
        ASSERT_EQ(m_form->GetAudioList().GetCount(), 3u);
    }
    void TearDown() override { CloseMainWindow(); }

    // Follows playback until the list ends (or the deadline passes), skipping
    // ahead in every started file so each plays only its last moments.
    wxArrayString FollowStarts(size_t maxStarts, int timeoutMs = 20000)
    {
        wxArrayString starts;
        unsigned long seen = 0; // serials: a new player may reuse the old one's address
        WaitFor(
            [&] {
                Player* player = m_form->GetPlayer();
                if (player && player->GetSerial() != seen && m_form->GetFileState() == Started) {
                    seen = player->GetSerial();
                    starts.Add(m_form->GetCurrentFile());
                    player->SetPosition(0.85f);
                }
                return starts.GetCount() >= maxStarts || (!player && m_form->GetTitle() == "Brelko's Player");
            },
            timeoutMs);
        return starts;
    }

    FormMain* m_form = nullptr;
};

TEST_F(PlaybackTest, SequentialPlayGoesThroughTheListThenEnds)
{
    const wxArrayString& list = m_form->GetAudioList();
    m_form->SetFile(list[0], true, true);
    EXPECT_EQ(m_form->GetTitle(), "Brelko's Player - tone");
    EXPECT_EQ(m_form->GetPlayState(), Playing);
    EXPECT_TRUE(m_form->GetPositionSlider()->IsEnabled());
    wxArrayString starts = FollowStarts(10);
    ASSERT_EQ(starts.GetCount(), 3u);
    EXPECT_EQ(starts, list);
    EXPECT_EQ(m_form->GetTitle(), "Brelko's Player");
    EXPECT_TRUE(m_form->GetPlayedList().IsEmpty());
    EXPECT_EQ(m_form->GetPlayer(), nullptr);
    EXPECT_EQ(ReadLog().Find("Already stopping"), wxNOT_FOUND);
}

TEST_F(PlaybackTest, StopDuringPlayDoesNotAdvance)
{
    m_form->SetFile(m_form->GetAudioList()[0], true, true);
    ASSERT_TRUE(WaitFor([&] { return m_form->GetPositionSlider()->GetValue() > 0; }));
    m_form->Stop();
    EXPECT_NE(ReadLog().Find("FormMain :: EndOfMedia - End - Already stopping"), wxNOT_FOUND);
    Pump(300);
    EXPECT_EQ(m_form->GetPlayer(), nullptr);
    EXPECT_EQ(m_form->GetFileState(), NoFile);
    EXPECT_EQ(m_form->GetPlayState(), Stopped);
    EXPECT_EQ(m_form->GetPositionSlider()->GetValue(), 0);
    // The name stays for the play button to start again.
    EXPECT_EQ(m_form->GetCurrentFile(), m_form->GetAudioList()[0]);
}

TEST_F(PlaybackTest, PauseHoldsThePositionAndPlayResumesFromIt)
{
    m_form->SetFile(m_form->GetAudioList()[0], true, true);
    ASSERT_TRUE(WaitFor([&] { return m_form->GetPositionSlider()->GetValue() > 100; }));
    m_form->Pause();
    EXPECT_EQ(m_form->GetPlayState(), Paused);
    Pump(100);
    int held = m_form->GetPositionSlider()->GetValue();
    Pump(400);
    EXPECT_EQ(m_form->GetPositionSlider()->GetValue(), held);
    m_form->PlayCommand();
    EXPECT_EQ(m_form->GetPlayState(), Playing);
    EXPECT_TRUE(WaitFor([&] { return m_form->GetPositionSlider()->GetValue() > held; }));
    EXPECT_LT(m_form->GetPositionSlider()->GetValue(), held + 400);
}

TEST_F(PlaybackTest, AFileThatCannotBeLoadedIsLoggedAndSkipped)
{
    CloseMainWindow();
    m_form = CreateMainWindow();
    for (const char* name : {"tone.wav", "notmedia.wav", "empty.mp3", "tone.ogg"})
        m_form->AddFile(DataFile(name));
    const wxArrayString& list = m_form->GetAudioList();
    ASSERT_EQ(list.GetCount(), 4u);
    m_form->SetFile(list[0], true, true);
    wxArrayString starts = FollowStarts(10);
    ASSERT_EQ(starts.GetCount(), 2u);
    EXPECT_EQ(starts[1], list[3]);
    wxString log = ReadLog();
    EXPECT_NE(log.Find("FormMain :: LoadFile - Can't load " + list[1]), wxNOT_FOUND);
    EXPECT_NE(log.Find("FormMain :: LoadFile - Can't load " + list[2]), wxNOT_FOUND);
    EXPECT_NE(log.Find("in \".\\src\\other\\AudioPlayerThread\"@"), wxNOT_FOUND);
    EXPECT_EQ(m_form->GetTitle(), "Brelko's Player");
}

TEST_F(PlaybackTest, StartingArgumentsPlayTheFirstAudioFile)
{
    CloseMainWindow();
    wxArrayString args;
    args.Add(DataFile("clip.mkv"));
    args.Add(DataFile("tone.ogg"));
    m_form = CreateMainWindow(args);
    EXPECT_EQ(m_form->GetVideoList().GetCount(), 1u);
    EXPECT_EQ(m_form->GetCurrentFile(), DataFile("tone.ogg"));
    EXPECT_EQ(m_form->GetFileState(), Started);
    EXPECT_EQ(m_form->GetTitle(), "Brelko's Player - tone");
}

// Hundreds of random transport commands on short files: the states must stay
// consistent and nothing may crash, hang or race (run under the sanitizers).
TEST_F(PlaybackTest, RandomTransportCommandsKeepTheStatesConsistent)
{
    std::mt19937 random(12345);
    // A step that never returns ends the program with every thread's stack.
    Watchdog watchdog("random transport commands", 60);
    m_form->SetFile(m_form->GetAudioList()[0], true, true);
    for (int i = 0; i < 300; ++i) {
        watchdog.Beat(i);
        switch (random() % 9) {
        case 0: m_form->PlayCommand(); break;
        case 1: m_form->Pause(); break;
        case 2: m_form->Stop(); break;
        case 3: m_form->NextFile(); break;
        case 4: m_form->PreviousFile(); break;
        case 5: m_form->StepPosition(random() % 2 ? 300 : -300); break;
        case 6: m_form->StepVolume(random() % 2 ? 5 : -5); break;
        case 7:
            if (m_form->GetPlayer())
                m_form->GetPlayer()->SetPosition(0.97f);
            break;
        default: break;
        }
        Pump(random() % 3 == 0 ? 30 : 2);
        Player* player = m_form->GetPlayer();
        FileState file = m_form->GetFileState();
        if (file == Started) {
            ASSERT_NE(player, nullptr) << "step " << i;
        }
        if (file == NoFile && player)
            ADD_FAILURE() << "player without a file at step " << i;
        if (player && file == Started && m_form->GetPlayState() == Paused) {
            ASSERT_EQ(player->GetState(), Paused) << "step " << i;
        }
    }
    m_form->Stop();
    EXPECT_EQ(m_form->GetPlayer(), nullptr);
}

} // namespace
