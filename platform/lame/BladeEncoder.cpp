#include "lame/BladeEncoder.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <lame/lame.h>
#include <map>
#include <memory>
#include <mutex>

namespace BrelkosPlayer {

namespace {

struct Stream {
    lame_global_flags* flags = nullptr;
    int channels = 2;
    std::uint32_t samplesPerBlock = 0;
    std::uint32_t bufferSize = 0;
    BE_CONFIG effective{};

    ~Stream()
    {
        if (flags)
            lame_close(flags);
    }
};

std::mutex& StreamsMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::map<HBE_STREAM, std::unique_ptr<Stream>>& Streams()
{
    static std::map<HBE_STREAM, std::unique_ptr<Stream>> streams;
    return streams;
}

HBE_STREAM g_nextHandle = 1;

// Handles stay valid while the caller uses them: only beCloseStream erases.
Stream* FindStream(HBE_STREAM handle)
{
    std::lock_guard<std::mutex> lock(StreamsMutex());
    auto it = Streams().find(handle);
    return it == Streams().end() ? nullptr : it->second.get();
}

const std::uint32_t kSampleRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
const std::uint32_t kMpeg1Bitrates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
const std::uint32_t kMpeg2Bitrates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

std::uint32_t Distance(std::uint32_t a, std::uint32_t b)
{
    return a > b ? a - b : b - a;
}

std::uint32_t NearestSampleRate(std::uint32_t rate)
{
    std::uint32_t best = kSampleRates[0];
    for (std::uint32_t candidate : kSampleRates)
        if (Distance(candidate, rate) < Distance(best, rate))
            best = candidate;
    return best;
}

std::uint32_t VersionOfRate(std::uint32_t rate)
{
    if (rate >= 32000)
        return MPEG1;
    return rate >= 16000 ? MPEG2 : MPEG25;
}

// Ties go to the lower rate, so the answer never exceeds a rate asked for
// between two allowed ones.
std::uint32_t NearestBitrate(std::uint32_t kbps, std::uint32_t version)
{
    const std::uint32_t* table = version == MPEG1 ? kMpeg1Bitrates : kMpeg2Bitrates;
    std::uint32_t best = table[0];
    for (size_t i = 0; i < 14; ++i)
        if (Distance(table[i], kbps) < Distance(best, kbps))
            best = table[i];
    return best;
}

// Our quality codes to LAME's algorithm quality (0 best and slowest, 9
// fastest). LAME 3.100 encodes 5 and 6 alike, and 7 to 9 alike: these four
// are all distinct.
int LameQuality(std::uint16_t nQuality)
{
    switch (nQuality & 0xFF) {
    case 0: return 7;  // fast mode, LAME's own -f
    case 1: return 5;  // low
    case 2: return 3;  // medium, LAME's default
    default: return 2; // high, LAME's own -h
    }
}

// LAME's quality back to our codes, by what it encodes alike. LAME may move
// the quality it was given: VBR's default method takes everything under 5 as
// 0, the old method everything above 6 as 6.
std::uint16_t QualityCode(int lameQuality)
{
    if (lameQuality <= 2)
        return 3;
    if (lameQuality <= 4)
        return 2;
    return lameQuality <= 6 ? 1 : 0;
}

void Silent(const char*, va_list) {}

} // namespace

BE_ERR beInitStream(const BE_CONFIG* config, std::uint32_t* samples, std::uint32_t* bufferSize,
                    HBE_STREAM* stream)
{
    if (!config || !samples || !bufferSize || !stream)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (config->dwConfig != BE_CONFIG_LAME)
        return BE_ERR_INVALID_FORMAT;
    const auto& in = config->format.LHV1;
    if (in.dwSampleRate == 0 || in.dwSampleRate > 192000)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (in.nMode < BE_MP3_MODE_STEREO || in.nMode > BE_MP3_MODE_MONO)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (in.nPreset != 0 && in.nPreset != -1)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (in.bEnableVBR && (in.nVbrMethod < VBR_METHOD_NONE || in.nVbrMethod > VBR_METHOD_ABR))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    auto s = std::make_unique<Stream>();
    s->flags = lame_init();
    if (!s->flags)
        return BE_ERR_NO_MORE_HANDLES;
    lame_global_flags* gf = s->flags;
    lame_set_msgf(gf, Silent);
    lame_set_debugf(gf, Silent);
    lame_set_errorf(gf, Silent);

    s->channels = in.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    lame_set_num_channels(gf, s->channels);
    lame_set_in_samplerate(gf, static_cast<int>(in.dwSampleRate));

    // The output rate decides the MPEG version; a rate no version has moves to
    // the nearest one that some version has.
    std::uint32_t outRate = in.dwReSampleRate ? NearestSampleRate(in.dwReSampleRate) : 0;
    if (outRate)
        lame_set_out_samplerate(gf, static_cast<int>(outRate));
    static const MPEG_mode kModes[] = {STEREO, JOINT_STEREO, DUAL_CHANNEL, MONO};
    lame_set_mode(gf, kModes[in.nMode]);

    lame_set_extension(gf, in.bPrivate ? 1 : 0);
    lame_set_error_protection(gf, in.bCRC ? 1 : 0);
    lame_set_copyright(gf, in.bCopyright ? 1 : 0);
    lame_set_original(gf, in.bOriginal ? 1 : 0);
    lame_set_emphasis(gf, static_cast<int>(in.dwEmphasis & 3));
    lame_set_bWriteVbrTag(gf, in.bWriteVBRHeader ? 1 : 0);
    lame_set_disable_reservoir(gf, in.bNoRes ? 1 : 0);
    lame_set_strict_ISO(gf, in.bStrictIso ? 1 : 0);
    lame_set_quality(gf, LameQuality(in.nQuality));
    lame_set_write_id3tag_automatic(gf, 0);

    // Bit rates are checked against the version the output rate implies; when
    // the encoder picks the rate itself, against the version asked for.
    std::uint32_t version = outRate ? VersionOfRate(outRate) : (in.dwMpegVersion == MPEG1 ? MPEG1 : MPEG2);
    std::uint32_t bitrate = in.dwBitrate ? NearestBitrate(in.dwBitrate, version) : 0;
    std::uint32_t maxBitrate = 0;
    int vbrQuality = 0;
    vbr_mode vbrMode = vbr_off;
    if (in.bEnableVBR) {
        static const vbr_mode kMethods[] = {vbr_off, vbr_default, vbr_rh, vbr_mtrh, vbr_mtrh, vbr_abr};
        vbrMode = kMethods[in.nVbrMethod + 1];
    }
    lame_set_VBR(gf, vbrMode);
    if (vbrMode == vbr_off) {
        if (bitrate)
            lame_set_brate(gf, static_cast<int>(bitrate));
    } else {
        vbrQuality = in.nVBRQuality < 0 ? 0 : in.nVBRQuality > 9 ? 9 : in.nVBRQuality;
        maxBitrate = in.dwMaxBitrate ? NearestBitrate(in.dwMaxBitrate, version) : 0;
        if (maxBitrate && bitrate > maxBitrate)
            bitrate = maxBitrate;
        lame_set_VBR_q(gf, vbrQuality);
        if (bitrate)
            lame_set_VBR_min_bitrate_kbps(gf, static_cast<int>(bitrate));
        if (maxBitrate)
            lame_set_VBR_max_bitrate_kbps(gf, static_cast<int>(maxBitrate));
        if (vbrMode == vbr_abr && in.dwVbrAbr_bps)
            lame_set_VBR_mean_bitrate_kbps(gf,
                                           static_cast<int>(NearestBitrate(in.dwVbrAbr_bps / 1000, version)));
    }

    if (lame_init_params(gf) < 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    int frameSize = lame_get_framesize(gf);
    int actualOut = lame_get_out_samplerate(gf);
    if (frameSize <= 0 || actualOut <= 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    s->samplesPerBlock = static_cast<std::uint32_t>(frameSize * s->channels);
    // LAME's worst case (1.25 bytes per sample + 7200) counted in output
    // samples, which resampling up can make several frames per input block.
    std::uint64_t outSamples =
        (static_cast<std::uint64_t>(frameSize) * static_cast<std::uint64_t>(actualOut) + in.dwSampleRate -
         1) /
            in.dwSampleRate +
        static_cast<std::uint64_t>(frameSize);
    s->bufferSize = static_cast<std::uint32_t>(outSamples + outSamples / 4 + 7200);

    BE_CONFIG& eff = s->effective;
    std::memcpy(&eff, config, sizeof eff);
    eff.format.LHV1.dwReSampleRate = static_cast<std::uint32_t>(actualOut);
    eff.format.LHV1.dwMpegVersion = static_cast<std::uint32_t>(lame_get_version(gf));
    eff.format.LHV1.nMode = static_cast<std::int32_t>(lame_get_mode(gf));
    if (vbrMode == vbr_off) {
        eff.format.LHV1.dwBitrate = static_cast<std::uint32_t>(lame_get_brate(gf));
        eff.format.LHV1.dwMaxBitrate = 0;
    } else {
        eff.format.LHV1.dwBitrate = static_cast<std::uint32_t>(lame_get_VBR_min_bitrate_kbps(gf));
        eff.format.LHV1.dwMaxBitrate = static_cast<std::uint32_t>(lame_get_VBR_max_bitrate_kbps(gf));
        eff.format.LHV1.nVBRQuality = lame_get_VBR_q(gf);
    }
    eff.format.LHV1.bNoRes = lame_get_disable_reservoir(gf);
    eff.format.LHV1.bStrictIso = lame_get_strict_ISO(gf) ? 1 : 0;
    eff.format.LHV1.nQuality = QualityCode(lame_get_quality(gf));

    *samples = s->samplesPerBlock;
    *bufferSize = s->bufferSize;
    std::lock_guard<std::mutex> lock(StreamsMutex());
    HBE_STREAM handle = g_nextHandle++;
    Streams()[handle] = std::move(s);
    *stream = handle;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beEncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t* input,
                     std::uint8_t* output, std::uint32_t* outputBytes)
{
    Stream* s = FindStream(stream);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    if (!output || !outputBytes || (samples && !input) ||
        samples % static_cast<std::uint32_t>(s->channels) != 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (samples > s->samplesPerBlock)
        return BE_ERR_BUFFER_TOO_SMALL;
    *outputBytes = 0;
    if (samples == 0)
        return BE_ERR_SUCCESSFUL;
    int frames = static_cast<int>(samples / static_cast<std::uint32_t>(s->channels));
    int size = static_cast<int>(s->bufferSize);
    int written = s->channels == 1 ? lame_encode_buffer(s->flags, input, input, frames, output, size)
                                   : lame_encode_buffer_interleaved(s->flags, const_cast<short*>(input),
                                                                    frames, output, size);
    if (written < 0)
        return written == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT_PARAMETERS;
    *outputBytes = static_cast<std::uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beDeinitStream(HBE_STREAM stream, std::uint8_t* output, std::uint32_t* outputBytes)
{
    Stream* s = FindStream(stream);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    if (!output || !outputBytes)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    *outputBytes = 0;
    int written = lame_encode_flush(s->flags, output, static_cast<int>(s->bufferSize));
    if (written < 0)
        return BE_ERR_BUFFER_TOO_SMALL;
    *outputBytes = static_cast<std::uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beCloseStream(HBE_STREAM stream)
{
    std::unique_ptr<Stream> closing;
    {
        std::lock_guard<std::mutex> lock(StreamsMutex());
        auto it = Streams().find(stream);
        if (it == Streams().end())
            return BE_ERR_INVALID_HANDLE;
        closing = std::move(it->second);
        Streams().erase(it);
    }
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beGetEffectiveConfig(HBE_STREAM stream, BE_CONFIG* config)
{
    Stream* s = FindStream(stream);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    if (!config)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    std::memcpy(config, &s->effective, sizeof *config);
    return BE_ERR_SUCCESSFUL;
}

} // namespace BrelkosPlayer
