// The encoder's stream interface: the LAME configuration record (BE_CONFIG in
// its packed LAME layout) and the four stream operations, implemented over
// libmp3lame. Results are BE_ERR_* codes, 0 for success.
//
// What a stream honours, field by field:
// - dwSampleRate: input rate in Hz (1 to 192000).
// - dwReSampleRate: output rate in Hz, 0 to let the encoder choose; a rate that
//   no MPEG layer III version has becomes the nearest one that does.
// - nMode: BE_MP3_MODE_*; mono takes one input channel, the others two.
// - dwMpegVersion: the version asked for. The output rate decides the version
//   actually used (MPEG-1 has no 22050 Hz), so the rate wins.
// - dwBitrate / dwMaxBitrate: CBR rate / VBR minimum and maximum in kbit/s, each
//   moved to the nearest rate the version allows; a VBR minimum above the
//   maximum is lowered to the maximum.
// - bEnableVBR, nVBRQuality (0 best to 9, clamped), nVbrMethod (0 default, or
//   VBR_METHOD_*), dwVbrAbr_bps (ABR mean in bit/s with VBR_METHOD_ABR).
// - bPrivate, bCRC, bCopyright, bOriginal, dwEmphasis: header bits.
// - bWriteVBRHeader: reserve a first frame for the Xing/LAME tag.
// - bNoRes: bit reservoir off. bStrictIso: strict ISO frame limits.
// - nQuality: encoding quality, low byte 0 fast mode, 1 low, 2 medium, 3 high
//   (above 3: high); the high byte is ignored.
// - nPreset: 0 or -1 (no preset); dwPsyModel is accepted and ignored.
// beGetEffectiveConfig tells what a stream really does, so callers can report
// every request the encoder could not honour as asked.
#pragma once

#include <cstddef>
#include <cstdint>

namespace BrelkosPlayer {

using BE_ERR = std::uint32_t;
using HBE_STREAM = unsigned long;

constexpr BE_ERR BE_ERR_SUCCESSFUL = 0x00000000;
constexpr BE_ERR BE_ERR_INVALID_FORMAT = 0x00000001;
constexpr BE_ERR BE_ERR_INVALID_FORMAT_PARAMETERS = 0x00000002;
constexpr BE_ERR BE_ERR_NO_MORE_HANDLES = 0x00000003;
constexpr BE_ERR BE_ERR_INVALID_HANDLE = 0x00000004;
constexpr BE_ERR BE_ERR_BUFFER_TOO_SMALL = 0x00000005;

constexpr std::uint32_t BE_CONFIG_LAME = 256;

constexpr std::int32_t BE_MP3_MODE_STEREO = 0;
constexpr std::int32_t BE_MP3_MODE_JSTEREO = 1;
constexpr std::int32_t BE_MP3_MODE_DUALCHANNEL = 2;
constexpr std::int32_t BE_MP3_MODE_MONO = 3;

// dwMpegVersion values; MPEG25 only in beGetEffectiveConfig's answer.
constexpr std::uint32_t MPEG1 = 1;
constexpr std::uint32_t MPEG2 = 0;
constexpr std::uint32_t MPEG25 = 2;

constexpr std::int32_t VBR_METHOD_NONE = -1;
constexpr std::int32_t VBR_METHOD_DEFAULT = 0;
constexpr std::int32_t VBR_METHOD_OLD = 1;
constexpr std::int32_t VBR_METHOD_NEW = 2;
constexpr std::int32_t VBR_METHOD_MTRH = 3;
constexpr std::int32_t VBR_METHOD_ABR = 4;

#pragma pack(push, 1)
struct BE_CONFIG {
    std::uint32_t dwConfig;
    union {
        struct {
            std::uint32_t dwStructVersion;
            std::uint32_t dwStructSize;
            std::uint32_t dwSampleRate;
            std::uint32_t dwReSampleRate;
            std::int32_t nMode;
            std::uint32_t dwBitrate;
            std::uint32_t dwMaxBitrate;
            std::int32_t nPreset;
            std::uint32_t dwMpegVersion;
            std::uint32_t dwPsyModel;
            std::uint32_t dwEmphasis;
            std::int32_t bPrivate;
            std::int32_t bCRC;
            std::int32_t bCopyright;
            std::int32_t bOriginal;
            std::int32_t bWriteVBRHeader;
            std::int32_t bEnableVBR;
            std::int32_t nVBRQuality;
            std::uint32_t dwVbrAbr_bps;
            std::int32_t nVbrMethod;
            std::int32_t bNoRes;
            std::int32_t bStrictIso;
            std::uint16_t nQuality;
            std::uint8_t btReserved[255 - 4 * sizeof(std::uint32_t) - sizeof(std::uint16_t)];
        } LHV1;
    } format;
};
#pragma pack(pop)

static_assert(sizeof(BE_CONFIG) == 331, "BE_CONFIG must keep LAME's packed layout");

// Opens a stream. samples: 16-bit samples per block (all channels, interleaved);
// bufferSize: bytes an output buffer needs for one block or for the flush.
BE_ERR beInitStream(const BE_CONFIG* config, std::uint32_t* samples, std::uint32_t* bufferSize,
                    HBE_STREAM* stream);
// Encodes up to one block of interleaved 16-bit samples into output (at least
// bufferSize bytes); outputBytes gets the bytes written, possibly 0.
BE_ERR beEncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t* input,
                     std::uint8_t* output, std::uint32_t* outputBytes);
// Flushes the last frames into output (at least bufferSize bytes).
BE_ERR beDeinitStream(HBE_STREAM stream, std::uint8_t* output, std::uint32_t* outputBytes);
// Releases the stream; its handle is invalid afterwards.
BE_ERR beCloseStream(HBE_STREAM stream);
// The configuration the stream really uses, in the same fields: output rate,
// mode, MPEG version (MPEG1, MPEG2 or MPEG25), bit rates, VBR quality, and in
// nQuality the code (0 to 3) of the quality LAME encodes with, which VBR can
// move away from the one asked.
BE_ERR beGetEffectiveConfig(HBE_STREAM stream, BE_CONFIG* config);

} // namespace BrelkosPlayer
