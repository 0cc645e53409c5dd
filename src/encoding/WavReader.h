// Reads a PCM WAV file: the RIFF header, the format chunk (which must come
// first), the walk to the "data" chunk and then whole frames of 16-bit
// samples. Every size in the file is checked against the bytes that are
// really there, so a damaged file ends in WavInvalid, never in a read past
// its end. Plain C++, no toolkit: the fuzz target drives it with any bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace BrelkosPlayer {

class WavReader {
public:
    enum Status {
        WavOk = 0,
        WavInvalid,        // no "fmt " first, a chunk past the end, no "data"
        WavNotPcm,         // format tag other than 1
        WavBadSampleRate,  // not one of the nine accepted rates
        WavBadSampleWidth, // not 16-bit samples
        WavBadChannels,    // neither mono nor stereo
    };

    explicit WavReader(std::istream& input);

    // The RIFF header (not compared) and the format chunk.
    Status ReadFormat();
    // The chunks after the format chunk, up to the start of "data".
    Status FindData();
    // Up to maxFrames whole frames (Channels() samples each, interleaved, host
    // order). Returns the frames read, 0 at the end of the data or when the
    // file ends early (then ReadFailed()).
    size_t ReadFrames(std::int16_t* samples, size_t maxFrames);

    std::uint16_t Channels() const { return m_channels; }
    std::uint32_t SampleRate() const { return m_sampleRate; }
    std::uint16_t BitsPerSample() const { return m_bitsPerSample; }
    std::uint32_t FormatSize() const { return m_formatSize; }
    // Id of the first chunk after the format chunk, non-printable bytes as
    // '?'; empty when the file ends before it.
    const std::string& FirstChunkId() const { return m_firstChunkId; }
    std::uint32_t DataSize() const { return m_dataSize; }
    std::uint32_t DataRead() const { return m_dataRead; }
    bool ReadFailed() const { return m_readFailed; }

    static bool IsAcceptedSampleRate(std::uint32_t rate);

private:
    bool _read(void* buffer, size_t size);
    bool _skip(std::uint32_t size);
    std::int64_t _remaining();

    std::istream& m_input;
    std::int64_t m_fileSize = -1;
    std::uint32_t m_formatSize = 0;
    std::uint16_t m_formatTag = 0;
    std::uint16_t m_channels = 0;
    std::uint32_t m_sampleRate = 0;
    std::uint16_t m_bitsPerSample = 0;
    std::string m_firstChunkId;
    std::uint32_t m_dataSize = 0;
    std::uint32_t m_dataRead = 0;
    bool m_formatRead = false;
    bool m_dataFound = false;
    bool m_readFailed = false;
};

} // namespace BrelkosPlayer
