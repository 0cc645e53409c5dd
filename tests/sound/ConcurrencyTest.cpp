// A player thread polls its channel while the GUI thread commands it.
#include "SoundTestSupport.h"
#include "support/Watchdog.h"

#include <atomic>
#include <random>

using namespace soundtest;

namespace {

using Concurrency = NoSoundTest;

TEST_F(Concurrency, PollingWhileAnotherThreadCommandsIsSafe)
{
    sound::Sound* wav = load("tone.wav");
    sound::Sound* mp3 = load("tone.mp3");
    ASSERT_TRUE(wav && mp3);
    const unsigned length = std::max(lengthOf(wav), lengthOf(mp3));
    std::atomic<sound::Channel*> current{play(wav)};
    std::atomic<bool> done{false};
    std::atomic<int> polls{0};
    std::atomic<int> unexpected{0};
    std::string firstUnexpected; // isPlaying's result, getPosition's, the position

    std::thread poller([&] {
        while (!done) {
            sound::Channel* channel = current.load();
            bool isPlaying = false;
            unsigned position = 0;
            sound::Result a = channel->isPlaying(&isPlaying);
            sound::Result b = channel->getPosition(&position, sound::TIMEUNIT_MS);
            // A channel replaced or stopped meanwhile answers "invalid handle".
            if ((a != sound::OK && a != sound::ERR_INVALID_HANDLE) ||
                (b != sound::OK && b != sound::ERR_INVALID_HANDLE) || position > length) {
                if (unexpected++ == 0)
                    firstUnexpected =
                        std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(position);
            }
            ++polls;
            std::this_thread::sleep_for(1ms);
        }
    });

    std::mt19937 random(42);
    testing_support::Watchdog watchdog("concurrency", 60);
    for (int i = 0; i < 300; ++i) {
        watchdog.Beat(i);
        sound::Channel* channel = current.load();
        sound::Result result = sound::OK;
        switch (random() % 8) {
        case 0: result = channel->setPaused(true); break;
        case 1: result = channel->setPaused(false); break;
        case 2:
        case 3: result = channel->setPosition(random() % (length + 500), sound::TIMEUNIT_MS); break;
        case 4: result = channel->setVolume(static_cast<float>(random() % 100) / 100.0f); break;
        case 5: result = channel->stop(); break;
        case 6:
        case 7: {
            sound::Channel* next = nullptr;
            ASSERT_EQ(system->playSound(sound::CHANNEL_FREE, random() % 2 ? wav : mp3, random() % 2, &next),
                      sound::OK);
            current = next;
            break;
        }
        }
        // Commands on a stopped or ended channel are refused, never anything worse.
        EXPECT_TRUE(result == sound::OK || result == sound::ERR_INVALID_HANDLE) << i << ": " << result;
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 8));
    }
    done = true;
    poller.join();
    EXPECT_EQ(unexpected, 0) << firstUnexpected;
    EXPECT_GT(polls, 100);
}

TEST_F(Concurrency, SystemsOnSeveralThreadsDoNotInterfere)
{
    auto body = [](const char* file, std::atomic<int>* failures) {
        sound::System* own = nullptr;
        if (sound::System_Create(&own) != sound::OK) {
            ++*failures;
            return;
        }
        bool ok = own->setOutput(sound::OUTPUTTYPE_NOSOUND) == sound::OK &&
                  own->init(4095, 0, nullptr) == sound::OK;
        for (int i = 0; ok && i < 10; ++i) {
            sound::Sound* sound = nullptr;
            sound::Channel* channel = nullptr;
            ok = own->createStream(dataPath(file).c_str(), 0, nullptr, &sound) == sound::OK &&
                 own->playSound(sound::CHANNEL_FREE, sound, false, &channel) == sound::OK &&
                 channel->stop() == sound::OK && sound->release() == sound::OK;
        }
        if (!ok)
            ++*failures;
        own->release();
    };
    std::atomic<int> failures{0};
    std::thread a(body, "tone.ogg", &failures);
    std::thread b(body, "tone.wma", &failures);
    std::thread c(body, "tone.ac3", &failures);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(failures, 0);
}

} // namespace
