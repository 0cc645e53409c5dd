#include "encoding/EncodingOptions.h"

namespace BrelkosPlayer {

namespace {
const int kBitrates[EncodingOptions::kBitrateCount] = {8,  16,  24,  32,  40,  48,  56,  64, 80,
                                                       96, 112, 128, 144, 160, 192, 256, 320};
const int kSampleRates[EncodingOptions::kSampleRateCount] = {48000, 44100, 32000, 24000, 22050, 16000};
} // namespace

int EncodingOptions::BitrateAt(int index)
{
    return index >= 0 && index < kBitrateCount ? kBitrates[index] : -1;
}

int EncodingOptions::SampleRateAt(int index)
{
    return index >= 0 && index < kSampleRateCount ? kSampleRates[index] : -1;
}

int EncodingOptions::BitrateIndex(int kbps)
{
    for (int i = 0; i < kBitrateCount; ++i)
        if (kBitrates[i] == kbps)
            return i;
    return -1;
}

int EncodingOptions::SampleRateIndex(int hz)
{
    for (int i = 0; i < kSampleRateCount; ++i)
        if (kSampleRates[i] == hz)
            return i;
    return -1;
}

int EncodingOptions::QualityForSlider(int position)
{
    if (position <= 2)
        return 3;
    if (position <= 4)
        return 2;
    if (position <= 7)
        return 1;
    return 0;
}

} // namespace BrelkosPlayer
