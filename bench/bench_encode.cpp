// WAV to MP3 speed: a 60-second 44.1 kHz stereo WAV converted by our encoder
// thread with the default options and with VBR, and by the `lame` command
// line with the same settings on the same file, in the same run. Prints each
// time (best of a few runs), the real-time factor and our time over lame's
// (target: at most 1.1). Needs the `lame` program on PATH.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/init.h>

#include "encoding/EncodeObserver.h"
#include "encoding/EncoderThread.h"
#include "encoding/EncodingOptions.h"

using namespace BrelkosPlayer;

namespace {

const int kSeconds = 60;
const int kRate = 44100;
const int kRuns = 3;

class EndObserver : public EncodeObserver {
public:
    void EncodeProgress(int) override {}
    void EncodeMessage(const wxString& text) override
    {
        std::fprintf(stderr, "%s\n", text.utf8_str().data());
    }
    void EncodeFinished(int code) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_code = code;
        m_done = true;
        m_cv.notify_all();
    }
    int Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_done; });
        return m_code;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
    int m_code = -1;
};

// Music-like content: a few partials with a slow vibrato and some noise, so
// the psychoacoustic model has real work to do.
bool WriteTestWav(const std::string& path)
{
    const std::uint32_t frames = kSeconds * kRate;
    std::ofstream out(path, std::ios::binary);
    auto le32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    le32(36 + frames * 4);
    out.write("WAVEfmt ", 8);
    le32(16);
    le16(1);
    le16(2);
    le32(kRate);
    le32(kRate * 4);
    le16(4);
    le16(16);
    out.write("data", 4);
    le32(frames * 4);
    std::uint32_t noise = 12345;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double vibrato = 1.0 + 0.01 * std::sin(2 * M_PI * 5 * t);
        double left = 0;
        double right = 0;
        for (int k = 1; k <= 6; ++k) {
            left += std::sin(2 * M_PI * 220.0 * k * vibrato * t) / k;
            right += std::sin(2 * M_PI * 330.0 * k * vibrato * t + k) / k;
        }
        noise = noise * 1664525u + 1013904223u;
        const double n = (static_cast<double>(noise >> 8) / (1 << 24) - 0.5) * 0.1;
        le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * (left + n))));
        le16(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * (right - n))));
    }
    return static_cast<bool>(out);
}

double Ours(const EncodingOptions& options, const std::string& wav, const std::string& mp3)
{
    auto start = std::chrono::steady_clock::now();
    auto observer = std::make_shared<EndObserver>();
    auto* thread = new EncoderThread(&options, wav, mp3, observer);
    if (thread->Create() != wxTHREAD_NO_ERROR || thread->Run() != wxTHREAD_NO_ERROR)
        return -1;
    int code = observer->Wait();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return code == 0 ? seconds : -1;
}

double Lame(const std::string& arguments, const std::string& wav, const std::string& mp3)
{
    const std::string command = "lame --quiet --noreplaygain " + arguments + " '" + wav + "' '" + mp3 + "'";
    auto start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return status == 0 ? seconds : -1;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long FileSize(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

} // namespace

int main()
{
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 1;
    char folderTemplate[] = "/tmp/bench-encode-XXXXXX";
    if (!mkdtemp(folderTemplate))
        return 1;
    const std::string folder = folderTemplate;
    const std::string wav = folder + "/music.wav";
    if (!WriteTestWav(wav)) {
        std::fprintf(stderr, "cannot write %s\n", wav.c_str());
        return 1;
    }
    if (std::system("lame --version > /dev/null 2>&1") != 0) {
        std::fprintf(stderr, "the lame program is missing (scripts/setup-debian.sh installs it)\n");
        return 1;
    }

    // Default options: CBR 160 kbit/s, 22050 Hz, stereo, no bit reservoir, no
    // tag, not marked original, quality code 0 (LAME's -q 7).
    EncodingOptions defaults;
    // VBR: 64 to 256 kbit/s, quality list entry 5 (V3), 44100 Hz, joint stereo.
    EncodingOptions vbr;
    vbr.vbr = true;
    vbr.vbrMinBitrate = 64;
    vbr.vbrMaxBitrate = 256;
    vbr.targetSampleRate = 44100;
    vbr.mode = 1;
    struct Setting {
        const char* name;
        EncodingOptions options;
        const char* lameArguments;
    };
    const Setting settings[] = {
        {"default (CBR 160, 22.05 kHz)", defaults, "-b 160 --resample 22.05 -m s --nores -t -o -q 7"},
        {"VBR (64-256, V3, 44.1 kHz)", vbr, "-v -b 64 -B 256 -V 3 --resample 44.1 -m j --nores -t -o -q 7"},
    };

    std::printf("WAV: %d s, %d Hz stereo, %ld bytes; best of %d runs\n", kSeconds, kRate, FileSize(wav),
                kRuns);
    bool allMet = true;
    for (const Setting& s : settings) {
        const std::string ourMp3 = folder + "/ours.mp3";
        const std::string lameMp3 = folder + "/lame.mp3";
        double ours = 1e9;
        double lame = 1e9;
        for (int run = 0; run < kRuns; ++run) {
            double a = Ours(s.options, wav, ourMp3);
            double b = Lame(s.lameArguments, wav, lameMp3);
            if (a < 0 || b < 0) {
                std::fprintf(stderr, "%s: a conversion failed\n", s.name);
                return 1;
            }
            ours = std::min(ours, a);
            lame = std::min(lame, b);
        }
        const double ratio = ours / lame;
        allMet = allMet && ratio <= 1.1;
        // Same bytes from both sides show that the settings really are equivalent.
        const bool same = Contents(ourMp3) == Contents(lameMp3);
        std::printf("%-30s ours %6.3f s (%4.0fx real time)  lame %6.3f s (%4.0fx)  ratio %.3f %s\n", s.name,
                    ours, kSeconds / ours, lame, kSeconds / lame, ratio,
                    ratio <= 1.1 ? "(target <= 1.1 met)" : "(target <= 1.1 MISSED)");
        std::printf("%-30s MP3 %ld bytes, lame's %ld bytes, %s\n", "", FileSize(ourMp3), FileSize(lameMp3),
                    same ? "identical" : "different");
    }
    std::remove((folder + "/ours.mp3").c_str());
    std::remove((folder + "/lame.mp3").c_str());
    std::remove(wav.c_str());
    rmdir(folder.c_str());
    return allMet ? 0 : 2;
}
