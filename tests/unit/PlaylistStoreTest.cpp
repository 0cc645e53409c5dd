#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "playlist/PlaylistStore.h"

using BrelkosPlayer::PlaylistStore;
using BrelkosPlayer::RandomSource;

namespace {

// Draws handed out in order; running out throws, so a choice that keeps
// drawing fails the test instead of hanging it.
struct ScriptedDraws {
    std::vector<int> draws;
    size_t used = 0;
    int seeds = 0;

    RandomSource Source()
    {
        return {[this] { ++seeds; }, [this] { return draws.at(used++); }};
    }
};

class PlaylistStoreTest : public ::testing::Test {
protected:
    // Entries of the CD list (none of them names an existing file), which
    // becomes the current list.
    void Fill(std::initializer_list<const char*> paths)
    {
        for (const char* path : paths)
            EXPECT_EQ(m_store.Add(path), PlaylistStore::CD);
        m_store.SetCurrentKind(PlaylistStore::CD);
    }

    void Played(const char* current, std::initializer_list<const char*> played)
    {
        m_store.SetCurrentFile(current);
        m_store.ClearPlayed();
        for (const char* path : played)
            m_store.MarkPlayed(path);
    }

    static wxString Data(const char* name) { return wxString(BRELKOS_TEST_DATA "/") + name; }

    ScriptedDraws m_random;
    PlaylistStore m_store{m_random.Source()};
};

TEST_F(PlaylistStoreTest, SequentialFollowsTheCurrentFileWrapsWhileEntriesRemainThenEnds)
{
    Fill({"D:0", "D:1", "D:2"});
    Played("D:1", {"D:1"});
    PlaylistStore::Next next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Following);
    EXPECT_EQ(next.path, "D:2");

    // Started from the middle: after the last entry the first is still unplayed.
    Played("D:2", {"D:1", "D:2"});
    next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Jump);
    EXPECT_EQ(next.path, "D:0");

    // A current file outside the list goes on from the first entry.
    Played("elsewhere", {});
    next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Following);
    EXPECT_EQ(next.path, "D:0");

    Played("D:0", {"D:1", "D:2", "D:0"});
    EXPECT_EQ(m_store.ChooseNext().how, PlaylistStore::End);
    EXPECT_TRUE(m_store.GetPlayedList().IsEmpty());
    EXPECT_EQ(m_random.used, 0u);
}

TEST_F(PlaylistStoreTest, LoopStartsTheFirstEntryAgainEvenInAOneEntryList)
{
    m_store.SetLoop(true);
    m_store.SetCurrentKind(PlaylistStore::CD);
    EXPECT_EQ(m_store.ChooseNext().how, PlaylistStore::End) << "an empty list has no entry to loop to";

    Fill({"D:0"});
    Played("D:0", {"D:0"});
    PlaylistStore::Next next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Loop);
    EXPECT_EQ(next.path, "D:0");
    EXPECT_TRUE(m_store.GetPlayedList().IsEmpty());

    // Random mode loops from the first entry too, without drawing.
    m_store.SetRandom(true);
    Fill({"D:1", "D:2"});
    Played("D:2", {"D:0", "D:1", "D:2"});
    next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Loop);
    EXPECT_EQ(next.path, "D:0");
    EXPECT_EQ(m_random.used, 0u);
}

TEST_F(PlaylistStoreTest, RandomSeedsOnceAndDrawsAgainWhileThePickWasPlayed)
{
    Fill({"D:0", "D:1", "D:2"});
    m_store.SetRandom(true);
    Played("D:0", {"D:0"});
    m_random.draws = {0, 10922, 32767};
    PlaylistStore::Next next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Jump);
    EXPECT_EQ(next.path, "D:2");
    EXPECT_EQ(m_random.used, 3u);
    EXPECT_EQ(m_random.seeds, 1);

    // Duplicates: nothing outside the played list is left although the list
    // is longer, so it counts as played through.
    Fill({"D:0"});
    Played("D:0", {"D:0", "D:1", "D:2"});
    EXPECT_EQ(m_store.GetCurrentList().GetCount(), 4u);
    EXPECT_EQ(m_store.ChooseNext().how, PlaylistStore::End);
    EXPECT_EQ(m_random.used, 3u);
}

TEST_F(PlaylistStoreTest, DrawIndexScalesTheDrawToTheListAndStaysInIt)
{
    struct Case {
        int r;
        size_t n;
        size_t k;
    };
    const Case cases[] = {{0, 5, 0},     {10922, 3, 0}, {10923, 3, 1}, {16384, 2, 1},
                          {13107, 5, 1}, {32767, 3, 2}, {40000, 3, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(PlaylistStore::DrawIndex(c.r, c.n), c.k) << c.r << " of " << c.n;
}

TEST_F(PlaylistStoreTest, PreviousGoesBackOneStartAndNotPastTheFirst)
{
    Fill({"D:0", "D:1", "D:2"});
    wxString previous;
    Played("D:2", {"D:0", "D:1", "D:2"});
    ASSERT_TRUE(m_store.ChoosePrevious(previous));
    EXPECT_EQ(previous, "D:1");
    ASSERT_EQ(m_store.GetPlayedList().GetCount(), 1u);
    EXPECT_EQ(m_store.GetPlayedList()[0], "D:0");

    Played("D:0", {"D:0"});
    EXPECT_FALSE(m_store.ChoosePrevious(previous));
    EXPECT_TRUE(m_store.GetPlayedList().IsEmpty());
    EXPECT_FALSE(m_store.ChoosePrevious(previous));
}

TEST_F(PlaylistStoreTest, ShuffleDrawsEveryAudioEntryOutOnceSeedingBeforeEachDraw)
{
    const wxString audio[] = {Data("tone.mp3"), Data("tone.wav"), Data("tone.ogg"), Data("tone.wma")};
    for (const wxString& path : audio)
        ASSERT_EQ(m_store.Add(path), PlaylistStore::Audio) << path;
    ASSERT_EQ(m_store.Add(Data("clip.avi")), PlaylistStore::Video);
    m_random.draws = {32767, 32767, 32767, 32767};
    m_store.ShuffleAudio();
    const wxArrayString& shuffled = m_store.GetList(PlaylistStore::Audio);
    ASSERT_EQ(shuffled.GetCount(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(shuffled[i], audio[3 - i]) << i;
    EXPECT_EQ(m_random.seeds, 4);
    EXPECT_EQ(m_store.GetList(PlaylistStore::Video).GetCount(), 1u);

    // Draws that pick the middle each time.
    m_random.draws = {16384, 16384, 16384, 16384};
    m_random.used = 0;
    m_store.ShuffleAudio();
    const wxString expected[] = {audio[1], audio[2], audio[0], audio[3]};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(shuffled[i], expected[i]) << i;
}

TEST_F(PlaylistStoreTest, RemovingTheCurrentEntryTakesOnlyItAndNextStartsFromTheFirst)
{
    Fill({"D:0", "D:1", "D:2", "D:1"});
    Played("D:1", {"D:1"});
    EXPECT_TRUE(m_store.Remove(PlaylistStore::CD, "D:1"));
    const wxArrayString& list = m_store.GetList(PlaylistStore::CD);
    ASSERT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list[1], "D:2");
    EXPECT_EQ(list[2], "D:1");
    EXPECT_FALSE(m_store.Remove(PlaylistStore::Audio, "D:0"));
    EXPECT_FALSE(m_store.Remove(PlaylistStore::CD, "d:0")) << "paths compare exactly";
    EXPECT_TRUE(m_store.Has("D:1"));
    EXPECT_FALSE(m_store.Has("D:9"));

    Played("D:0", {"D:0"});
    EXPECT_TRUE(m_store.Remove(PlaylistStore::CD, "D:0"));
    PlaylistStore::Next next = m_store.ChooseNext();
    EXPECT_EQ(next.how, PlaylistStore::Following);
    EXPECT_EQ(next.path, "D:2");
}

TEST_F(PlaylistStoreTest, AListOfBrokenFilesEndsWithAndWithoutLoop)
{
    Fill({"D:0", "D:1", "D:2"});
    for (bool loop : {false, true}) {
        SCOPED_TRACE(loop ? "loop" : "no loop");
        m_store.SetLoop(loop);
        // The first entry started, then every file failed to load.
        Played("D:0", {"D:0"});
        size_t failures = 0;
        std::vector<wxString> tried;
        for (;;) {
            PlaylistStore::Next next = m_store.ChooseNext();
            if (next.how == PlaylistStore::End)
                break;
            tried.push_back(next.path);
            // As starting it would: the try becomes the current file.
            m_store.SetCurrentFile(next.path);
            ASSERT_LT(tried.size(), 10u);
            if (!m_store.ContinueAfterFailure(next, failures))
                break;
        }
        std::vector<wxString> expected{"D:1", "D:2"};
        if (loop)
            expected.insert(expected.end(), {"D:0", "D:1"});
        EXPECT_EQ(tried, expected);
    }
}

} // namespace
