#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "playback/PlaybackController.h"

using namespace BrelkosPlayer;

namespace {

using Events = std::vector<std::string>;

// Writes what is done to it into the test's event list as "what path"; the
// paths in broken do not load. Ending calls ended with its serial.
class FakePlayer : public Player {
public:
    FakePlayer(Events& events, const std::set<std::string>& broken, std::function<void(unsigned long)> ended)
        : m_events(events), m_broken(broken), m_ended(std::move(ended))
    {
    }

    bool Load(const wxString& path) override
    {
        m_path = std::string(path.utf8_str());
        _note("load");
        return m_broken.count(m_path) == 0;
    }
    bool Start() override { return true; }
    void Play() override
    {
        _note("play");
        m_state = Playing;
    }
    void Pause() override
    {
        _note("pause");
        if (m_state == Playing && !refusesPause)
            m_state = Paused;
    }
    void Stop() override
    {
        _note("stop");
        m_state = Stopped;
    }
    void End() override
    {
        _note("end");
        m_ended(GetSerial());
    }
    void SetPosition(float) override {}
    wxString GetMediaTime() override { return "00:02"; }
    bool SetVolume(int, int) override { return true; }
    void SetMute(bool) override {}
    bool GetMute() const override { return false; }
    void Forward() override {}
    void Rewind() override {}
    wxString GetTypeName() const override { return "FakePlayer"; }
    PlayerState GetState() const override { return m_state; }
    // Two seconds long, a quarter in.
    unsigned GetLengthMs() const override { return 2000; }
    unsigned GetPositionMs() override { return 500; }

    // As a player thread whose medium has just ended: its channel is gone.
    bool refusesPause = false;

private:
    void _note(const char* what) { m_events.push_back(std::string(what) + " " + m_path); }

    Events& m_events;
    const std::set<std::string>& m_broken;
    std::function<void(unsigned long)> m_ended;
    std::string m_path;
    PlayerState m_state = Loaded;
};

class PlaybackControllerTest : public ::testing::Test, public PlayerFactory, public PlaybackView {
protected:
    std::unique_ptr<Player> MakePlayer(PlaylistStore::Kind, PlayerOwner& owner) override
    {
        // A rule that keeps trying broken files would never return.
        if (++m_made > 50)
            throw std::runtime_error("too many players");
        auto ended = [this, &owner](unsigned long serial) {
            // A player thread tells its end when it is ended too.
            if (m_threadEnds)
                EndFromPlayerThread(owner, serial);
        };
        return std::unique_ptr<Player>(new FakePlayer(m_events, m_broken, ended));
    }

    void ShowFile(const wxString&) override {}
    void ShowLength(const wxString&) override {}
    void ShowPosition(int sliderValue) override { m_positions.push_back(sliderValue); }
    void EnablePosition() override {}
    void ShowNoFile() override { m_events.push_back("no file"); }
    void HideVideo() override {}
    void SelectNextEntry() override {}
    bool SelectEntry(const wxString&) override { return true; }
    const void* VideoControlId() const override { return nullptr; }

    // CD entries, as the store files a path that names no file; the CD list
    // becomes the current one.
    void Fill(std::initializer_list<const char*> paths)
    {
        for (const char* path : paths)
            m_store.Add(path);
        m_store.SetCurrentKind(PlaylistStore::CD);
    }

    void Start(const char* path)
    {
        m_controller.SetFile(path, true, true);
        ASSERT_EQ(m_controller.GetFileState(), Started);
        m_events.clear();
    }

    // A thread player's end: the advance waits for the GUI thread.
    void EndFromPlayerThread(PlayerOwner& owner, unsigned long serial)
    {
        m_onGui = false;
        owner.EndOfMedia(serial);
        m_onGui = true;
    }
    // The current player's end, told on the GUI thread or on its own.
    void EndCurrent(bool onGui)
    {
        Player* player = m_controller.GetPlayer();
        if (!player) {
            ADD_FAILURE() << "no current player";
            return;
        }
        if (onGui)
            m_controller.EndOfMedia(player->GetSerial());
        else
            EndFromPlayerThread(m_controller, player->GetSerial());
    }

    void RunPosted()
    {
        while (!m_posted.empty()) {
            std::function<void()> work = std::move(m_posted.front());
            m_posted.pop_front();
            work();
        }
    }

    Events Take() { return std::exchange(m_events, {}); }
    wxString Current() const { return m_store.GetCurrentFile(); }

    Events m_events;
    std::vector<int> m_positions;
    std::set<std::string> m_broken;
    int m_made = 0;
    bool m_onGui = true;
    bool m_threadEnds = false;
    std::deque<std::function<void()>> m_posted;
    PlaylistStore m_store{RandomSource{[] {}, [] { return 0; }}};
    PlaybackController m_controller{
        m_store,
        *this,
        *this,
        {[this] { return m_onGui; },
         [this](std::function<void()> work) { m_posted.push_back(std::move(work)); }}};
};

} // namespace

TEST_F(PlaybackControllerTest, AnEndThatArrivesAfterTheUserMovedOnIsDropped)
{
    Fill({"D:0", "D:1", "D:2"});
    Start("D:0");
    EndCurrent(false);
    ASSERT_EQ(m_posted.size(), 1u);
    // Next is pressed before the GUI thread gets to the end of D:0.
    m_controller.NextFile();
    ASSERT_EQ(Current(), "D:1");
    Take();
    RunPosted();
    EXPECT_EQ(Current(), "D:1");
    EXPECT_EQ(Take(), Events());

    // The current player's own end still advances.
    EndCurrent(false);
    RunPosted();
    EXPECT_EQ(Take(), (Events{"end D:1", "load D:2", "play D:2"}));
    EXPECT_EQ(m_controller.GetPlayState(), Playing);
}

TEST_F(PlaybackControllerTest, TheEndAPlayerTellsWhileItIsStoppedIsDroppedAtOnce)
{
    Fill({"D:0", "D:1"});
    Start("D:0");
    m_threadEnds = true;
    m_controller.Stop();
    EXPECT_EQ(Take(), Events{"end D:0"});
    EXPECT_TRUE(m_posted.empty());
    EXPECT_EQ(m_controller.GetPlayer(), nullptr);
}

TEST_F(PlaybackControllerTest, FilesThatCannotBeLoadedAreSkippedAndAListOfThemEnds)
{
    Fill({"D:0", "D:1", "D:2"});
    m_broken = {"D:1"};
    Start("D:0");
    EndCurrent(true);
    EXPECT_EQ(Take(), (Events{"end D:0", "load D:1", "end D:1", "load D:2", "play D:2"}));
    EXPECT_EQ(m_controller.GetFileState(), Started);

    // Even looping, the tries end (the factory gives up on a rule that keeps
    // trying) and nothing plays.
    m_store.SetLoop(true);
    m_broken = {"D:0", "D:1", "D:2"};
    m_controller.NextFile();
    Events events = Take();
    for (const char* path : {"D:0", "D:1", "D:2"})
        EXPECT_NE(std::find(events.begin(), events.end(), std::string("load ") + path), events.end()) << path;
    EXPECT_NE(m_controller.GetFileState(), Started);
}

TEST_F(PlaybackControllerTest, PlayAfterPauseResumesTheSamePlayer)
{
    Fill({"D:0", "D:1"});
    Start("D:0");
    Player* player = m_controller.GetPlayer();
    m_controller.Pause();
    m_controller.PlayCommand();
    EXPECT_EQ(Take(), (Events{"pause D:0", "play D:0"}));
    EXPECT_EQ(m_controller.GetPlayer(), player);
    EXPECT_EQ(m_controller.GetPlayState(), Playing);
}

TEST_F(PlaybackControllerTest, APauseThePlayerRefusesLeavesThePlayStateAlone)
{
    Fill({"D:0", "D:1"});
    Start("D:0");
    static_cast<FakePlayer*>(m_controller.GetPlayer())->refusesPause = true;
    m_controller.Pause();
    EXPECT_EQ(m_controller.GetPlayState(), Playing);
    // Its end, on its way, moves on.
    EndCurrent(false);
    RunPosted();
    EXPECT_EQ(Current(), "D:1");
    EXPECT_EQ(m_controller.GetPlayState(), Playing);
}

TEST_F(PlaybackControllerTest, PreviousAfterNextPlaysThePreviousFileAgain)
{
    Fill({"D:0", "D:1", "D:2"});
    Start("D:0");
    m_controller.NextFile();
    Take();
    m_controller.PreviousFile();
    EXPECT_EQ(Take(), (Events{"end D:1", "load D:0", "play D:0"}));
    EXPECT_EQ(Current(), "D:0");
    EXPECT_EQ(m_controller.GetPlayState(), Playing);
}

TEST_F(PlaybackControllerTest, LoopPlaysTheOnlyEntryAgainAndWithoutLoopTheListEnds)
{
    Fill({"D:0"});
    m_store.SetLoop(true);
    Start("D:0");
    EndCurrent(true);
    EXPECT_EQ(Take(), (Events{"end D:0", "load D:0", "play D:0"}));
    EXPECT_EQ(m_controller.GetFileState(), Started);

    m_store.SetLoop(false);
    EndCurrent(true);
    EXPECT_EQ(Take(), (Events{"end D:0", "no file"}));
    EXPECT_EQ(m_controller.GetPlayer(), nullptr);
}

TEST_F(PlaybackControllerTest, PositionNewsWhileTheViewIsHiddenIsDroppedAndShowingItShowsThePlayersPosition)
{
    using Positions = std::vector<int>;
    Fill({"D:0"});
    Start("D:0");
    unsigned long serial = m_controller.GetPlayer()->GetSerial();
    m_positions.clear();
    m_controller.PlayerProgress(serial, 100);
    RunPosted();
    EXPECT_EQ(std::exchange(m_positions, {}), Positions{100});

    m_controller.PlayerProgress(serial, 200);
    m_controller.SetViewHidden(true);
    m_controller.PlayerProgress(serial, 300);
    // Not even posted: the GUI thread is left asleep.
    EXPECT_EQ(m_posted.size(), 1u);
    RunPosted();
    EXPECT_EQ(std::exchange(m_positions, {}), Positions());

    m_controller.SetViewHidden(false);
    EXPECT_EQ(std::exchange(m_positions, {}), Positions{250});
    m_controller.Stop();
    m_controller.SetViewHidden(true);
    m_positions.clear();
    m_controller.SetViewHidden(false);
    EXPECT_EQ(m_positions, Positions{0});
}
