// Checks on MP3 files made by the tests: a walk over the layer III frame
// headers, and a decode through GStreamer's command-line tool.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "lame/TestWav.h"

namespace encode_test {

struct Mp3Frame {
    int version = 0;    // 10 MPEG-1, 20 MPEG-2, 25 MPEG-2.5
    int bitrate = 0;    // kbit/s
    int sampleRate = 0; // Hz
    int mode = 0;       // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool crc = false;
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;
    int length = 0; // bytes
    int mainDataBegin = 0;
    int samples = 0; // per channel
};

// Frames from the start of the file; stops at the first byte that is not a
// layer III frame header. walkedAll tells whether the walk reached the end.
inline std::vector<Mp3Frame> ScanMp3(const std::string& bytes, bool* walkedAll = nullptr)
{
    static const int kBitrates[2][16] = {
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}};
    static const int kRates[3] = {44100, 48000, 32000};
    std::vector<Mp3Frame> frames;
    size_t pos = 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    while (pos + 6 <= bytes.size()) {
        if (b[pos] != 0xFF || (b[pos + 1] & 0xE0) != 0xE0 || ((b[pos + 1] >> 1) & 3) != 1)
            break;
        Mp3Frame f;
        int versionBits = (b[pos + 1] >> 3) & 3;
        if (versionBits == 1)
            break;
        f.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
        f.crc = (b[pos + 1] & 1) == 0;
        int bitrateIndex = b[pos + 2] >> 4;
        int rateIndex = (b[pos + 2] >> 2) & 3;
        if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
            break;
        f.bitrate = kBitrates[f.version == 10 ? 0 : 1][bitrateIndex];
        f.sampleRate = kRates[rateIndex] / (f.version == 10 ? 1 : f.version == 20 ? 2 : 4);
        bool padding = (b[pos + 2] >> 1) & 1;
        f.privateBit = b[pos + 2] & 1;
        f.mode = b[pos + 3] >> 6;
        f.copyright = (b[pos + 3] >> 3) & 1;
        f.original = (b[pos + 3] >> 2) & 1;
        f.emphasis = b[pos + 3] & 3;
        f.samples = f.version == 10 ? 1152 : 576;
        f.length = (f.version == 10 ? 144000 : 72000) * f.bitrate / f.sampleRate + (padding ? 1 : 0);
        size_t side = pos + 4 + (f.crc ? 2 : 0);
        if (side + 2 > bytes.size())
            break;
        f.mainDataBegin = f.version == 10 ? (b[side] << 1) | (b[side + 1] >> 7) : b[side];
        if (pos + static_cast<size_t>(f.length) > bytes.size())
            break;
        frames.push_back(f);
        pos += static_cast<size_t>(f.length);
    }
    if (walkedAll)
        *walkedAll = pos == bytes.size();
    return frames;
}

struct Decoded {
    bool ok = false;
    int sampleRate = 0;
    int channels = 0;
    long frames = 0; // per channel
};

// Decodes an MP3 into 16-bit PCM with gst-launch-1.0 and reads the result's
// format and length. wavOut is the scratch file it writes.
inline Decoded DecodeMp3(const std::string& mp3Path, const std::string& wavOut)
{
    Decoded result;
    std::string command =
        "gst-launch-1.0 -q filesrc location=\"" + mp3Path +
        "\" ! decodebin ! audioconvert ! audio/x-raw,format=S16LE ! wavenc ! filesink location=\"" + wavOut +
        "\" > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return result;
    const std::string wav = ReadBytes(wavOut);
    const auto* b = reinterpret_cast<const unsigned char*>(wav.data());
    auto le32 = [&](size_t at) {
        return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                          (static_cast<std::uint32_t>(b[at + 3]) << 24));
    };
    size_t pos = 12;
    while (pos + 8 <= wav.size()) {
        std::string id = wav.substr(pos, 4);
        std::uint32_t size = le32(pos + 4);
        if (id == "fmt " && pos + 16 <= wav.size()) {
            result.channels = b[pos + 10] | (b[pos + 11] << 8);
            result.sampleRate = static_cast<int>(le32(pos + 12));
        } else if (id == "data" && result.channels > 0) {
            std::uint32_t available = static_cast<std::uint32_t>(wav.size() - pos - 8);
            result.frames = static_cast<long>((size < available ? size : available) / (2u * result.channels));
            result.ok = true;
            break;
        }
        pos += 8 + size;
    }
    return result;
}

// LAME puts 576 samples of delay in front and a decoder adds 529 more; with no
// LAME tag in the file nothing tells the decoder to drop them.
constexpr long kCodecDelay = 576 + 529;

} // namespace encode_test
