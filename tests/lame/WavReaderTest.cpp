#include <gtest/gtest.h>
#include <sstream>
#include <vector>

#include "encoding/WavReader.h"
#include "lame/TestWav.h"

using BrelkosPlayer::WavReader;
using encode_test::MakeWav;
using encode_test::WavShape;

namespace {

struct HeaderCase {
    const char* name;
    WavShape shape;
    WavReader::Status format; // ReadFormat's answer
    WavReader::Status data;   // FindData's answer, when the format passed
};

WavShape Shape(void (*edit)(WavShape&))
{
    WavShape shape;
    shape.frames = 1000;
    edit(shape);
    return shape;
}

// Runs both steps as the encoder does; the second only after the first passed.
std::pair<WavReader::Status, WavReader::Status> ReadHeader(const std::string& bytes)
{
    std::istringstream in(bytes);
    WavReader reader(in);
    WavReader::Status format = reader.ReadFormat();
    if (format != WavReader::WavOk)
        return {format, WavReader::WavOk};
    return {format, reader.FindData()};
}

} // namespace

TEST(WavReader, HeadersAreAcceptedOrRefusedByTheirFirstFault)
{
    using S = WavReader::Status;
    const std::vector<HeaderCase> cases = {
        {"plain 44.1 kHz stereo", Shape([](WavShape&) {}), S::WavOk, S::WavOk},
        {"mono 8 kHz", Shape([](WavShape& s) {
             s.channels = 1;
             s.sampleRate = 8000;
         }),
         S::WavOk, S::WavOk},
        {"11025 Hz", Shape([](WavShape& s) { s.sampleRate = 11025; }), S::WavOk, S::WavOk},
        {"12000 Hz", Shape([](WavShape& s) { s.sampleRate = 12000; }), S::WavOk, S::WavOk},
        {"18-byte format chunk", Shape([](WavShape& s) { s.formatSize = 18; }), S::WavOk, S::WavOk},
        {"fact and LIST before data", Shape([](WavShape& s) {
             s.extraChunks = {{"fact", 4}, {"LIST", 30}};
         }),
         S::WavOk, S::WavOk},
        {"empty data chunk", Shape([](WavShape& s) { s.frames = 0; }), S::WavOk, S::WavOk},
        {"LIST before fmt", Shape([](WavShape& s) { s.listFirst = true; }), S::WavInvalid, S::WavOk},
        {"float samples", Shape([](WavShape& s) {
             s.formatTag = 3;
             s.bitsPerSample = 32;
         }),
         S::WavNotPcm, S::WavOk},
        {"MP3 in WAV", Shape([](WavShape& s) {
             s.formatTag = 85;
             s.formatSize = 30;
         }),
         S::WavNotPcm, S::WavOk},
        {"96 kHz", Shape([](WavShape& s) { s.sampleRate = 96000; }), S::WavBadSampleRate, S::WavOk},
        {"44 kHz", Shape([](WavShape& s) { s.sampleRate = 44000; }), S::WavBadSampleRate, S::WavOk},
        {"8-bit samples", Shape([](WavShape& s) { s.bitsPerSample = 8; }), S::WavBadSampleWidth, S::WavOk},
        {"24-bit samples", Shape([](WavShape& s) { s.bitsPerSample = 24; }), S::WavBadSampleWidth, S::WavOk},
        {"six channels", Shape([](WavShape& s) { s.channels = 6; }), S::WavBadChannels, S::WavOk},
        {"no channel", Shape([](WavShape& s) { s.channels = 0; }), S::WavBadChannels, S::WavOk},
        {"format chunk under 16 bytes", Shape([](WavShape& s) { s.formatSize = 14; }), S::WavInvalid,
         S::WavOk},
        {"format chunk past the end", Shape([](WavShape& s) {
             s.formatSize = 40;
             s.frames = 0;
             s.noData = true;
             s.cutBytes = 10;
         }),
         S::WavInvalid, S::WavOk},
        {"no data chunk", Shape([](WavShape& s) { s.noData = true; }), S::WavOk, S::WavInvalid},
        {"no data chunk after a LIST", Shape([](WavShape& s) {
             s.noData = true;
             s.extraChunks = {{"LIST", 12}};
         }),
         S::WavOk, S::WavInvalid},
        {"chunk size past the end", Shape([](WavShape& s) {
             s.extraChunks = {{"LIST", 12}};
             s.noData = true;
             s.cutBytes = 4;
         }),
         S::WavOk, S::WavInvalid},
        {"data size past the end", Shape([](WavShape& s) { s.cutBytes = 100; }), S::WavOk, S::WavInvalid},
        {"data size of 0xFFFFFFFF", Shape([](WavShape& s) { s.dataSizeField = 0xFFFFFFFF; }), S::WavOk,
         S::WavInvalid},
        {"cut inside the data header", Shape([](WavShape& s) {
             s.frames = 0;
             s.cutBytes = 3;
         }),
         S::WavOk, S::WavInvalid},
        {"cut inside the format chunk", Shape([](WavShape& s) {
             s.frames = 0;
             s.cutBytes = 30;
         }),
         S::WavInvalid, S::WavOk},
    };
    for (const HeaderCase& c : cases) {
        auto result = ReadHeader(MakeWav(c.shape));
        EXPECT_EQ(result.first, c.format) << c.name;
        EXPECT_EQ(result.second, c.data) << c.name;
    }
}

TEST(WavReader, GarbageAndEmptyInputsEndInvalid)
{
    const std::vector<std::string> inputs = {
        "",
        "RIFF",
        std::string(12, '\0'),
        std::string(44, '\0'),
        std::string(1000, '\xFF'),
        "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0", // cut after the format chunk header
        // PCM fields and a data header, in a format chunk that claims 4 GB
        std::string("RIFF\x24\0\0\0WAVEfmt \xF0\xFF\xFF\xFF\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0"
                    "data\0\0\0\0",
                    44),
    };
    for (const std::string& bytes : inputs) {
        auto result = ReadHeader(bytes);
        EXPECT_EQ(result.first, WavReader::WavInvalid) << bytes.size() << " bytes";
    }
}

TEST(WavReader, ReportsTheFormatFields)
{
    WavShape shape;
    shape.sampleRate = 22050;
    shape.channels = 1;
    shape.formatSize = 18;
    shape.frames = 777;
    shape.extraChunks = {{"JUNK", 10}};
    std::istringstream in(MakeWav(shape));
    WavReader reader(in);
    ASSERT_EQ(reader.ReadFormat(), WavReader::WavOk);
    ASSERT_EQ(reader.FindData(), WavReader::WavOk);
    EXPECT_EQ(reader.SampleRate(), 22050u);
    EXPECT_EQ(reader.Channels(), 1u);
    EXPECT_EQ(reader.BitsPerSample(), 16u);
    EXPECT_EQ(reader.FormatSize(), 18u);
    EXPECT_EQ(reader.FirstChunkId(), "JUNK");
    EXPECT_EQ(reader.DataSize(), 777u * 2);
}

TEST(WavReader, FirstChunkIdKeepsOnlyPrintableBytes)
{
    WavShape shape;
    shape.frames = 10;
    shape.extraChunks = {{std::string("a\x01%s", 4), 2}};
    std::istringstream in(MakeWav(shape));
    WavReader reader(in);
    ASSERT_EQ(reader.ReadFormat(), WavReader::WavOk);
    ASSERT_EQ(reader.FindData(), WavReader::WavOk);
    EXPECT_EQ(reader.FirstChunkId(), "a?%s");
}

TEST(WavReader, ReadsWholeFramesAsTheFileHoldsThem)
{
    for (std::uint16_t channels : {1, 2}) {
        WavShape shape;
        shape.channels = channels;
        shape.frames = 1000;
        shape.extraDataBytes = 1; // a partial frame at the end is left out
        std::istringstream in(MakeWav(shape));
        WavReader reader(in);
        ASSERT_EQ(reader.ReadFormat(), WavReader::WavOk);
        ASSERT_EQ(reader.FindData(), WavReader::WavOk);
        std::vector<std::int16_t> block(300 * channels);
        size_t total = 0;
        while (size_t frames = reader.ReadFrames(block.data(), 300)) {
            for (size_t i = 0; i < frames; ++i)
                for (std::uint16_t c = 0; c < channels; ++c)
                    ASSERT_EQ(block[i * channels + c],
                              encode_test::ToneSample(total + i, c, shape.sampleRate))
                        << channels << " channels, frame " << total + i;
            total += frames;
        }
        EXPECT_EQ(total, 1000u);
        EXPECT_EQ(reader.DataRead(), 1000u * channels * 2);
        EXPECT_FALSE(reader.ReadFailed());
    }
}

// A stream that cannot tell its size: the walk is bounded by its reads, and a
// data chunk that ends early shows as a failed read.
TEST(WavReader, UnseekableStreamEndsAtItsLastByte)
{
    class Unseekable : public std::stringbuf {
    public:
        explicit Unseekable(const std::string& bytes) : std::stringbuf(bytes) {}

    protected:
        pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override { return -1; }
        pos_type seekpos(pos_type, std::ios_base::openmode) override { return -1; }
    };
    WavShape shape;
    shape.frames = 1000;
    shape.cutBytes = 400;
    Unseekable buffer(MakeWav(shape));
    std::istream in(&buffer);
    WavReader reader(in);
    ASSERT_EQ(reader.ReadFormat(), WavReader::WavOk);
    ASSERT_EQ(reader.FindData(), WavReader::WavOk);
    std::vector<std::int16_t> block(2 * 4096);
    size_t total = 0;
    while (size_t frames = reader.ReadFrames(block.data(), 4096))
        total += frames;
    EXPECT_EQ(total, 900u);
    EXPECT_TRUE(reader.ReadFailed());

    WavShape lost;
    lost.noData = true;
    lost.extraChunks = {{"LIST", 50}};
    lost.cutBytes = 10;
    Unseekable lostBuffer(MakeWav(lost));
    std::istream lostIn(&lostBuffer);
    WavReader lostReader(lostIn);
    ASSERT_EQ(lostReader.ReadFormat(), WavReader::WavOk);
    EXPECT_EQ(lostReader.FindData(), WavReader::WavInvalid);
}
