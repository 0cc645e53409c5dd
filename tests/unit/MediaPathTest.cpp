#include <gtest/gtest.h>

#include "playlist/MediaPath.h"

using BrelkosPlayer::MediaPath;

namespace {

struct KindCase {
    const char* path;
    bool audio;
    bool video;
};

TEST(MediaPathTest, KindFollowsTheLastExtensionOfTheFileNameInAnyCase)
{
    const KindCase cases[] = {
        {"/m/a.mp3", true, false},
        {"/m/A.WMA", true, false},
        {"x.Wav", true, false},
        {"x.ogg", true, false},
        {"x.ac3", true, false},
        {"clip.AVI", false, true},
        {"c.wmv", false, true},
        {"c.mpg", false, true},
        {"c.mpeg", false, true},
        {"c.mp4", false, true},
        {"c.divx", false, true},
        {"c.MKV", false, true},
        {"song.flac", false, false},
        {"D:3", false, false},
        {"noext", false, false},
        {"/music.mp3/track", false, false},
        {"C:\\a.mp3\\b", false, false},
        {"a.mp3.txt", false, false},
        {"", false, false},
        {".mp3", true, false},
        {"trailing.", false, false},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(MediaPath::IsAudio(c.path), c.audio) << c.path;
        EXPECT_EQ(MediaPath::IsVideo(c.path), c.video) << c.path;
    }
}

TEST(MediaPathTest, TitleDropsFolderAndExtension)
{
    EXPECT_EQ(MediaPath::Title("C:\\Music\\Song.Two.wav"), "Song.Two");
    EXPECT_EQ(MediaPath::Title("/home/me/clip.mkv"), "clip");
    EXPECT_EQ(MediaPath::Title("D:3"), "D:3");
    EXPECT_EQ(MediaPath::Title("/folder/"), "");
}

TEST(MediaPathTest, TrackAddressSplitsDriveAndLeadingDigits)
{
    struct Case {
        const char* address;
        const char* drive;
        int track;
    } cases[] = {
        {"D:0", "D:", 0},   {"E:11", "E:", 11}, {"D:", "D:", 0},
        {"D:7x9", "D:", 7}, {"D:x", "D:", 0},   {"D", "D", 0},
        {"", "", 0},        {"D:-3", "D:", 0},  {"D:99999999999999999999", "D:", 1 << 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MediaPath::TrackDrive(c.address), c.drive) << c.address;
        EXPECT_EQ(MediaPath::TrackIndex(c.address), c.track) << c.address;
    }
}

} // namespace
