#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "encoding/EncoderThread.h"
#include "lame/EncodeTestSupport.h"
#include "lame/TestMp3.h"
#include "lame/TestWav.h"

using namespace BrelkosPlayer;
using namespace encode_test;

namespace {

const char* const kInvalid = "Fichier WAV invalide";
const char* const kCompressed = "Impossible de compresser un WAV compressé";
const char* const kRate = "Sample Rate non supporté";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string WriteWav(const std::string& folder, const std::string& name, const WavShape& shape)
{
    std::string path = folder + "/" + name;
    EXPECT_TRUE(WriteBytes(path, MakeWav(shape)));
    return path;
}

void ExpectProgressClimbsTo100(const std::vector<int>& progress)
{
    ASSERT_FALSE(progress.empty());
    for (size_t i = 1; i < progress.size(); ++i)
        ASSERT_LT(progress[i - 1], progress[i]) << "progress is sent only when it changes, and only upwards";
    EXPECT_EQ(progress.back(), 100);
}

} // namespace

TEST(EncoderThread, BuildsTheConfigFromTheOptions)
{
    EncodingOptions options;
    BE_CONFIG config;
    EncoderThread::BuildConfig(options, 44100, config);
    const auto& c = config.format.LHV1;
    EXPECT_EQ(config.dwConfig, 256u);
    EXPECT_EQ(c.dwStructVersion, 1u);
    EXPECT_EQ(c.dwStructSize, 331u);
    EXPECT_EQ(c.dwSampleRate, 44100u);
    EXPECT_EQ(c.dwReSampleRate, 22050u);
    EXPECT_EQ(c.nMode, 0);
    EXPECT_EQ(c.dwBitrate, 160u);
    EXPECT_EQ(c.dwMaxBitrate, 0u);
    EXPECT_EQ(c.dwMpegVersion, 1u);
    EXPECT_EQ(c.bEnableVBR, 0);
    EXPECT_EQ(c.nVBRQuality, 0);
    EXPECT_EQ(c.bNoRes, 1);
    EXPECT_EQ(c.bStrictIso, 0);
    EXPECT_EQ(c.bWriteVBRHeader, 0);
    EXPECT_EQ(c.nQuality, 0);

    struct VbrCase {
        int index;
        int quality;
    };
    for (VbrCase v : {VbrCase{0, 8}, VbrCase{5, 3}, VbrCase{9, -1}}) {
        options.vbr = true;
        options.vbrMinBitrate = 96;
        options.vbrMaxBitrate = 256;
        options.vbrQuality = v.index;
        options.quality = 3;
        options.strictIso = true;
        options.mode = 3;
        options.targetSampleRate = 48000;
        EncoderThread::BuildConfig(options, 8000, config);
        EXPECT_EQ(c.bEnableVBR, 1);
        EXPECT_EQ(c.dwBitrate, 96u);
        EXPECT_EQ(c.dwMaxBitrate, 256u);
        EXPECT_EQ(c.nVBRQuality, v.quality) << "index " << v.index;
        EXPECT_EQ(c.nQuality, 3);
        EXPECT_EQ(c.bStrictIso, 1);
        EXPECT_EQ(c.nMode, 3);
        EXPECT_EQ(c.dwReSampleRate, 48000u);
        EXPECT_EQ(c.dwSampleRate, 8000u);
    }

    // These options stay in the dialog: the encoder never sees them.
    EncodingOptions plain;
    EncodingOptions extras;
    extras.strictVbrMin = extras.voiceMode = extras.keepAllFrequencies = true;
    extras.disableShortBlocks = extras.modeFixed = extras.xingTag = true;
    BE_CONFIG a;
    BE_CONFIG b;
    EncoderThread::BuildConfig(plain, 44100, a);
    EncoderThread::BuildConfig(extras, 44100, b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

// Each rate the options' lists offer is one LAME encodes as asked: every
// sample rate, and every bit rate at 48 kHz (MPEG-1) or at 24 kHz (MPEG-2).
TEST(EncoderThread, EveryListedRateIsOneLameUsesAsAsked)
{
    auto used = [](const EncodingOptions& options) {
        BE_CONFIG config;
        EncoderThread::BuildConfig(options, 44100, config);
        std::uint32_t samples = 0;
        std::uint32_t bufferSize = 0;
        HBE_STREAM stream = 0;
        BE_CONFIG effective{};
        EXPECT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), BE_ERR_SUCCESSFUL);
        EXPECT_EQ(beGetEffectiveConfig(stream, &effective), BE_ERR_SUCCESSFUL);
        beCloseStream(stream);
        return effective;
    };
    EncodingOptions options;
    for (int i = 0; i < EncodingOptions::kSampleRateCount; ++i) {
        options.targetSampleRate = EncodingOptions::SampleRateAt(i);
        EXPECT_EQ(used(options).format.LHV1.dwReSampleRate,
                  static_cast<std::uint32_t>(options.targetSampleRate));
    }
    for (int i = 0; i < EncodingOptions::kBitrateCount; ++i) {
        options.cbrBitrate = EncodingOptions::BitrateAt(i);
        const auto kbps = static_cast<std::uint32_t>(options.cbrBitrate);
        options.targetSampleRate = 48000;
        const std::uint32_t mpeg1 = used(options).format.LHV1.dwBitrate;
        options.targetSampleRate = 24000;
        const std::uint32_t mpeg2 = used(options).format.LHV1.dwBitrate;
        EXPECT_TRUE(mpeg1 == kbps || mpeg2 == kbps)
            << kbps << " kbit/s became " << mpeg1 << " (MPEG-1) and " << mpeg2 << " (MPEG-2)";
    }
}

TEST(EncoderThread, ConvertsWavFilesThatDecodeToTheirLength)
{
    struct Case {
        const char* name;
        WavShape wav;
        EncodingOptions options;
        int expectedBitrate;
    };
    auto shape = [](std::uint32_t rate, std::uint16_t channels, std::uint32_t frames) {
        WavShape s;
        s.sampleRate = rate;
        s.channels = channels;
        s.frames = frames;
        return s;
    };
    auto options = [](int target, int mode, int bitrate) {
        EncodingOptions o;
        o.targetSampleRate = target;
        o.mode = mode;
        o.cbrBitrate = bitrate;
        return o;
    };
    std::vector<Case> cases = {
        {"defaults, 44.1 kHz stereo, over 100 blocks", shape(44100, 2, 44100 * 3), EncodingOptions(), 160},
        {"8 kHz mono, stereo out", shape(8000, 1, 12000), options(16000, 0, 64), 64},
        {"11025 Hz mono to mono", shape(11025, 1, 11025), options(22050, 3, 32), 32},
        {"12 kHz stereo, joint", shape(12000, 2, 9000), options(24000, 1, 96), 96},
        {"16 kHz stereo, dual", shape(16000, 2, 16000), options(32000, 2, 128), 128},
        {"22050 Hz stereo to mono", shape(22050, 2, 22050), options(44100, 3, 192), 192},
        {"24 kHz mono", shape(24000, 1, 30000), options(48000, 0, 256), 256},
        {"32 kHz stereo", shape(32000, 2, 40000), options(44100, 1, 320), 320},
        {"48 kHz stereo", shape(48000, 2, 48000), options(48000, 0, 160), 160},
    };
    WavShape extras = shape(44100, 2, 30000);
    extras.formatSize = 18;
    extras.extraChunks = {{"fact", 4}, {"LIST", 40}};
    cases.push_back({"18-byte fmt, fact and LIST chunks", extras, options(44100, 0, 128), 128});
    WavShape shortBlock = shape(44100, 2, 1152 * 20 + 77);
    shortBlock.extraDataBytes = 3;
    cases.push_back({"short last block, odd data size", shortBlock, options(44100, 0, 128), 128});

    const std::string folder = TempFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string wav = WriteWav(folder, "in.wav", c.wav);
        const std::string mp3 = folder + "/out.mp3";
        Conversion run = Convert(c.options, wav, mp3);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.code, 0);
        EXPECT_TRUE(run.messages.empty());
        ExpectProgressClimbsTo100(run.progress);
        EXPECT_TRUE(Contains(run.log, "CBR - Bitrate : " + std::to_string(c.options.cbrBitrate) + "\n"));

        bool walkedAll = false;
        std::vector<Mp3Frame> frames = ScanMp3(ReadBytes(mp3), &walkedAll);
        EXPECT_TRUE(walkedAll);
        ASSERT_FALSE(frames.empty());
        for (const Mp3Frame& f : frames)
            ASSERT_EQ(f.bitrate, c.expectedBitrate);

        Decoded decoded = DecodeMp3(mp3, folder + "/decoded.wav");
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.sampleRate, c.options.targetSampleRate);
        EXPECT_EQ(decoded.channels, c.options.mode == 3 ? 1 : 2);
        const double input =
            static_cast<double>(c.wav.frames) * c.options.targetSampleRate / c.wav.sampleRate;
        EXPECT_NEAR(static_cast<double>(decoded.frames - kCodecDelay), input, frames.front().samples)
            << "decoded " << decoded.frames << " frames";
    }
}

TEST(EncoderThread, VbrFollowsItsBitratesAndLogsThem)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 88200;
    const std::string in = WriteWav(folder, "in.wav", wav);
    EncodingOptions options;
    options.vbr = true;
    options.vbrMinBitrate = 32;
    options.vbrMaxBitrate = 128;
    options.vbrQuality = 6;
    options.targetSampleRate = 44100;
    Conversion run = Convert(options, in, folder + "/out.mp3");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Contains(run.log, "VBR - Bitrates : Min : 32 - Max : 128\n"));
    std::vector<Mp3Frame> frames = ScanMp3(ReadBytes(folder + "/out.mp3"));
    ASSERT_FALSE(frames.empty());
    for (const Mp3Frame& f : frames)
        ASSERT_LE(f.bitrate, 128);
    Decoded decoded = DecodeMp3(folder + "/out.mp3", folder + "/decoded.wav");
    ASSERT_TRUE(decoded.ok);
    EXPECT_NEAR(static_cast<double>(decoded.frames - kCodecDelay), 88200.0, 1152.0);
}

TEST(EncoderThread, LogsWhatTheEncoderCouldNotDoAsAsked)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 4410;
    const std::string in = WriteWav(folder, "in.wav", wav);

    EncodingOptions defaults; // 22050 Hz: MPEG-2
    Conversion run = Convert(defaults, in, folder + "/a.mp3");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Contains(run.log, "EncoderThread :: Encode - MPEG-2 used: MPEG-1 has no 22050 Hz"));

    EncodingOptions tooFast;
    tooFast.cbrBitrate = 320;
    run = Convert(tooFast, in, folder + "/b.mp3");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Contains(run.log, "EncoderThread :: Encode - Bitrate 320 kbit/s not available at 22050 Hz, "
                                  "160 kbit/s used"));
    for (const Mp3Frame& f : ScanMp3(ReadBytes(folder + "/b.mp3")))
        ASSERT_EQ(f.bitrate, 160);

    EncodingOptions lastVbr;
    lastVbr.vbr = true;
    lastVbr.vbrQuality = 9;
    lastVbr.targetSampleRate = 44100;
    run = Convert(lastVbr, in, folder + "/c.mp3");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Contains(run.log, "EncoderThread :: Encode - VBR quality -1 out of range, 0 used"));
    EXPECT_FALSE(Contains(run.log, "MPEG-2 used"));
}

TEST(EncoderThread, LogsTheFirstChunkAfterTheFormat)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 2000;
    wav.extraChunks = {{"LIST", 20}, {"fact", 4}};
    Conversion run = Convert(EncodingOptions(), WriteWav(folder, "in.wav", wav), folder + "/out.mp3");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Contains(run.log, "ChunkID : LIST\n"));
    EXPECT_FALSE(Contains(run.log, "ChunkID : fact"));
    EXPECT_TRUE(Contains(run.log, "EncoderThread :: Execute - Begin\n"));
    EXPECT_TRUE(Contains(run.log, "EncoderThread :: Encode - End\n"));
}

TEST(EncoderThread, EmptyDataChunkGivesOnlyTheFlushedBytes)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 0;
    const std::string mp3 = folder + "/out.mp3";
    Conversion run = Convert(EncodingOptions(), WriteWav(folder, "in.wav", wav), mp3);
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.progress.empty());
    ASSERT_TRUE(FileExists(mp3));
    EXPECT_LE(ReadBytes(mp3).size(), 2000u);
}

TEST(EncoderThread, RefusedInputsGiveTheirMessageAndLeaveNoFile)
{
    struct Case {
        const char* name;
        WavShape wav;
        int code;
        const char* message;
    };
    auto with = [](void (*edit)(WavShape&)) {
        WavShape s;
        s.frames = 5000;
        edit(s);
        return s;
    };
    const std::vector<Case> cases = {
        {"LIST first", with([](WavShape& s) { s.listFirst = true; }), 3, kInvalid},
        {"empty file", with([](WavShape& s) { s.cutBytes = 1u << 30; }), 3, kInvalid},
        {"float", with([](WavShape& s) {
             s.formatTag = 3;
             s.bitsPerSample = 32;
         }),
         4, kCompressed},
        {"MP3 in WAV", with([](WavShape& s) {
             s.formatTag = 85;
             s.formatSize = 30;
         }),
         4, kCompressed},
        {"96 kHz", with([](WavShape& s) { s.sampleRate = 96000; }), 5, kRate},
        {"44 kHz", with([](WavShape& s) { s.sampleRate = 44000; }), 5, kRate},
        {"truncated data", with([](WavShape& s) { s.cutBytes = 1000; }), 3, kInvalid},
        {"ends before data", with([](WavShape& s) { s.noData = true; }), 3, kInvalid},
        {"chunk past the end", with([](WavShape& s) {
             s.noData = true;
             s.extraChunks = {{"LIST", 64}};
             s.cutBytes = 8;
         }),
         3, kInvalid},
        {"8-bit", with([](WavShape& s) { s.bitsPerSample = 8; }), 8, "Seuls les WAV 16 bits sont supportés"},
        {"24-bit", with([](WavShape& s) { s.bitsPerSample = 24; }), 8,
         "Seuls les WAV 16 bits sont supportés"},
        {"six channels", with([](WavShape& s) { s.channels = 6; }), 8,
         "Seuls les WAV mono ou stéréo sont supportés"},
    };
    const std::string folder = TempFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string mp3 = folder + "/out.mp3";
        Conversion run = Convert(EncodingOptions(), WriteWav(folder, "in.wav", c.wav), mp3);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.code, c.code);
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_EQ(run.messages[0], c.message);
        EXPECT_TRUE(Contains(run.log, std::string("ERROR : EncoderThread :: Encode - ") + c.message));
        EXPECT_FALSE(FileExists(mp3));
        EXPECT_TRUE(run.progress.empty());
    }
}

TEST(EncoderThread, MissingPathsAndFilesFailWithoutMessage)
{
    const std::string folder = TempFolder();
    Conversion run = Convert(EncodingOptions(), "", folder + "/out.mp3");
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.log, "ERROR : EncoderThread :: Encode - Void files names\n"));
    run = Convert(EncodingOptions(), folder + "/in.wav", "");
    EXPECT_EQ(run.code, 1);
    run = Convert(EncodingOptions(), folder + "/missing.wav", folder + "/out.mp3");
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_FALSE(FileExists(folder + "/out.mp3"));
}

// Typing the MP3's own path as the WAV path would truncate the input before
// reading it.
TEST(EncoderThread, RefusesToWriteOverItsInput)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 3000;
    const std::string path = WriteWav(folder, "song.mp3", wav);
    const std::string original = ReadBytes(path);
    ASSERT_EQ(symlink(path.c_str(), (folder + "/link.mp3").c_str()), 0);

    const std::string spellings[] = {path, folder + "/./song.mp3", folder + "/link.mp3"};
    for (const std::string& mp3 : spellings) {
        Conversion run = Convert(EncodingOptions(), path, mp3);
        EXPECT_EQ(run.code, EncoderThread::EncodeSameFile) << mp3;
        ASSERT_EQ(run.messages.size(), 1u) << mp3;
        EXPECT_EQ(run.messages[0], "Le fichier WAV et le fichier MP3 sont le même fichier");
        EXPECT_EQ(ReadBytes(path), original) << mp3;
    }
}

TEST(EncoderThread, OverwritesAnEarlierMp3)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 8000;
    const std::string mp3 = folder + "/out.mp3";
    ASSERT_TRUE(WriteBytes(mp3, std::string(100000, 'z')));
    Conversion run = Convert(EncodingOptions(), WriteWav(folder, "in.wav", wav), mp3);
    EXPECT_EQ(run.code, 0);
    bool walkedAll = false;
    EXPECT_FALSE(ScanMp3(ReadBytes(mp3), &walkedAll).empty());
    EXPECT_TRUE(walkedAll);
}

TEST(EncoderThread, Mp3ThatCannotBeCreatedIsReported)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 3000;
    const std::string mp3 = folder + "/no/such/folder/out.mp3";
    Conversion run = Convert(EncodingOptions(), WriteWav(folder, "in.wav", wav), mp3);
    EXPECT_EQ(run.code, EncoderThread::EncodeWriteFailed);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0], "Impossible de créer le fichier MP3");
    EXPECT_TRUE(Contains(run.log, "ERROR : EncoderThread :: Encode - Cannot create the MP3 file"));
    EXPECT_FALSE(Contains(run.log, "EncoderThread :: Encode - End"));
}

// A full disk: the file-size limit makes writes fail the same way. The
// partial MP3 goes; the conversion is not a success.
TEST(EncoderThread, FailedWriteRemovesThePartialMp3)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 44100 * 10;
    const std::string in = WriteWav(folder, "in.wav", wav);
    const std::string mp3 = folder + "/out.mp3";
    // Above the log file, which must stay writable, and well below the
    // ~200 kB this MP3 needs.
    const rlim_t limit = ReadLog().size() + 50000;

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct sigaction ignore = {};
    struct sigaction previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    struct rlimit limited = saved;
    limited.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    Conversion run = Convert(EncodingOptions(), in, mp3);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(run.code, EncoderThread::EncodeWriteFailed);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0], "Erreur d'écriture du fichier MP3");
    EXPECT_TRUE(Contains(run.log, "ERROR : EncoderThread :: Encode - Write to the MP3 file failed"));
    EXPECT_TRUE(Contains(run.log, "EncoderThread :: Encode - Unfinished MP3 file removed"));
    EXPECT_FALSE(FileExists(mp3));
}

// /dev/full fails every write; being a device, it must survive the clean-up.
TEST(EncoderThread, FailedWriteToADeviceLeavesTheDevice)
{
    struct stat before;
    if (stat("/dev/full", &before) != 0 || !S_ISCHR(before.st_mode))
        GTEST_SKIP() << "no /dev/full here";
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 44100;
    Conversion run = Convert(EncodingOptions(), WriteWav(folder, "in.wav", wav), "/dev/full");
    EXPECT_EQ(run.code, EncoderThread::EncodeWriteFailed);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0], "Erreur d'écriture du fichier MP3");
    struct stat after;
    ASSERT_EQ(stat("/dev/full", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
}

// The window's record may change while a conversion runs; the thread works
// from the settings it was started with.
TEST(EncoderThread, UsesTheOptionsAsTheyWereAtItsStart)
{
    const std::string folder = TempFolder();
    WavShape wav;
    wav.frames = 22050;
    const std::string in = WriteWav(folder, "in.wav", wav);
    const std::string mp3 = folder + "/out.mp3";
    EncodingOptions options;
    options.targetSampleRate = 44100;
    options.cbrBitrate = 96;
    auto observer = std::make_shared<RecordingObserver>();
    auto* thread = new EncoderThread(&options, wxString::FromUTF8(in), wxString::FromUTF8(mp3), observer);
    options.cbrBitrate = 320;
    options.targetSampleRate = 16000;
    ASSERT_EQ(thread->Create(), wxTHREAD_NO_ERROR);
    ASSERT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    ASSERT_TRUE(observer->WaitFinished(60000));
    EXPECT_EQ(observer->Code(), 0);
    std::vector<Mp3Frame> frames = ScanMp3(ReadBytes(mp3));
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front().bitrate, 96);
    EXPECT_EQ(frames.front().sampleRate, 44100);
}
