#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <lame/lame.h>
#include <set>
#include <string>
#include <vector>

#include "lame/BladeEncoder.h"
#include "lame/TestMp3.h"
#include "lame/TestWav.h"

using namespace BrelkosPlayer;
using encode_test::Mp3Frame;
using encode_test::ScanMp3;

namespace {

BE_CONFIG Config(std::uint32_t inRate, std::uint32_t outRate, std::int32_t mode, std::uint32_t bitrate)
{
    BE_CONFIG config;
    std::memset(&config, 0, sizeof config);
    config.dwConfig = BE_CONFIG_LAME;
    config.format.LHV1.dwStructVersion = 1;
    config.format.LHV1.dwStructSize = sizeof config;
    config.format.LHV1.dwSampleRate = inRate;
    config.format.LHV1.dwReSampleRate = outRate;
    config.format.LHV1.nMode = mode;
    config.format.LHV1.dwBitrate = bitrate;
    config.format.LHV1.dwMpegVersion = MPEG1;
    config.format.LHV1.bNoRes = 1;
    return config;
}

struct Encoded {
    BE_ERR init = BE_ERR_INVALID_FORMAT;
    BE_CONFIG effective{};
    std::uint32_t blockSamples = 0;
    std::string mp3;
};

// Encodes `seconds` of the test tone through the four stream operations.
Encoded Encode(const BE_CONFIG& config, double seconds = 1.0)
{
    Encoded result;
    std::uint32_t bufferSize = 0;
    HBE_STREAM stream = 0;
    result.init = beInitStream(&config, &result.blockSamples, &bufferSize, &stream);
    if (result.init != BE_ERR_SUCCESSFUL)
        return result;
    EXPECT_EQ(beGetEffectiveConfig(stream, &result.effective), BE_ERR_SUCCESSFUL);
    const std::uint32_t rate = config.format.LHV1.dwSampleRate;
    const std::uint16_t channels = config.format.LHV1.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    const std::uint32_t frames = static_cast<std::uint32_t>(seconds * rate);
    std::vector<std::int16_t> samples;
    for (std::uint32_t f = 0; f < frames; ++f)
        for (std::uint16_t c = 0; c < channels; ++c)
            samples.push_back(encode_test::ToneSample(f, c, rate));
    std::vector<std::uint8_t> output(bufferSize);
    for (size_t at = 0; at < samples.size(); at += result.blockSamples) {
        std::uint32_t count =
            static_cast<std::uint32_t>(std::min<size_t>(result.blockSamples, samples.size() - at));
        std::uint32_t bytes = 0;
        EXPECT_EQ(beEncodeChunk(stream, count, samples.data() + at, output.data(), &bytes),
                  BE_ERR_SUCCESSFUL);
        EXPECT_LE(bytes, bufferSize);
        result.mp3.append(reinterpret_cast<const char*>(output.data()), bytes);
    }
    std::uint32_t bytes = 0;
    EXPECT_EQ(beDeinitStream(stream, output.data(), &bytes), BE_ERR_SUCCESSFUL);
    result.mp3.append(reinterpret_cast<const char*>(output.data()), bytes);
    EXPECT_EQ(beCloseStream(stream), BE_ERR_SUCCESSFUL);
    return result;
}

// One second of the test tone at 44100 Hz, 128 kbit/s joint stereo and no bit
// reservoir, encoded by LAME itself at one of its own qualities (0 to 9).
std::string LameEncoded(int lameQuality)
{
    lame_global_flags* gf = lame_init();
    auto silent = [](const char*, va_list) {};
    lame_set_msgf(gf, silent);
    lame_set_debugf(gf, silent);
    lame_set_errorf(gf, silent);
    lame_set_num_channels(gf, 2);
    lame_set_in_samplerate(gf, 44100);
    lame_set_out_samplerate(gf, 44100);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_brate(gf, 128);
    lame_set_original(gf, 0);
    lame_set_bWriteVbrTag(gf, 0);
    lame_set_write_id3tag_automatic(gf, 0);
    lame_set_disable_reservoir(gf, 1);
    lame_set_quality(gf, lameQuality);
    EXPECT_GE(lame_init_params(gf), 0);
    std::vector<short> samples;
    for (std::uint32_t f = 0; f < 44100; ++f)
        for (std::uint16_t c = 0; c < 2; ++c)
            samples.push_back(encode_test::ToneSample(f, c, 44100));
    std::vector<unsigned char> output(samples.size() * 2 + 7200);
    int written = lame_encode_buffer_interleaved(gf, samples.data(), 44100, output.data(),
                                                 static_cast<int>(output.size()));
    EXPECT_GE(written, 0);
    int flushed = lame_encode_flush(gf, output.data() + written, static_cast<int>(output.size()) - written);
    EXPECT_GE(flushed, 0);
    lame_close(gf);
    return std::string(reinterpret_cast<const char*>(output.data()), static_cast<size_t>(written + flushed));
}

std::vector<Mp3Frame> Frames(const std::string& mp3)
{
    bool walkedAll = false;
    std::vector<Mp3Frame> frames = ScanMp3(mp3, &walkedAll);
    EXPECT_TRUE(walkedAll) << "the stream is not a plain run of layer III frames";
    EXPECT_FALSE(frames.empty());
    return frames;
}

} // namespace

// Other programs fill this record by offset: the layout is LAME's, byte for byte.
TEST(BladeEncoder, ConfigKeepsLamesPackedLayout)
{
    EXPECT_EQ(offsetof(BE_CONFIG, format), 4u);
    const size_t base = 4;
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.dwSampleRate), base + 8);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.nMode), base + 16);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.dwMpegVersion), base + 32);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.bPrivate), base + 44);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.bWriteVBRHeader), base + 60);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.nVBRQuality), base + 68);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.bNoRes), base + 80);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.bStrictIso), base + 84);
    EXPECT_EQ(offsetof(BE_CONFIG, format.LHV1.nQuality), base + 88);
    EXPECT_EQ(sizeof(BE_CONFIG), 331u);
}

TEST(BladeEncoder, FramesCarryTheRatesModeAndBitrateAsked)
{
    struct Case {
        std::uint32_t in, out;
        std::int32_t mode;
        std::uint32_t bitrate;
        int version;
        int headerMode;
    };
    const Case cases[] = {
        {44100, 44100, BE_MP3_MODE_STEREO, 128, 10, 0},      {44100, 22050, BE_MP3_MODE_JSTEREO, 160, 20, 1},
        {48000, 48000, BE_MP3_MODE_DUALCHANNEL, 192, 10, 2}, {22050, 16000, BE_MP3_MODE_MONO, 64, 20, 3},
        {8000, 32000, BE_MP3_MODE_STEREO, 320, 10, 0},       {11025, 24000, BE_MP3_MODE_MONO, 8, 20, 3},
        {12000, 44100, BE_MP3_MODE_JSTEREO, 256, 10, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.in << " -> " << c.out << " Hz, mode " << c.mode << ", " << c.bitrate);
        Encoded e = Encode(Config(c.in, c.out, c.mode, c.bitrate));
        ASSERT_EQ(e.init, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(e.blockSamples, (c.version == 10 ? 1152u : 576u) * (c.mode == BE_MP3_MODE_MONO ? 1 : 2));
        for (const Mp3Frame& f : Frames(e.mp3)) {
            ASSERT_EQ(f.sampleRate, static_cast<int>(c.out));
            ASSERT_EQ(f.version, c.version);
            ASSERT_EQ(f.mode, c.headerMode);
            ASSERT_EQ(f.bitrate, static_cast<int>(c.bitrate));
        }
    }
}

// What LAME cannot do as asked becomes the nearest thing it can, and the
// effective configuration says so.
TEST(BladeEncoder, UnavailableRequestsMoveToTheNearestValidSetting)
{
    struct Case {
        std::uint32_t out;
        std::uint32_t bitrate;
        std::uint32_t version;
        std::uint32_t bitrateUsed;
        std::uint32_t outUsed;
    };
    const Case cases[] = {
        {22050, 160, MPEG2, 160, 22050}, // no MPEG-1 at 22050 Hz
        {22050, 320, MPEG2, 160, 22050}, // MPEG-2 stops at 160 kbit/s
        {16000, 192, MPEG2, 160, 16000},
        {44100, 144, MPEG1, 128, 44100}, // no 144 in MPEG-1: the lower
                                         // neighbour
        {44100, 8, MPEG1, 32, 44100},
        {48000, 300, MPEG1, 320, 48000},
        {44000, 128, MPEG1, 128, 44100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.out << " Hz at " << c.bitrate << " kbit/s");
        Encoded e = Encode(Config(44100, c.out, BE_MP3_MODE_STEREO, c.bitrate), 0.3);
        ASSERT_EQ(e.init, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(e.effective.format.LHV1.dwMpegVersion, c.version);
        EXPECT_EQ(e.effective.format.LHV1.dwBitrate, c.bitrateUsed);
        EXPECT_EQ(e.effective.format.LHV1.dwReSampleRate, c.outUsed);
        for (const Mp3Frame& f : Frames(e.mp3))
            ASSERT_EQ(f.bitrate, static_cast<int>(c.bitrateUsed));
    }
}

TEST(BladeEncoder, VbrStaysBetweenItsBitratesAndFollowsItsQuality)
{
    BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_JSTEREO, 32);
    config.format.LHV1.bEnableVBR = 1;
    config.format.LHV1.dwMaxBitrate = 320;
    config.format.LHV1.nVBRQuality = 0;
    Encoded best = Encode(config, 2.0);
    config.format.LHV1.nVBRQuality = 9;
    Encoded worst = Encode(config, 2.0);
    ASSERT_EQ(best.init, BE_ERR_SUCCESSFUL);
    ASSERT_EQ(worst.init, BE_ERR_SUCCESSFUL);
    EXPECT_GT(best.mp3.size(), worst.mp3.size() * 3 / 2);
    EXPECT_EQ(best.effective.format.LHV1.nVBRQuality, 0);
    EXPECT_EQ(worst.effective.format.LHV1.nVBRQuality, 9);

    config.format.LHV1.dwBitrate = 64;
    config.format.LHV1.dwMaxBitrate = 128;
    config.format.LHV1.nVBRQuality = 2;
    Encoded bounded = Encode(config, 2.0);
    std::set<int> rates;
    for (const Mp3Frame& f : Frames(bounded.mp3)) {
        EXPECT_LE(f.bitrate, 128);
        rates.insert(f.bitrate);
    }
    EXPECT_GT(rates.size(), 1u) << "VBR frames should not all share one bit rate";
}

TEST(BladeEncoder, VbrSettingsOutOfRangeAreClamped)
{
    struct Case {
        std::int32_t quality;
        std::uint32_t min, max;
        std::int32_t qualityUsed;
        std::uint32_t minUsed, maxUsed;
    };
    const Case cases[] = {
        {-1, 64, 128, 0, 64, 128}, // the last entry of the quality list gives -1
        {12, 64, 128, 9, 64, 128},
        {3, 192, 128, 3, 128, 128}, // a minimum above the maximum comes down to it
        {3, 160, 320, 3, 160, 320},
    };
    for (const Case& c : cases) {
        BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_STEREO, c.min);
        config.format.LHV1.bEnableVBR = 1;
        config.format.LHV1.dwMaxBitrate = c.max;
        config.format.LHV1.nVBRQuality = c.quality;
        Encoded e = Encode(config, 0.2);
        ASSERT_EQ(e.init, BE_ERR_SUCCESSFUL) << c.quality;
        EXPECT_EQ(e.effective.format.LHV1.nVBRQuality, c.qualityUsed) << c.quality;
        EXPECT_EQ(e.effective.format.LHV1.dwBitrate, c.minUsed) << c.quality;
        EXPECT_EQ(e.effective.format.LHV1.dwMaxBitrate, c.maxUsed) << c.quality;
    }
}

TEST(BladeEncoder, BitReservoirOffLeavesEveryFrameSelfContained)
{
    BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_JSTEREO, 128);
    int borrowing = 0;
    for (const Mp3Frame& f : Frames(Encode(config).mp3))
        EXPECT_EQ(f.mainDataBegin, 0);
    config.format.LHV1.bNoRes = 0;
    for (const Mp3Frame& f : Frames(Encode(config).mp3))
        borrowing += f.mainDataBegin > 0;
    EXPECT_GT(borrowing, 0) << "with the reservoir on, some frames should borrow bits";
}

TEST(BladeEncoder, HeaderFlagsFollowTheConfig)
{
    BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_STEREO, 128);
    for (const Mp3Frame& f : Frames(Encode(config, 0.3).mp3)) {
        ASSERT_FALSE(f.crc);
        ASSERT_FALSE(f.privateBit);
        ASSERT_FALSE(f.copyright);
        ASSERT_FALSE(f.original);
        ASSERT_EQ(f.emphasis, 0);
    }
    config.format.LHV1.bCRC = 1;
    config.format.LHV1.bPrivate = 1;
    config.format.LHV1.bCopyright = 1;
    config.format.LHV1.bOriginal = 1;
    config.format.LHV1.dwEmphasis = 1;
    for (const Mp3Frame& f : Frames(Encode(config, 0.3).mp3)) {
        ASSERT_TRUE(f.crc);
        ASSERT_TRUE(f.privateBit);
        ASSERT_TRUE(f.copyright);
        ASSERT_TRUE(f.original);
        ASSERT_EQ(f.emphasis, 1);
    }
}

// Each quality code is one of LAME's own qualities: fast mode its -f (7), low
// 5, medium its default (3), high its -h (2).
TEST(BladeEncoder, QualityAndStrictIsoReachTheEncoder)
{
    struct Case {
        std::uint16_t code;
        int lameQuality;
        std::uint16_t codeUsed;
    };
    const Case cases[] = {{0, 7, 0}, {1, 5, 1}, {2, 3, 2}, {3, 2, 3}, {4, 2, 3}, {0x0201, 5, 1}};
    BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_JSTEREO, 128);
    std::set<std::string> outputs;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        config.format.LHV1.nQuality = c.code;
        Encoded e = Encode(config);
        EXPECT_EQ(e.effective.format.LHV1.nQuality, c.codeUsed);
        EXPECT_TRUE(e.mp3 == LameEncoded(c.lameQuality)) << "not LAME's quality " << c.lameQuality;
        outputs.insert(e.mp3);
    }
    EXPECT_EQ(outputs.size(), 4u) << "each of the four codes should encode differently";

    config.format.LHV1.nQuality = 0;
    EXPECT_EQ(Encode(config, 0.1).effective.format.LHV1.bStrictIso, 0);
    config.format.LHV1.bStrictIso = 1;
    EXPECT_EQ(Encode(config, 0.1).effective.format.LHV1.bStrictIso, 1);
}

// With VBR, LAME 3.100 moves some qualities: its default method encodes every
// quality under 5 as 0 (medium becomes high), its old method every quality
// above 6 as 6 (fast mode becomes low). The effective record says so.
TEST(BladeEncoder, EffectiveQualityIsTheOneLameEncodesWith)
{
    struct Case {
        std::int32_t method;
        std::uint16_t code;
        std::uint16_t codeUsed;
    };
    const Case cases[] = {
        {VBR_METHOD_DEFAULT, 0, 0}, {VBR_METHOD_DEFAULT, 1, 1}, {VBR_METHOD_DEFAULT, 2, 3},
        {VBR_METHOD_DEFAULT, 3, 3}, {VBR_METHOD_OLD, 0, 1},     {VBR_METHOD_OLD, 1, 1},
        {VBR_METHOD_OLD, 2, 2},     {VBR_METHOD_OLD, 3, 3},
    };
    BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_JSTEREO, 64);
    config.format.LHV1.bEnableVBR = 1;
    config.format.LHV1.dwMaxBitrate = 320;
    config.format.LHV1.nVBRQuality = 4;
    for (const Case& c : cases) {
        config.format.LHV1.nVbrMethod = c.method;
        config.format.LHV1.nQuality = c.code;
        EXPECT_EQ(Encode(config, 0.1).effective.format.LHV1.nQuality, c.codeUsed)
            << "method " << c.method << ", code " << c.code;
    }
}

TEST(BladeEncoder, BadCallsAreRefusedWithTheirCode)
{
    std::uint32_t samples = 0;
    std::uint32_t bufferSize = 0;
    HBE_STREAM stream = 0;
    BE_CONFIG config = Config(44100, 44100, BE_MP3_MODE_STEREO, 128);
    config.dwConfig = 0;
    EXPECT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), BE_ERR_INVALID_FORMAT);
    config = Config(44100, 44100, 4, 128);
    EXPECT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), BE_ERR_INVALID_FORMAT_PARAMETERS);
    config = Config(0, 44100, BE_MP3_MODE_STEREO, 128);
    EXPECT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(beInitStream(nullptr, &samples, &bufferSize, &stream), BE_ERR_INVALID_FORMAT_PARAMETERS);

    config = Config(44100, 44100, BE_MP3_MODE_STEREO, 128);
    ASSERT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), BE_ERR_SUCCESSFUL);
    std::vector<std::int16_t> input(samples + 2);
    std::vector<std::uint8_t> output(bufferSize);
    std::uint32_t bytes = 0;
    EXPECT_EQ(beEncodeChunk(stream, samples + 2, input.data(), output.data(), &bytes),
              BE_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(beEncodeChunk(stream, 3, input.data(), output.data(), &bytes),
              BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(beEncodeChunk(stream, samples, nullptr, output.data(), &bytes),
              BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(beEncodeChunk(stream, samples, input.data(), output.data(), &bytes), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beCloseStream(stream), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beCloseStream(stream), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beEncodeChunk(stream, samples, input.data(), output.data(), &bytes), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beDeinitStream(stream, output.data(), &bytes), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beDeinitStream(12345678, output.data(), &bytes), BE_ERR_INVALID_HANDLE);
}
