// A channel's transport: pause, seek, volume, stop, the end of the medium and
// what a channel answers once it has stopped.
#include "SoundTestSupport.h"

#include <algorithm>
#include <atomic>
#include <cmath>

using namespace soundtest;

namespace {

class ChannelTest : public NoSoundTest {
protected:
    void SetUp() override
    {
        NoSoundTest::SetUp();
        wav = load("tone.wav");
        ASSERT_NE(wav, nullptr);
        length = lengthOf(wav);
    }

    sound::Sound* wav = nullptr;
    unsigned length = 0;
};

TEST_F(ChannelTest, APausedChannelWaitsAtTheStart)
{
    sound::Channel* channel = play(wav, true);
    ASSERT_NE(channel, nullptr);
    bool paused = false;
    EXPECT_EQ(channel->getPaused(&paused), sound::OK);
    EXPECT_TRUE(paused);
    EXPECT_TRUE(playing(channel));
    std::this_thread::sleep_for(200ms); // time in which it must not move
    EXPECT_EQ(positionOf(channel), 0u);
    ASSERT_EQ(channel->setPaused(false), sound::OK);
    EXPECT_TRUE(waitUntil([&] { return positionOf(channel) > 50; }, 1s));
}

TEST_F(ChannelTest, PauseHoldsThePositionAndResumeContinuesFromIt)
{
    sound::Channel* channel = play(wav);
    ASSERT_TRUE(waitUntil([&] { return positionOf(channel) >= 400; }, 2s));
    ASSERT_EQ(channel->setPaused(true), sound::OK);
    const unsigned held = positionOf(channel);
    std::this_thread::sleep_for(300ms); // time in which it must not move
    EXPECT_NEAR(positionOf(channel), held, 30u);
    EXPECT_TRUE(playing(channel));

    ASSERT_EQ(channel->setPaused(false), sound::OK);
    bool paused = true;
    EXPECT_EQ(channel->getPaused(&paused), sound::OK);
    EXPECT_FALSE(paused);
    EXPECT_GE(positionOf(channel), held - 30);
    EXPECT_TRUE(waitUntil([&] { return positionOf(channel) >= held + 200; }, 1s));
    // The rest of the file, not the whole of it, is left to play.
    const auto resumed = Clock::now();
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 3s));
    EXPECT_LT(Clock::now() - resumed, std::chrono::milliseconds(length - held + 300));
}

TEST_F(ChannelTest, SeekWhilePausedMovesThereAndPlaysOnFromThere)
{
    sound::Channel* channel = play(wav, true);
    ASSERT_EQ(channel->setPosition(length / 2, sound::TIMEUNIT_MS), sound::OK);
    // Known at once, while GStreamer itself cannot tell until the seek completes.
    EXPECT_NEAR(positionOf(channel), length / 2, 20u);
    ASSERT_EQ(channel->setPaused(false), sound::OK);
    const auto start = Clock::now();
    ASSERT_TRUE(waitUntil([&] { return positionOf(channel) > length / 2 + 100; }, 1s));
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 3s));
    auto played = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_NEAR(played, length / 2, 300);
}

TEST_F(ChannelTest, SeekWhilePlayingReportsTheNewPositionAtOnce)
{
    sound::Channel* channel = play(wav);
    ASSERT_TRUE(waitUntil([&] { return positionOf(channel) > 100; }, 1s));
    for (unsigned target : {1500u, 300u, 1000u}) {
        ASSERT_EQ(channel->setPosition(target, sound::TIMEUNIT_MS), sound::OK);
        unsigned position = positionOf(channel);
        EXPECT_GE(position, target - 20) << target;
        EXPECT_LE(position, target + 100) << target;
    }
    EXPECT_TRUE(waitUntil([&] { return positionOf(channel) > 1100; }, 1s));
}

TEST_F(ChannelTest, SeekPastTheEndEndsTheChannel)
{
    sound::Channel* channel = play(wav);
    ASSERT_EQ(channel->setPosition(length + 60000, sound::TIMEUNIT_MS), sound::OK);
    EXPECT_LE(positionOf(channel), length);
    EXPECT_TRUE(waitUntil([&] { return !playing(channel); }, 1s));
    EXPECT_EQ(positionOf(channel), length);
}

// A live stream refuses every seek: the one asked for stays pending, and the
// position shows its target, the length.
TEST_F(ChannelTest, SeekPastTheEndOfAStreamThatCannotSeekShowsTheLength)
{
    sound::Sound* live = load("live.wma");
    ASSERT_NE(live, nullptr);
    sound::Channel* channel = play(live, true);
    ASSERT_EQ(channel->setPosition(lengthOf(live) + 60000, sound::TIMEUNIT_MS), sound::OK);
    EXPECT_EQ(positionOf(channel), lengthOf(live));
}

// The length of an mp3 without a Xing/LAME header is estimated at load; this
// one's bitrate drops near its end, so it plays on past that length.
TEST_F(ChannelTest, PlayingPastAnUnderestimatedLengthShowsTheLength)
{
    sound::Sound* mp3 = load("tworates.mp3");
    ASSERT_NE(mp3, nullptr);
    const unsigned estimate = lengthOf(mp3);
    sound::Channel* channel = play(mp3);
    ASSERT_EQ(channel->setPosition(estimate - 200, sound::TIMEUNIT_MS), sound::OK);
    unsigned highest = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            highest = std::max(highest, positionOf(channel));
            return !playing(channel);
        },
        3s));
    EXPECT_EQ(highest, estimate);
}

TEST_F(ChannelTest, VolumeAndMuteAreAccepted)
{
    sound::Channel* channel = play(wav);
    EXPECT_EQ(channel->setVolume(0.5f), sound::OK);
    EXPECT_EQ(channel->setVolume(0.0f), sound::OK);
    EXPECT_EQ(channel->setVolume(7.0f), sound::OK); // clamped to full
    EXPECT_EQ(channel->setVolume(std::nanf("")), sound::ERR_INVALID_PARAM);
    EXPECT_EQ(channel->setMute(true), sound::OK);
    EXPECT_EQ(channel->setMute(false), sound::OK);
    EXPECT_TRUE(waitUntil([&] { return positionOf(channel) > 100; }, 1s));
}

TEST_F(ChannelTest, AtTheEndOnlyTheQueriesAndStopStillAnswer)
{
    sound::Channel* channel = play(wav);
    ASSERT_EQ(channel->setPosition(length - 200, sound::TIMEUNIT_MS), sound::OK);
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 2s));
    bool isPlaying = true;
    EXPECT_EQ(channel->isPlaying(&isPlaying), sound::OK);
    EXPECT_FALSE(isPlaying);
    EXPECT_EQ(positionOf(channel), length);
    sound::Result error = sound::ERR_INTERNAL;
    char text[64] = "stale";
    EXPECT_EQ(channel->getError(&error, text, sizeof text), sound::OK);
    EXPECT_EQ(error, sound::OK); // the medium's end is no error
    EXPECT_STREQ(text, "");
    EXPECT_EQ(channel->setPaused(true), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->setPosition(0, sound::TIMEUNIT_MS), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->stop(), sound::OK);
    EXPECT_EQ(channel->stop(), sound::ERR_INVALID_HANDLE);
}

TEST_F(ChannelTest, AStoppedChannelIsGone)
{
    sound::Channel* channel = play(wav);
    ASSERT_EQ(channel->stop(), sound::OK);
    bool isPlaying = true;
    EXPECT_EQ(channel->isPlaying(&isPlaying), sound::ERR_INVALID_HANDLE);
    EXPECT_FALSE(isPlaying);
    unsigned position = 0;
    EXPECT_EQ(channel->getPosition(&position, sound::TIMEUNIT_MS), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->setPaused(false), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->setVolume(1.0f), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->setMute(true), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(channel->stop(), sound::ERR_INVALID_HANDLE);
    // The stream itself plays again.
    sound::Channel* again = play(wav);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(waitUntil([&] { return positionOf(again) > 50; }, 1s));
}

TEST_F(ChannelTest, PlayingAStreamAgainEndsItsPreviousChannel)
{
    sound::Channel* first = play(wav, true);
    sound::Channel* second = play(wav);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    bool isPlaying = true;
    EXPECT_EQ(first->isPlaying(&isPlaying), sound::ERR_INVALID_HANDLE);
    EXPECT_FALSE(isPlaying);
    EXPECT_EQ(first->setPaused(false), sound::ERR_INVALID_HANDLE);
    ASSERT_TRUE(waitUntil([&] { return positionOf(second) >= 800; }, 2s));

    // From a channel that has moved on, the stream starts over.
    sound::Channel* third = play(wav);
    EXPECT_EQ(second->isPlaying(&isPlaying), sound::ERR_INVALID_HANDLE);
    EXPECT_LT(positionOf(third), 300u);
    ASSERT_TRUE(waitUntil([&] { return !playing(third); }, 3s));

    // And once more after a natural end.
    sound::Channel* fourth = play(wav);
    EXPECT_LT(positionOf(fourth), 300u);
    EXPECT_TRUE(playing(fourth));
}

void countEnd(void* count)
{
    ++*static_cast<std::atomic<int>*>(count);
}

TEST_F(ChannelTest, TheEndNoticeComesForItsOwnChannelOnly)
{
    std::atomic<int> ended{0};
    sound::Channel* channel = play(wav);
    ASSERT_EQ(channel->setEndCallback(countEnd, &ended), sound::OK);
    EXPECT_EQ(ended, 0);
    ASSERT_EQ(channel->setPosition(length - 200, sound::TIMEUNIT_MS), sound::OK);
    EXPECT_TRUE(waitUntil([&] { return ended > 0; }, 3s));
    EXPECT_FALSE(playing(channel));

    // A channel whose sound plays again hands its pipeline on: the new
    // channel's end is not the old one's.
    std::atomic<int> replaced{0};
    sound::Channel* first = play(wav);
    ASSERT_EQ(first->setEndCallback(countEnd, &replaced), sound::OK);
    sound::Channel* second = play(wav);
    EXPECT_EQ(first->setEndCallback(countEnd, &replaced), sound::ERR_INVALID_HANDLE);
    ASSERT_EQ(second->setPosition(length - 200, sound::TIMEUNIT_MS), sound::OK);
    ASSERT_TRUE(waitUntil([&] { return !playing(second); }, 3s));
    // Asked of a channel that has already ended, the notice comes at once;
    // and it waits for a notice still on its way.
    std::atomic<int> late{0};
    EXPECT_EQ(second->setEndCallback(countEnd, &late), sound::OK);
    EXPECT_GE(late, 1);
    EXPECT_EQ(replaced, 0);
}

TEST_F(ChannelTest, ReleasingTheSoundEndsItsChannel)
{
    sound::Channel* channel = play(wav);
    ASSERT_EQ(wav->release(), sound::OK);
    EXPECT_FALSE(playing(channel));
    unsigned length2 = 0;
    EXPECT_EQ(wav->getLength(&length2, sound::TIMEUNIT_MS), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(wav->release(), sound::ERR_INVALID_HANDLE);
    sound::Channel* again = nullptr;
    EXPECT_EQ(system->playSound(sound::CHANNEL_FREE, wav, false, &again), sound::ERR_INVALID_HANDLE);
}

TEST_F(ChannelTest, ReleasingTheSystemWhilePlayingIsClean)
{
    sound::Sound* mp3 = load("tone.mp3");
    play(wav);
    play(mp3, true);
    EXPECT_EQ(system->release(), sound::OK);
    system = nullptr;
}

TEST_F(ChannelTest, CloseEndsEverythingItMade)
{
    sound::Channel* channel = play(wav);
    ASSERT_EQ(system->close(), sound::OK);
    EXPECT_FALSE(playing(channel));
    unsigned length2 = 0;
    EXPECT_EQ(wav->getLength(&length2, sound::TIMEUNIT_MS), sound::ERR_INVALID_HANDLE);
    sound::Sound* sound = nullptr;
    EXPECT_EQ(system->createStream(dataPath("tone.wav").c_str(), 0, nullptr, &sound),
              sound::ERR_UNINITIALIZED);
}

} // namespace
