// CD drives and discs, on disc images that tests/data/make-disc-image.sh
// writes and BRELKOS_CD_IMAGES lists after the machine's own drives.
#include "SoundTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace soundtest;

namespace {

class CdTest : public NoSoundTest {
protected:
    void SetUp() override
    {
        NoSoundTest::SetUp();
        unsetenv("BRELKOS_CD_IMAGES");
        ASSERT_EQ(system->getNumCDROMDrives(&realDrives), sound::OK);
        char pattern[] = "/tmp/brelkos-cd-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        std::string command = dataPath("make-disc-image.sh") + " " + folder;
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ofstream(folder + "/junk.cue") << "this is not a cue sheet\n";
        std::string images =
            folder + "/audio.cue:" + folder + "/data.cue:" + folder + "/missing.cue:" + folder + "/junk.cue";
        setenv("BRELKOS_CD_IMAGES", images.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("BRELKOS_CD_IMAGES");
        NoSoundTest::TearDown();
        std::filesystem::remove_all(folder);
    }

    // Name of the n-th image drive, after the real ones.
    std::string drive(int image) const { return std::string{char('D' + realDrives + image), ':'}; }

    sound::Sound* openDisc()
    {
        sound::Sound* disc = nullptr;
        EXPECT_EQ(system->createStream(drive(0).c_str(), 0, nullptr, &disc), sound::OK);
        return disc;
    }

    sound::Sound* track(sound::Sound* disc, int index)
    {
        sound::Sound* sub = nullptr;
        EXPECT_EQ(disc->getSubSound(index, &sub), sound::OK);
        return sub;
    }

    int realDrives = 0;
    std::string folder;
};

TEST_F(CdTest, ImagesFollowTheRealDrivesUnderDriveLetters)
{
    int count = 0;
    ASSERT_EQ(system->getNumCDROMDrives(&count), sound::OK);
    ASSERT_EQ(count, realDrives + 4);
    char name[256], scsi[256], device[256];
    ASSERT_EQ(system->getCDROMDriveName(realDrives, name, 256, scsi, 256, device, 256), sound::OK);
    EXPECT_EQ(std::string(name), drive(0));
    EXPECT_EQ(std::string(device), folder + "/audio.cue");
    EXPECT_STREQ(scsi, "Disc image");
    ASSERT_EQ(system->getCDROMDriveName(realDrives + 3, name, 256, nullptr, 0, nullptr, 0), sound::OK);
    EXPECT_EQ(std::string(name), drive(3));
    EXPECT_EQ(system->getCDROMDriveName(count, name, 256, scsi, 256, device, 256), sound::ERR_INVALID_PARAM);
    EXPECT_EQ(system->getCDROMDriveName(-1, name, 256, scsi, 256, device, 256), sound::ERR_INVALID_PARAM);
}

TEST_F(CdTest, DrivesAreListedWithoutInit)
{
    sound::System* bare = nullptr;
    ASSERT_EQ(sound::System_Create(&bare), sound::OK);
    int count = 0;
    EXPECT_EQ(bare->getNumCDROMDrives(&count), sound::OK);
    EXPECT_EQ(count, realDrives + 4);
    char name[3];
    EXPECT_EQ(bare->getCDROMDriveName(realDrives, name, sizeof name, nullptr, 0, nullptr, 0), sound::OK);
    EXPECT_EQ(std::string(name), drive(0));
    EXPECT_EQ(bare->close(), sound::OK);
    EXPECT_EQ(bare->release(), sound::OK);
}

TEST_F(CdTest, ADiscHasOneSubSoundPerAudioTrack)
{
    sound::Sound* disc = openDisc();
    ASSERT_NE(disc, nullptr);
    int count = 0;
    ASSERT_EQ(disc->getNumSubSounds(&count), sound::OK);
    ASSERT_EQ(count, 3);
    const unsigned lengths[] = {2000, 2400, 3000};
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(lengthOf(track(disc, i)), lengths[i]) << "track " << i;
    EXPECT_EQ(lengthOf(disc), 7400u);
    sound::Sound* none = nullptr;
    EXPECT_EQ(disc->getSubSound(3, &none), sound::ERR_SUBSOUNDS);
    EXPECT_EQ(disc->getSubSound(-1, &none), sound::ERR_SUBSOUNDS);
    // The tracks play, not the disc as a whole.
    sound::Channel* channel = nullptr;
    EXPECT_EQ(system->playSound(sound::CHANNEL_FREE, disc, false, &channel), sound::ERR_INVALID_PARAM);
}

TEST_F(CdTest, DrivesWithoutAnAudioDiscAreRefused)
{
    sound::Sound* disc = nullptr;
    EXPECT_EQ(system->createStream(drive(1).c_str(), 0, nullptr, &disc), sound::ERR_CDROM_NODISC)
        << "data only";
    EXPECT_EQ(system->createStream(drive(2).c_str(), 0, nullptr, &disc), sound::ERR_CDROM_NODISC)
        << "no image";
    EXPECT_EQ(system->createStream(drive(3).c_str(), 0, nullptr, &disc), sound::ERR_CDROM_ERROR) << "junk";
    EXPECT_EQ(system->createStream(drive(4).c_str(), 0, nullptr, &disc), sound::ERR_CDROM_ERROR)
        << "no drive";
    EXPECT_EQ(disc, nullptr);
}

TEST_F(CdTest, ATrackPlaysInRealTimeToItsEnd)
{
    sound::Sound* disc = openDisc();
    ASSERT_NE(disc, nullptr);
    sound::Channel* channel = play(track(disc, 0));
    ASSERT_NE(channel, nullptr);
    const auto start = Clock::now();
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 5s));
    auto played = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(played, 1800);
    EXPECT_LE(played, 3000);
    EXPECT_EQ(positionOf(channel), 2000u);
}

TEST_F(CdTest, ATrackPausesAndSeeksLikeAFile)
{
    sound::Sound* disc = openDisc();
    sound::Channel* channel = play(track(disc, 2), true);
    ASSERT_NE(channel, nullptr);
    ASSERT_EQ(channel->setPosition(2000, sound::TIMEUNIT_MS), sound::OK);
    EXPECT_NEAR(positionOf(channel), 2000u, 20u);
    ASSERT_EQ(channel->setPaused(false), sound::OK);
    ASSERT_TRUE(waitUntil([&] { return positionOf(channel) >= 2300; }, 1s));
    ASSERT_EQ(channel->setPaused(true), sound::OK);
    const unsigned held = positionOf(channel);
    std::this_thread::sleep_for(200ms); // time in which it must not move
    EXPECT_NEAR(positionOf(channel), held, 30u);
    ASSERT_EQ(channel->setPaused(false), sound::OK);
    const auto resumed = Clock::now();
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 2s));
    auto played = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - resumed).count();
    EXPECT_NEAR(played, 3000 - held, 300);
}

TEST_F(CdTest, TwoTracksOfOneDiscPlayAtOnce)
{
    sound::Sound* disc = openDisc();
    sound::Channel* first = play(track(disc, 0));
    sound::Channel* second = play(track(disc, 1));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(waitUntil([&] { return positionOf(first) > 300 && positionOf(second) > 300; }, 2s));
    EXPECT_TRUE(playing(first));
}

TEST_F(CdTest, AReadErrorEndsTheChannel)
{
    sound::Sound* disc = openDisc();
    ASSERT_NE(disc, nullptr);
    // The disc goes bad under the drive: the image keeps the first 70 of the
    // 225 sectors of track 3 (0.93 s of its 3 s).
    ASSERT_EQ(truncate((folder + "/audio.bin").c_str(), 2352 * 400), 0);
    sound::Channel* channel = play(track(disc, 2));
    ASSERT_NE(channel, nullptr);
    const auto start = Clock::now();
    ASSERT_TRUE(waitUntil([&] { return !playing(channel); }, 3s));
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_LT(positionOf(channel), 1500u);
    // It says why, in the words of the element that failed.
    sound::Result error = sound::OK;
    char text[256] = {};
    EXPECT_EQ(channel->getError(&error, text, sizeof text), sound::OK);
    EXPECT_NE(error, sound::OK);
    EXPECT_NE(std::string(text).find("The CD could not be read."), std::string::npos) << text;
    EXPECT_EQ(channel->stop(), sound::OK);

    // Where even the start of the track cannot be read, it does not play at all.
    ASSERT_EQ(truncate((folder + "/audio.bin").c_str(), 2352 * 320), 0);
    sound::Channel* none = nullptr;
    EXPECT_EQ(system->playSound(sound::CHANNEL_FREE, track(disc, 2), false, &none), sound::ERR_CDROM_ERROR);
}

TEST_F(CdTest, ReleasingTheTrackThenTheDisc)
{
    sound::Sound* disc = openDisc();
    sound::Sound* sub = track(disc, 1);
    sound::Channel* channel = play(sub);
    ASSERT_EQ(channel->stop(), sound::OK);
    EXPECT_EQ(sub->release(), sound::OK);
    sound::Sound* again = nullptr;
    EXPECT_EQ(disc->getSubSound(1, &again), sound::ERR_INVALID_HANDLE);
    EXPECT_EQ(disc->release(), sound::OK);
    EXPECT_EQ(disc->getSubSound(0, &again), sound::ERR_INVALID_HANDLE);
    unsigned length = 0;
    EXPECT_EQ(sub->getLength(&length, sound::TIMEUNIT_MS), sound::ERR_INVALID_HANDLE);
}

} // namespace
