#include <gtest/gtest.h>
#include <string>

#include "encoding/EncodingOptions.h"
#include "gui/FormEncodingOptions.h"

using BrelkosPlayer::EncodingOptions;
using BrelkosPlayer::FormEncodingOptions;

TEST(EncodingOptions, BitrateListIsInKbitPerSecondFromLowToHigh)
{
    const int kbps[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 192, 256, 320};
    ASSERT_EQ(EncodingOptions::kBitrateCount, 17);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(EncodingOptions::BitrateAt(i), kbps[i]) << "index " << i;
        EXPECT_EQ(EncodingOptions::BitrateIndex(kbps[i]), i) << kbps[i] << " kbit/s";
    }
    EXPECT_EQ(EncodingOptions::BitrateAt(-1), -1);
    EXPECT_EQ(EncodingOptions::BitrateAt(17), -1);
    EXPECT_EQ(EncodingOptions::BitrateIndex(224), -1);
}

TEST(EncodingOptions, SampleRateListIsInHertzFromHighToLow)
{
    const int hz[] = {48000, 44100, 32000, 24000, 22050, 16000};
    ASSERT_EQ(EncodingOptions::kSampleRateCount, 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(EncodingOptions::SampleRateAt(i), hz[i]) << "index " << i;
        EXPECT_EQ(EncodingOptions::SampleRateIndex(hz[i]), i) << hz[i] << " Hz";
    }
    EXPECT_EQ(EncodingOptions::SampleRateAt(-1), -1);
    EXPECT_EQ(EncodingOptions::SampleRateAt(6), -1);
    EXPECT_EQ(EncodingOptions::SampleRateIndex(11025), -1);
}

// Slider left is the best quality; the encoder takes code 3 as LAME's 2 and
// code 0 as LAME's 7 (platform/lame/BladeEncoder.cpp).
TEST(EncodingOptions, QualitySliderPositionsGiveTheirCodeAndLabel)
{
    struct Step {
        int code;
        const char* label;
    };
    const Step steps[11] = {{3, "High"},      {3, "High"},      {3, "High"},     {2, "Medium"},
                            {2, "Medium"},    {1, "Low"},       {1, "Low"},      {1, "Low"},
                            {0, "Fast Mode"}, {0, "Fast Mode"}, {0, "Fast Mode"}};
    for (int position = 0; position <= 10; ++position) {
        EXPECT_EQ(EncodingOptions::QualityForSlider(position), steps[position].code) << position;
        EXPECT_EQ(std::string(FormEncodingOptions::QualityLabel(position).utf8_str()), steps[position].label)
            << position;
    }
}
