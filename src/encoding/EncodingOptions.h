// The encoder settings record: the encode window owns one, the options dialog
// edits a working copy, and each conversion copies it when it starts. The
// defaults are those of every start of the program; nothing is stored.
#pragma once

#include <cstdint>

namespace BrelkosPlayer {

struct EncodingOptions {
    bool vbr = false;
    std::int32_t cbrBitrate = 160;    // kbit/s
    std::int32_t vbrMinBitrate = 160; // kbit/s
    std::int32_t vbrMaxBitrate = 160; // kbit/s
    std::int32_t vbrQuality = 5;      // index in the VBR quality list, 0 to 9
    bool strictVbrMin = false;
    bool xingTag = false;
    std::int32_t quality = 0;              // 3 high, 2 medium, 1 low, 0 fast mode
    std::int32_t targetSampleRate = 22050; // Hz
    bool voiceMode = false;
    bool keepAllFrequencies = false;
    bool strictIso = false;
    bool disableShortBlocks = false;
    bool modeFixed = false;
    std::int32_t mode = 0; // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono

    // The lists of the options dialog: bit rates (kbit/s) and output sample
    // rates (Hz) by list index; -1 outside the table.
    static constexpr int kBitrateCount = 17;
    static constexpr int kSampleRateCount = 6;
    static constexpr int kVbrQualityCount = 10;
    static int BitrateAt(int index);
    static int SampleRateAt(int index);
    // Index of a value in its table, -1 when absent.
    static int BitrateIndex(int kbps);
    static int SampleRateIndex(int hz);
    // The quality slider (0 to 10) to its quality code.
    static int QualityForSlider(int position);
};

} // namespace BrelkosPlayer
