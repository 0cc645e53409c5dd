// The WAV header reader on any bytes: it never crashes, hangs or reads past
// the end, and what it accepts is a 16-bit mono or stereo PCM file at one of
// the accepted rates whose data fits in the input.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "encoding/WavReader.h"

using BrelkosPlayer::WavReader;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    WavReader reader(in);
    if (reader.ReadFormat() != WavReader::WavOk)
        return 0;
    if ((reader.Channels() != 1 && reader.Channels() != 2) || reader.BitsPerSample() != 16 ||
        !WavReader::IsAcceptedSampleRate(reader.SampleRate()))
        __builtin_trap();
    if (reader.FindData() != WavReader::WavOk)
        return 0;
    if (reader.DataSize() > size)
        __builtin_trap();
    int16_t block[2 * 64];
    size_t frames = 0;
    while (size_t got = reader.ReadFrames(block, 64)) {
        if (got > 64)
            __builtin_trap();
        frames += got;
    }
    if (frames * reader.Channels() * 2 != reader.DataRead() || reader.DataRead() > reader.DataSize() ||
        reader.ReadFailed())
        __builtin_trap();
    return 0;
}
