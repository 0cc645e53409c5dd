// The system object: version, output choice and initialisation, error texts.
#include "SoundTestSupport.h"

#include <set>
#include <string>

using namespace soundtest;

namespace {

struct FreshSystem : ::testing::Test {
    void SetUp() override { ASSERT_EQ(sound::System_Create(&system), sound::OK); }
    void TearDown() override { EXPECT_EQ(system->release(), sound::OK); }
    sound::System* system = nullptr;
};

TEST(SoundSystem, CreateRejectsANullPointer)
{
    EXPECT_EQ(sound::System_Create(nullptr), sound::ERR_INVALID_PARAM);
}

TEST_F(FreshSystem, ReportsItsVersion)
{
    unsigned version = 0;
    ASSERT_EQ(system->getVersion(&version), sound::OK);
    EXPECT_EQ(version, 0x00040623u);
}

TEST_F(FreshSystem, NoSoundInitialisesOnce)
{
    ASSERT_EQ(system->setOutput(sound::OUTPUTTYPE_NOSOUND), sound::OK);
    ASSERT_EQ(system->init(4095, 0, nullptr), sound::OK);
    int output = -1;
    EXPECT_EQ(system->getOutput(&output), sound::OK);
    EXPECT_EQ(output, sound::OUTPUTTYPE_NOSOUND);
    EXPECT_EQ(system->init(4095, 0, nullptr), sound::ERR_INITIALIZED);
    EXPECT_EQ(system->setOutput(sound::OUTPUTTYPE_AUTODETECT), sound::ERR_INITIALIZED);
    // Closed, it can be initialised again.
    EXPECT_EQ(system->close(), sound::OK);
    EXPECT_EQ(system->init(4095, 0, nullptr), sound::OK);
}

TEST_F(FreshSystem, OtherPlatformsOutputTypesAreNotSupported)
{
    for (int type : {1, 3, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}) {
        ASSERT_EQ(system->setOutput(type), sound::OK) << type;
        EXPECT_EQ(system->init(4095, 0, nullptr), sound::ERR_OUTPUT_NOT_SUPPORTED) << type;
    }
    // The player's output search ends on "No sound" after the failures.
    ASSERT_EQ(system->setOutput(sound::OUTPUTTYPE_NOSOUND), sound::OK);
    EXPECT_EQ(system->init(4095, 0, nullptr), sound::OK);
}

TEST_F(FreshSystem, AutodetectFailsWithoutASoundDevice)
{
    ASSERT_EQ(system->setOutput(sound::OUTPUTTYPE_AUTODETECT), sound::OK);
    sound::Result result = system->init(4095, 0, nullptr);
    if (result == sound::OK)
        GTEST_SKIP() << "this machine has a sound device";
    // Never a silent fall-back to a fake sink.
    EXPECT_EQ(result, sound::ERR_OUTPUT_INIT);
}

TEST_F(FreshSystem, NothingPlaysBeforeInit)
{
    sound::Sound* sound = nullptr;
    EXPECT_EQ(system->createStream(dataPath("tone.wav").c_str(), 0, nullptr, &sound),
              sound::ERR_UNINITIALIZED);
    EXPECT_EQ(sound, nullptr);
}

TEST(SoundErrorString, GivesADistinctTextForEveryCode)
{
    std::set<std::string> texts;
    for (int code = sound::OK; code < sound::RESULT_COUNT; ++code) {
        const char* text = sound::ErrorString(code);
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(texts.insert(text).second) << "duplicate text for " << code;
    }
    EXPECT_STREQ(sound::ErrorString(-5), sound::ErrorString(sound::RESULT_COUNT));
    EXPECT_EQ(texts.count(sound::ErrorString(-5)), 0u);
}

} // namespace
