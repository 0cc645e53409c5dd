// Opening files: lengths known at once for every format, broken files refused
// with a code, and every format playing in real time to its end.
#include "SoundTestSupport.h"

#include <gst/gst.h>

#include <cctype>
#include <vector>

using namespace soundtest;

namespace {

struct Media {
    const char* file;
    unsigned lengthMs; // as tests/data/README.md records it
};

// mp3: CBR without a Xing header; ac3: raw. Neither tells its length before it plays.
const Media kAudio[] = {
    {"tone.wav", 2000}, {"tone.mp3", 2064}, {"tone.ogg", 2000}, {"tone.wma", 2043}, {"tone.ac3", 2020},
};

constexpr unsigned kLengthTolerance = 100;

class FileStream : public NoSoundTest, public ::testing::WithParamInterface<Media> {};

TEST_P(FileStream, KnowsItsLengthWhenOpened)
{
    sound::Sound* sound = load(GetParam().file);
    ASSERT_NE(sound, nullptr);
    EXPECT_NEAR(lengthOf(sound), GetParam().lengthMs, kLengthTolerance);
    int subSounds = -1;
    EXPECT_EQ(sound->getNumSubSounds(&subSounds), sound::OK);
    EXPECT_EQ(subSounds, 0);
    sound::Sound* sub = nullptr;
    EXPECT_EQ(sound->getSubSound(0, &sub), sound::ERR_SUBSOUNDS);
}

TEST_P(FileStream, SeeksAndPlaysOnFromThere)
{
    sound::Sound* sound = load(GetParam().file);
    ASSERT_NE(sound, nullptr);
    const unsigned length = lengthOf(sound);
    sound::Channel* channel = play(sound, true);
    ASSERT_EQ(channel->setPosition(length - 1000, sound::TIMEUNIT_MS), sound::OK);
    EXPECT_NEAR(positionOf(channel), length - 1000, 60u);
    ASSERT_EQ(channel->setPaused(false), sound::OK);
    const auto start = Clock::now();
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 3s));
    auto played = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_NEAR(played, 1000, 250);
}

INSTANTIATE_TEST_SUITE_P(Formats, FileStream, ::testing::ValuesIn(kAudio),
                         [](const auto& info) { return std::string(info.param.file).substr(5); });

using FileStreams = NoSoundTest;

TEST_F(FileStreams, EveryFormatPlaysInRealTimeToItsEnd)
{
    struct Run {
        const Media* media;
        sound::Channel* channel;
        Clock::duration played{};
    };
    std::vector<Run> runs;
    const auto start = Clock::now();
    for (const Media& media : kAudio) {
        sound::Sound* sound = load(media.file);
        ASSERT_NE(sound, nullptr);
        runs.push_back(Run{&media, play(sound)});
        ASSERT_NE(runs.back().channel, nullptr);
    }
    ASSERT_TRUE(waitUntil(
        [&] {
            bool any = false;
            for (Run& run : runs) {
                if (run.played == Clock::duration{} && !playing(run.channel))
                    run.played = Clock::now() - start;
                any = any || run.played == Clock::duration{};
            }
            return !any;
        },
        10s));
    for (const Run& run : runs) {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(run.played).count();
        EXPECT_GE(ms, static_cast<long>(run.media->lengthMs) - 200) << run.media->file << " ended early";
        EXPECT_LE(ms, static_cast<long>(run.media->lengthMs) + 1000) << run.media->file << " ended late";
        unsigned position = positionOf(run.channel);
        EXPECT_NEAR(position, run.media->lengthMs, kLengthTolerance) << run.media->file;
    }
}

TEST_F(FileStreams, TheSoundOfAVideoFilePlays)
{
    sound::Sound* sound = load("clip.avi");
    ASSERT_NE(sound, nullptr);
    EXPECT_NEAR(lengthOf(sound), 2064u, kLengthTolerance);
    sound::Channel* channel = play(sound);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(waitUntil([&] { return positionOf(channel) > 100; }, 2s));
}

struct Broken {
    const char* file;
    sound::Result expected;
    const char* reason; // null: some words, which vary from run to run
};

const Broken kBroken[] = {
    {"missing.mp3", sound::ERR_FILE_NOTFOUND, "No such file or directory"},
    {"no-such-folder/tone.wav", sound::ERR_FILE_NOTFOUND, "No such file or directory"},
    {"empty.mp3", sound::ERR_FILE_BAD, "The file is empty."},
    // The demuxer's error, or the stall of a decodebin that swallowed it.
    {"truncated.ogg", sound::ERR_FILE_BAD, nullptr},
    {"notmedia.wav", sound::ERR_FORMAT, "Could not determine type of stream."},
    {"broken.avi", sound::ERR_FILE_BAD, nullptr},
    {"", sound::ERR_FILE_BAD, "Is a directory"}, // the data folder itself
};

class BrokenFile : public NoSoundTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenFile, IsRefusedWithACodeAndWithoutHanging)
{
    // decodebin sometimes swallows a demuxer's error: repeat to meet that case too.
    for (int attempt = 0; attempt < 5; ++attempt) {
        sound::Sound* sound = reinterpret_cast<sound::Sound*>(this);
        const auto start = Clock::now();
        EXPECT_EQ(system->createStream(dataPath(GetParam().file).c_str(), 0, nullptr, &sound),
                  GetParam().expected)
            << sound::ErrorString(GetParam().expected);
        EXPECT_EQ(sound, nullptr);
        char reason[512] = "unset";
        EXPECT_EQ(system->getLastErrorReason(reason, sizeof reason), sound::OK);
        if (GetParam().reason)
            EXPECT_STREQ(reason, GetParam().reason) << "attempt " << attempt;
        else
            EXPECT_STRNE(reason, "") << "attempt " << attempt;
        EXPECT_LT(Clock::now() - start, 5s) << "attempt " << attempt;
    }
}

class RefusalReason : public NoSoundTest {};

// The same system opens a good file next: an old reason does not linger.
TEST_F(RefusalReason, ASuccessClearsTheLastOne)
{
    sound::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(dataPath("notmedia.wav").c_str(), 0, nullptr, &sound), sound::ERR_FORMAT);
    ASSERT_EQ(system->createStream(dataPath("tone.wav").c_str(), 0, nullptr, &sound), sound::OK);
    char reason[64] = "unset";
    EXPECT_EQ(system->getLastErrorReason(reason, sizeof reason), sound::OK);
    EXPECT_STREQ(reason, "");
}

// With its only decoder gone from the registry, a wma file names what is missing.
TEST_F(RefusalReason, AMissingDecoderIsNamed)
{
    GstRegistry* registry = gst_registry_get();
    GstPluginFeature* decoder = gst_registry_lookup_feature(registry, "avdec_wmav2");
    ASSERT_NE(decoder, nullptr);
    gst_registry_remove_feature(registry, decoder);
    sound::Sound* sound = nullptr;
    sound::Result result = system->createStream(dataPath("tone.wma").c_str(), 0, nullptr, &sound);
    char reason[256] = "";
    system->getLastErrorReason(reason, sizeof reason);
    gst_registry_add_feature(registry, decoder);
    EXPECT_EQ(result, sound::ERR_PLUGIN_MISSING);
    EXPECT_STREQ(reason, "missing plug-in: Windows Media Audio 8 decoder");
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenFile, ::testing::ValuesIn(kBroken), [](const auto& info) {
    std::string name;
    for (char c : std::string(info.param.file))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name.empty() ? std::string("folder") : name;
});

} // namespace
