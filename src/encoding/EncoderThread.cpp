#include "encoding/EncoderThread.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>
#include <wx/filename.h>

#include "encoding/EncodeObserver.h"
#include "encoding/WavReader.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

namespace {

// Closes the encoder stream on every way out of Encode.
struct StreamCloser {
    HBE_STREAM stream;
    ~StreamCloser() { beCloseStream(stream); }
};

// strerror's buffer is shared between threads; this text is our own.
std::string ErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

const char* VersionName(std::uint32_t version)
{
    return version == MPEG1 ? "1" : version == MPEG2 ? "2" : "2.5";
}

} // namespace

EncoderThread::EncoderThread(const EncodingOptions* options, const wxString& wavPath, const wxString& mp3Path,
                             std::shared_ptr<EncodeObserver> observer)
    : wxThread(wxTHREAD_DETACHED), m_wavPath(wavPath.wc_str()), m_mp3Path(mp3Path.wc_str()),
      m_observer(std::move(observer))
{
    // Copied from the characters, not the string: the two threads must not
    // share one string buffer.
    if (options)
        m_options = *options;
}

EncoderThread::~EncoderThread() = default;

wxThread::ExitCode EncoderThread::Entry()
{
    LogText("EncoderThread :: Execute - Begin");
    int code = Encode();
    if (m_observer)
        m_observer->EncodeFinished(code);
    LogText("EncoderThread :: Execute - End");
    return reinterpret_cast<ExitCode>(static_cast<wxIntPtr>(code));
}

void EncoderThread::BuildConfig(const EncodingOptions& options, std::uint32_t sampleRate, BE_CONFIG& config)
{
    std::memset(&config, 0, sizeof config);
    config.dwConfig = BE_CONFIG_LAME;
    auto& c = config.format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(BE_CONFIG);
    c.dwSampleRate = sampleRate;
    c.dwReSampleRate = static_cast<std::uint32_t>(options.targetSampleRate);
    c.nMode = options.mode;
    c.nPreset = 0;
    c.dwMpegVersion = MPEG1;
    c.bWriteVBRHeader = 0;
    if (options.vbr) {
        c.dwBitrate = static_cast<std::uint32_t>(options.vbrMinBitrate);
        c.dwMaxBitrate = static_cast<std::uint32_t>(options.vbrMaxBitrate);
        c.bEnableVBR = 1;
        c.nVBRQuality = 8 - options.vbrQuality;
    } else {
        c.dwBitrate = static_cast<std::uint32_t>(options.cbrBitrate);
    }
    c.bNoRes = 1;
    c.bStrictIso = options.strictIso ? 1 : 0;
    c.nQuality = static_cast<std::uint16_t>(options.quality & 0xFF);
}

bool EncoderThread::SameFile(const wxString& first, const wxString& second)
{
    wxFileName a(first);
    wxFileName b(second);
    a.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    b.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    if (a.GetFullPath() == b.GetFullPath())
        return true;
    // Links and other spellings of one file meet in its device and inode.
    struct stat sa;
    struct stat sb;
    return ::stat(first.fn_str(), &sa) == 0 && ::stat(second.fn_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void EncoderThread::_message(const wxString& text)
{
    LogText("ERROR : EncoderThread :: Encode - " + text);
    if (m_observer)
        m_observer->EncodeMessage(text);
}

void EncoderThread::_progress(std::uint32_t done, std::uint32_t total)
{
    if (total == 0)
        return;
    int percent = static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
    if (percent == m_lastProgress)
        return;
    m_lastProgress = percent;
    if (m_observer)
        m_observer->EncodeProgress(percent);
}

void EncoderThread::_logAdjustments(const BE_CONFIG& asked, const BE_CONFIG& used)
{
    const auto& a = asked.format.LHV1;
    const auto& u = used.format.LHV1;
    if (a.dwReSampleRate && a.dwReSampleRate != u.dwReSampleRate)
        LogMessage("EncoderThread :: Encode - Output sample rate %u Hz not available, %u Hz used",
                   static_cast<unsigned>(a.dwReSampleRate), static_cast<unsigned>(u.dwReSampleRate));
    if (a.dwMpegVersion != u.dwMpegVersion)
        LogMessage("EncoderThread :: Encode - MPEG-%s used: MPEG-%s has no %u Hz",
                   VersionName(u.dwMpegVersion), VersionName(a.dwMpegVersion),
                   static_cast<unsigned>(u.dwReSampleRate));
    const char* minName = a.bEnableVBR ? "VBR minimum bitrate" : "Bitrate";
    if (a.dwBitrate != u.dwBitrate)
        LogMessage("EncoderThread :: Encode - %s %u kbit/s not available at %u Hz, %u kbit/s used", minName,
                   static_cast<unsigned>(a.dwBitrate), static_cast<unsigned>(u.dwReSampleRate),
                   static_cast<unsigned>(u.dwBitrate));
    if (a.bEnableVBR && a.dwMaxBitrate != u.dwMaxBitrate)
        LogMessage(
            "EncoderThread :: Encode - VBR maximum bitrate %u kbit/s not available at %u Hz, %u kbit/s used",
            static_cast<unsigned>(a.dwMaxBitrate), static_cast<unsigned>(u.dwReSampleRate),
            static_cast<unsigned>(u.dwMaxBitrate));
    if (a.bEnableVBR && a.nVBRQuality != u.nVBRQuality)
        LogMessage("EncoderThread :: Encode - VBR quality %d out of range, %d used", a.nVBRQuality,
                   u.nVBRQuality);
    if (a.nMode != u.nMode)
        LogMessage("EncoderThread :: Encode - Mode %d not available, %d used", a.nMode, u.nMode);
}

std::FILE* EncoderThread::_createMp3()
{
    const std::string target(m_mp3Path.fn_str());
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A device or a pipe is written as it is: there is nothing to replace.
    if (exists && !S_ISREG(existing.st_mode))
        return std::fopen(target.c_str(), "wb");

    // Otherwise the MP3 is written beside the target and renamed over it once
    // complete: a conversion that fails or is stopped (a full disk, the
    // program closed) leaves an earlier file of that name as it was.
    int fd = m_replacement.Create(target);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        ::close(fd);
        m_replacement.Remove();
        errno = error;
    }
    return file;
}

bool EncoderThread::_finishMp3(std::FILE* mp3)
{
    if (!m_replacement.IsPending())
        return std::fclose(mp3) == 0;
    // On disk before it takes the old file's place.
    const bool synced = ::fsync(::fileno(mp3)) == 0;
    const int error = errno;
    if (std::fclose(mp3) != 0 || !synced) {
        if (!synced)
            errno = error;
        return false;
    }
    return m_replacement.Commit();
}

int EncoderThread::_fail(int code, const wxString& text, std::FILE* mp3)
{
    if (mp3)
        std::fclose(mp3);
    if (m_replacement.Remove())
        LogText("EncoderThread :: Encode - Unfinished MP3 file removed : " + m_mp3Path);
    if (!text.empty())
        _message(text);
    return code;
}

int EncoderThread::Encode()
{
    if (m_wavPath.empty() || m_mp3Path.empty()) {
        LogText("ERROR : EncoderThread :: Encode - Void files names");
        return EncodeVoidNames;
    }
    // Creating the MP3 would truncate the very file we read.
    if (SameFile(m_wavPath, m_mp3Path))
        return _fail(EncodeSameFile,
                     wxString::FromUTF8("Le fichier WAV et le fichier MP3 sont le même fichier"), nullptr);

    std::ifstream wav(static_cast<const char*>(m_wavPath.fn_str()), std::ios::binary);
    if (!wav.is_open())
        return EncodeCannotOpenWav;
    WavReader reader(wav);
    switch (reader.ReadFormat()) {
    case WavReader::WavOk: break;
    case WavReader::WavNotPcm:
        return _fail(EncodeCompressedWav, wxString::FromUTF8("Impossible de compresser un WAV compressé"),
                     nullptr);
    case WavReader::WavBadSampleRate:
        return _fail(EncodeBadSampleRate, wxString::FromUTF8("Sample Rate non supporté"), nullptr);
    case WavReader::WavBadSampleWidth:
        return _fail(EncodeUnsupportedSamples, wxString::FromUTF8("Seuls les WAV 16 bits sont supportés"),
                     nullptr);
    case WavReader::WavBadChannels:
        return _fail(EncodeUnsupportedSamples,
                     wxString::FromUTF8("Seuls les WAV mono ou stéréo sont supportés"), nullptr);
    default: return _fail(EncodeInvalidWav, "Fichier WAV invalide", nullptr);
    }

    BE_CONFIG config;
    BuildConfig(m_options, reader.SampleRate(), config);
    if (m_options.vbr)
        LogMessage("VBR - Bitrates : Min : %d - Max : %d", m_options.vbrMinBitrate, m_options.vbrMaxBitrate);
    else
        LogMessage("CBR - Bitrate : %d", m_options.cbrBitrate);

    WavReader::Status found = reader.FindData();
    if (!reader.FirstChunkId().empty())
        LogMessage("ChunkID : %s", reader.FirstChunkId().c_str());
    if (found != WavReader::WavOk)
        return _fail(EncodeInvalidWav, "Fichier WAV invalide", nullptr);

    std::uint32_t blockSamples = 0;
    std::uint32_t bufferSize = 0;
    HBE_STREAM stream = 0;
    if (beInitStream(&config, &blockSamples, &bufferSize, &stream) != BE_ERR_SUCCESSFUL)
        return _fail(EncodeInitFailed, "Erreur d'initialisation de Lame", nullptr);
    StreamCloser closer{stream};
    BE_CONFIG used;
    if (beGetEffectiveConfig(stream, &used) == BE_ERR_SUCCESSFUL)
        _logAdjustments(config, used);

    // The encoder takes one channel in mono mode and two otherwise; the file's
    // frames are mixed down or doubled to fit, so length and pitch survive.
    const size_t fileChannels = reader.Channels();
    const size_t encoderChannels = config.format.LHV1.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    if (fileChannels != encoderChannels)
        LogMessage("EncoderThread :: Encode - %s input encoded %s", fileChannels == 1 ? "Mono" : "Stereo",
                   encoderChannels == 1 ? "mixed down to mono" : "on both channels");
    const size_t blockFrames = blockSamples / encoderChannels;

    std::FILE* mp3 = _createMp3();
    if (!mp3) {
        LogMessage("ERROR : EncoderThread :: Encode - Cannot create the MP3 file: %s",
                   ErrorText(errno).c_str());
        return _fail(EncodeWriteFailed, wxString::FromUTF8("Impossible de créer le fichier MP3"), nullptr);
    }

    std::vector<std::uint8_t> output(bufferSize);
    std::vector<std::int16_t> samples(blockFrames *
                                      (fileChannels > encoderChannels ? fileChannels : encoderChannels));
    auto write = [&](std::uint32_t bytes) {
        if (bytes == 0 || std::fwrite(output.data(), 1, bytes, mp3) == bytes)
            return true;
        LogMessage("ERROR : EncoderThread :: Encode - Write to the MP3 file failed: %s",
                   ErrorText(errno).c_str());
        return false;
    };
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(fileChannels * 2);
    const std::uint32_t usable = reader.DataSize() / frameBytes * frameBytes;

    for (;;) {
        if (TestDestroy() || (m_observer && m_observer->StopRequested())) {
            LogText("EncoderThread :: Encode - Stopped");
            return _fail(EncodeCancelled, wxEmptyString, mp3);
        }
        size_t frames = reader.ReadFrames(samples.data(), blockFrames);
        if (frames == 0)
            break;
        if (fileChannels == 1 && encoderChannels == 2) {
            for (size_t i = frames; i-- > 0;)
                samples[2 * i] = samples[2 * i + 1] = samples[i];
        } else if (fileChannels == 2 && encoderChannels == 1) {
            for (size_t i = 0; i < frames; ++i)
                samples[i] = static_cast<std::int16_t>((samples[2 * i] + samples[2 * i + 1]) / 2);
        }
        _progress(reader.DataRead(), usable);
        std::uint32_t bytes = 0;
        if (beEncodeChunk(stream, static_cast<std::uint32_t>(frames * encoderChannels), samples.data(),
                          output.data(), &bytes) != BE_ERR_SUCCESSFUL)
            return _fail(EncodeChunkFailed, wxString::FromUTF8("Problème de compression"), mp3);
        if (!write(bytes))
            return _fail(EncodeWriteFailed, wxString::FromUTF8("Erreur d'écriture du fichier MP3"), mp3);
    }
    if (reader.ReadFailed())
        LogMessage("ERROR : EncoderThread :: Encode - WAV read stopped after %u of %u bytes",
                   static_cast<unsigned>(reader.DataRead()), static_cast<unsigned>(reader.DataSize()));

    std::uint32_t bytes = 0;
    if (beDeinitStream(stream, output.data(), &bytes) != BE_ERR_SUCCESSFUL)
        return _fail(EncodeChunkFailed, wxString::FromUTF8("Problème de compression"), mp3);
    if (!write(bytes))
        return _fail(EncodeWriteFailed, wxString::FromUTF8("Erreur d'écriture du fichier MP3"), mp3);
    // A full disk often shows only when the last buffer goes out.
    if (std::fflush(mp3) != 0) {
        LogMessage("ERROR : EncoderThread :: Encode - Write to the MP3 file failed: %s",
                   ErrorText(errno).c_str());
        return _fail(EncodeWriteFailed, wxString::FromUTF8("Erreur d'écriture du fichier MP3"), mp3);
    }
    if (!_finishMp3(mp3)) {
        LogMessage("ERROR : EncoderThread :: Encode - Closing the MP3 file failed: %s",
                   ErrorText(errno).c_str());
        return _fail(EncodeWriteFailed, wxString::FromUTF8("Erreur d'écriture du fichier MP3"), nullptr);
    }
    LogText("EncoderThread :: Encode - End");
    return EncodeOk;
}

} // namespace BrelkosPlayer
