// WAV files made by the tests: a tone (440 Hz left, 660 Hz right) in any
// header layout, well-formed or damaged on purpose. Header-only so the GUI
// tests can make files too.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace encode_test {

struct WavShape {
    std::uint32_t sampleRate = 44100;
    std::uint16_t channels = 2;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t formatTag = 1;
    std::uint32_t formatSize = 16; // above 16: zero bytes follow the PCM fields
    std::uint32_t frames = 44100;
    std::vector<std::pair<std::string, std::uint32_t>> extraChunks; // id and body size, between fmt and data
    bool listFirst = false;                                         // a LIST chunk in front of "fmt "
    bool noData = false;                                            // no "data" chunk at all
    std::int64_t dataSizeField = -1;                                // overrides the data chunk's size field
    std::uint32_t extraDataBytes = 0; // bytes of the data chunk beyond whole frames
    std::size_t cutBytes = 0;         // bytes cut off the end of the file
};

inline void PutLe16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void PutLe32(std::string& out, std::uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

inline void PutChunk(std::string& out, const std::string& id, std::uint32_t size)
{
    out += id;
    PutLe32(out, size);
    out.append(size, 'x');
}

inline std::int16_t ToneSample(std::uint32_t frame, std::uint16_t channel, std::uint32_t rate)
{
    const double frequency = channel == 0 ? 440.0 : 660.0;
    return static_cast<std::int16_t>(10000.0 * std::sin(2.0 * M_PI * frequency * frame / rate));
}

inline std::string MakeWav(const WavShape& shape)
{
    const std::uint32_t bytesPerSample = shape.bitsPerSample / 8 ? shape.bitsPerSample / 8 : 1;
    std::string data;
    for (std::uint32_t f = 0; f < shape.frames; ++f)
        for (std::uint16_t c = 0; c < shape.channels; ++c) {
            std::int16_t s = ToneSample(f, c, shape.sampleRate);
            if (bytesPerSample == 2)
                PutLe16(data, static_cast<std::uint16_t>(s));
            else
                data.append(bytesPerSample, static_cast<char>(s >> 8));
        }
    data.append(shape.extraDataBytes, '\0');

    std::string body = "WAVE";
    if (shape.listFirst)
        PutChunk(body, "LIST", 26);
    body += "fmt ";
    PutLe32(body, shape.formatSize);
    PutLe16(body, shape.formatTag);
    PutLe16(body, shape.channels);
    PutLe32(body, shape.sampleRate);
    PutLe32(body, shape.sampleRate * shape.channels * bytesPerSample);
    PutLe16(body, shape.channels * bytesPerSample);
    PutLe16(body, shape.bitsPerSample);
    if (shape.formatSize > 16)
        body.append(shape.formatSize - 16, '\0');
    for (const auto& chunk : shape.extraChunks)
        PutChunk(body, chunk.first, chunk.second);
    if (!shape.noData) {
        body += "data";
        PutLe32(body, shape.dataSizeField >= 0 ? static_cast<std::uint32_t>(shape.dataSizeField)
                                               : static_cast<std::uint32_t>(data.size()));
        body += data;
    }
    std::string file = "RIFF";
    PutLe32(file, static_cast<std::uint32_t>(body.size()));
    file += body;
    file.resize(file.size() > shape.cutBytes ? file.size() - shape.cutBytes : 0);
    return file;
}

inline bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace encode_test
