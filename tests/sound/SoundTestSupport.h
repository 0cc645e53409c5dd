// Shared helpers of the sound library tests: a "No sound" system (real-time
// fake output), the test media and deadline waits.
#pragma once

#include "sound/SoundSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace soundtest {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline std::string dataPath(const std::string& name)
{
    return std::string(BRELKOS_TEST_DATA) + "/" + name;
}

// Polls `condition` until it holds or `limit` has passed.
template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

inline unsigned positionOf(sound::Channel* channel)
{
    unsigned position = 0;
    EXPECT_EQ(channel->getPosition(&position, sound::TIMEUNIT_MS), sound::OK);
    return position;
}

inline bool playing(sound::Channel* channel)
{
    bool result = false;
    channel->isPlaying(&result);
    return result;
}

// A test with an initialised "No sound" system, released at the end.
class NoSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(sound::System_Create(&system), sound::OK);
        ASSERT_EQ(system->setOutput(sound::OUTPUTTYPE_NOSOUND), sound::OK);
        ASSERT_EQ(system->init(4095, 0, nullptr), sound::OK);
    }
    void TearDown() override
    {
        if (system) {
            EXPECT_EQ(system->release(), sound::OK);
        }
    }

    sound::Sound* load(const std::string& name)
    {
        sound::Sound* sound = nullptr;
        EXPECT_EQ(system->createStream(dataPath(name).c_str(), 0, nullptr, &sound), sound::OK) << name;
        return sound;
    }

    sound::Channel* play(sound::Sound* sound, bool paused = false)
    {
        sound::Channel* channel = nullptr;
        EXPECT_EQ(system->playSound(sound::CHANNEL_FREE, sound, paused, &channel), sound::OK);
        return channel;
    }

    static unsigned lengthOf(sound::Sound* sound)
    {
        unsigned length = 0;
        EXPECT_EQ(sound->getLength(&length, sound::TIMEUNIT_MS), sound::OK);
        return length;
    }

    sound::System* system = nullptr;
};

} // namespace soundtest
