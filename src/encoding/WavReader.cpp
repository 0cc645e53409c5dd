#include "encoding/WavReader.h"

#include <cstring>

namespace BrelkosPlayer {

namespace {

std::uint16_t Le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string PrintableId(const unsigned char* id)
{
    std::string text;
    for (int i = 0; i < 4; ++i)
        text += id[i] >= 0x20 && id[i] < 0x7F ? static_cast<char>(id[i]) : '?';
    return text;
}

} // namespace

WavReader::WavReader(std::istream& input) : m_input(input)
{
    // The file size bounds every chunk; a stream that cannot tell it is
    // bounded by its reads instead.
    std::istream::pos_type start = m_input.tellg();
    if (start != std::istream::pos_type(-1) && m_input.seekg(0, std::ios::end)) {
        std::istream::pos_type end = m_input.tellg();
        if (end != std::istream::pos_type(-1))
            m_fileSize = static_cast<std::int64_t>(end);
        m_input.seekg(start);
    }
    m_input.clear();
}

bool WavReader::IsAcceptedSampleRate(std::uint32_t rate)
{
    static const std::uint32_t accepted[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    for (std::uint32_t r : accepted)
        if (r == rate)
            return true;
    return false;
}

bool WavReader::_read(void* buffer, size_t size)
{
    m_input.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    return static_cast<size_t>(m_input.gcount()) == size;
}

std::int64_t WavReader::_remaining()
{
    if (m_fileSize < 0)
        return -1;
    std::istream::pos_type pos = m_input.tellg();
    if (pos == std::istream::pos_type(-1))
        return 0;
    std::int64_t left = m_fileSize - static_cast<std::int64_t>(pos);
    return left < 0 ? 0 : left;
}

bool WavReader::_skip(std::uint32_t size)
{
    if (size == 0)
        return true;
    std::int64_t left = _remaining();
    if (left >= 0) {
        if (static_cast<std::int64_t>(size) > left)
            return false;
        return static_cast<bool>(m_input.seekg(static_cast<std::streamoff>(size), std::ios::cur));
    }
    m_input.ignore(static_cast<std::streamsize>(size));
    return static_cast<std::uint32_t>(m_input.gcount()) == size;
}

WavReader::Status WavReader::ReadFormat()
{
    m_formatRead = false;
    unsigned char riff[12];
    unsigned char format[24];
    if (!_read(riff, sizeof riff) || !_read(format, sizeof format))
        return WavInvalid;
    if (std::memcmp(format, "fmt ", 4) != 0)
        return WavInvalid;
    m_formatSize = Le32(format + 4);
    m_formatTag = Le16(format + 8);
    m_channels = Le16(format + 10);
    m_sampleRate = Le32(format + 12);
    m_bitsPerSample = Le16(format + 22);
    // A format chunk shorter than the PCM fields would have lent us bytes of
    // the next chunk; one longer than the file is damaged.
    if (m_formatSize < 16)
        return WavInvalid;
    std::int64_t left = _remaining();
    if (left >= 0 && static_cast<std::int64_t>(m_formatSize - 16) > left)
        return WavInvalid;
    if (m_formatTag != 1)
        return WavNotPcm;
    if (!IsAcceptedSampleRate(m_sampleRate))
        return WavBadSampleRate;
    if (m_bitsPerSample != 16)
        return WavBadSampleWidth;
    if (m_channels != 1 && m_channels != 2)
        return WavBadChannels;
    m_formatRead = true;
    return WavOk;
}

WavReader::Status WavReader::FindData()
{
    m_dataFound = false;
    m_firstChunkId.clear();
    if (!m_formatRead || !_skip(m_formatSize - 16))
        return WavInvalid;
    unsigned char header[8];
    if (!_read(header, sizeof header))
        return WavInvalid;
    m_firstChunkId = PrintableId(header);
    // Each turn consumes at least the 8-byte header, so the walk ends at the
    // end of the file whatever the sizes say.
    while (std::memcmp(header, "data", 4) != 0) {
        if (!_skip(Le32(header + 4)) || !_read(header, sizeof header))
            return WavInvalid;
    }
    m_dataSize = Le32(header + 4);
    std::int64_t left = _remaining();
    if (left >= 0 && static_cast<std::int64_t>(m_dataSize) > left)
        return WavInvalid;
    m_dataRead = 0;
    m_readFailed = false;
    m_dataFound = true;
    return WavOk;
}

size_t WavReader::ReadFrames(std::int16_t* samples, size_t maxFrames)
{
    if (!m_dataFound || m_readFailed || maxFrames == 0)
        return 0;
    const size_t frameBytes = static_cast<size_t>(m_channels) * 2;
    size_t available = (m_dataSize - m_dataRead) / frameBytes;
    size_t frames = maxFrames < available ? maxFrames : available;
    if (frames == 0)
        return 0;
    size_t bytes = frames * frameBytes;
    unsigned char* raw = reinterpret_cast<unsigned char*>(samples);
    m_input.read(reinterpret_cast<char*>(raw), static_cast<std::streamsize>(bytes));
    size_t got = static_cast<size_t>(m_input.gcount());
    if (got < bytes)
        m_readFailed = true;
    size_t gotFrames = got / frameBytes;
    m_dataRead += static_cast<std::uint32_t>(got);
    // Little-endian bytes to host samples, in place.
    for (size_t i = 0; i < gotFrames * m_channels; ++i)
        samples[i] = static_cast<std::int16_t>(Le16(raw + 2 * i));
    return gotFrames;
}

} // namespace BrelkosPlayer
