// Why a file does not play, asked of GStreamer for a player that saw only
// its failure (the video control).
#include <gtest/gtest.h>

#include <gst/gst.h>

#include "sound/MediaReason.h"

namespace {

std::string dataPath(const char* name)
{
    return std::string(BRELKOS_TEST_DATA) + "/" + name;
}

TEST(MediaReason, NamesWhatIsWrongAndNothingForAGoodVideo)
{
    EXPECT_EQ(sound::whyNotPlayable(dataPath("clip.avi")), "");
    EXPECT_EQ(sound::whyNotPlayable(dataPath("missing.avi")), "No such file or directory");
    EXPECT_EQ(sound::whyNotPlayable(dataPath("empty.mp3")), "The file is empty.");
    EXPECT_EQ(sound::whyNotPlayable(dataPath("notmedia.wav")), "Could not determine type of stream.");
    EXPECT_NE(sound::whyNotPlayable(dataPath("broken.avi")), "");
}

// With its decoder gone from the registry, a video names what is missing.
TEST(MediaReason, NamesAMissingDecoder)
{
    ASSERT_EQ(sound::whyNotPlayable(dataPath("clip.wmv")), "");
    GstRegistry* registry = gst_registry_get();
    GstPluginFeature* decoder = gst_registry_lookup_feature(registry, "avdec_wmv2");
    ASSERT_NE(decoder, nullptr);
    gst_registry_remove_feature(registry, decoder);
    std::string reason = sound::whyNotPlayable(dataPath("clip.wmv"));
    gst_registry_add_feature(registry, decoder);
    gst_object_unref(decoder);
    EXPECT_EQ(reason.rfind("missing plug-in: ", 0), 0u) << reason;
}

} // namespace
