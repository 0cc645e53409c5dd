// The player on a real sound server: what it plays reaches the server, a
// stream that played stays connected a moment without a sound, and a server
// that goes away while a file plays is logged with the sound system's own
// reason while the program carries on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/slider.h>
#include <wx/tokenzr.h>

#include "desktop/Desktop.h"
#include "gui/FormMain.h"
#include "playback/PlayerThread.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

constexpr int kRate = 44100;
constexpr int kWindowMs = 50;
constexpr size_t kWindowSamples = kRate * kWindowMs / 1000;
// tone.wav peaks at 0.3 of full scale (RMS about 7000): far above the
// silence of an idle null sink, far below clipping.
constexpr double kLoud = 1000.0;

// A recording of what reaches a sink: parec on its monitor, mono 16 bit.
class Recording {
public:
    explicit Recording(const wxString& monitor) : m_path(TempFolder() + "/rec.raw")
    {
        m_pid =
            desktop::Run("parec --device=" + monitor + " --format=s16le --rate=44100 --channels=1 --raw " +
                         "--latency-msec=20 > '" + m_path + "' 2>/dev/null & echo $!");
    }
    ~Recording() { Stop(); }

    // True once samples arrive, so nothing played after this is missed.
    bool WaitUntilRecording()
    {
        return WaitFor([this] { return Bytes() > 0; }, 5000);
    }
    // Lets the recording run on for `ms` of audio beyond what it holds now,
    // then ends it.
    bool StopAfter(int ms)
    {
        const wxFileOffset target = Bytes() + 2 * kRate * ms / 1000;
        bool reached = WaitFor([&] { return Bytes() >= target; }, 5000);
        Stop();
        return reached;
    }
    void Stop()
    {
        if (!m_pid.empty())
            desktop::Run("kill " + m_pid);
        m_pid.clear();
    }

    // Milliseconds from the first to the last loud 50 ms window, and how many
    // windows in that span are loud.
    void LoudSpan(int* spanMs, int* loudMs) const
    {
        wxFFile file(m_path, "rb");
        std::vector<std::int16_t> samples(static_cast<size_t>(file.Length()) / 2);
        file.Read(samples.data(), samples.size() * 2);
        long first = -1, last = -1, loud = 0;
        for (size_t start = 0; start + kWindowSamples <= samples.size(); start += kWindowSamples) {
            double sum = 0;
            for (size_t i = start; i < start + kWindowSamples; ++i)
                sum += double(samples[i]) * samples[i];
            if (std::sqrt(sum / kWindowSamples) > kLoud) {
                long window = static_cast<long>(start / kWindowSamples);
                if (first < 0)
                    first = window;
                last = window;
                ++loud;
            }
        }
        *spanMs = first < 0 ? 0 : int(last - first + 1) * kWindowMs;
        *loudMs = int(loud) * kWindowMs;
    }

private:
    wxFileOffset Bytes() const { return wxFileExists(m_path) ? wxFileName::GetSize(m_path).ToULong() : 0; }

    wxString m_path;
    wxString m_pid;
};

// The log's lines that contain every one of the given texts.
wxArrayString LogLinesWith(const wxString& first, const wxString& second)
{
    wxArrayString found;
    for (const wxString& line : wxStringTokenize(ReadLog(), "\n"))
        if (line.Find(first) != wxNOT_FOUND && line.Find(second) != wxNOT_FOUND)
            found.Add(line);
    return found;
}

// A PulseAudio server of the test's own, with one null sink "lost", that this
// process's next sound outputs connect to. The desktop's server is shared by
// every test of the program; this one may be killed.
class PrivateServer {
public:
    PrivateServer() : m_folder(TempFolder())
    {
        const char* previous = std::getenv("PULSE_SERVER");
        m_hadPrevious = previous != nullptr;
        if (previous)
            m_previous = previous;
        const wxString env = "PULSE_RUNTIME_PATH='" + m_folder + "' PULSE_STATE_PATH='" + m_folder + "' ";
        m_pid = desktop::Run(env +
                             "pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no "
                             "--load='module-null-sink sink_name=lost' --load=module-native-protocol-unix "
                             "> '" +
                             m_folder + "/pulseaudio.log' 2>&1 & echo $!");
        setenv("PULSE_SERVER", Address().utf8_str(), 1);
    }
    ~PrivateServer()
    {
        Kill();
        if (m_hadPrevious)
            setenv("PULSE_SERVER", m_previous.c_str(), 1);
        else
            unsetenv("PULSE_SERVER");
    }

    wxString Address() const { return "unix:" + m_folder + "/native"; }
    bool WaitUntilReady()
    {
        return WaitFor(
            [this] {
                int status = -1;
                desktop::Run("pactl --server='" + Address() + "' info 2>/dev/null", &status);
                return status == 0;
            },
            10000);
    }
    void Kill()
    {
        if (!m_pid.empty())
            desktop::Run("kill -9 " + m_pid);
        m_pid.clear();
    }

private:
    wxString m_folder;
    wxString m_pid;
    bool m_hadPrevious = false;
    std::string m_previous;
};

class SoundServerTest : public testing::Test {
protected:
    void TearDown() override { CloseMainWindow(); }
};

TEST_F(SoundServerTest, AutodetectPlaysTheWholeFileIntoTheSoundServer)
{
    FormMain* form = CreateMainWindow();
    form->AddFile(DataFile("tone.wav"));
    Recording recording("test.monitor");
    ASSERT_TRUE(recording.WaitUntilRecording());

    form->SetFile(DataFile("tone.wav"), true, true);
    ASSERT_EQ(form->GetFileState(), Started);
    EXPECT_TRUE(
        WaitFor([form] { return !form->GetPlayer() && form->GetTitle() == "Brelko's Player"; }, 10000));
    ASSERT_TRUE(recording.StopAfter(300));

    EXPECT_NE(ReadLog().Find("FMOD is initialized with Output type : [Autodetect]"), wxNOT_FOUND);
    int spanMs = 0, loudMs = 0;
    recording.LoudSpan(&spanMs, &loudMs);
    // 2000 ms of tone; a window at either edge may be partly loud.
    EXPECT_NEAR(spanMs, 2000, 100);
    EXPECT_GE(loudMs, spanMs - kWindowMs);
}

// The server's view of this program's streams: how many, and how many of
// them are corked (can play nothing).
struct Streams {
    int connected = 0;
    int corked = 0;
};

Streams ServerStreams()
{
    Streams streams;
    for (const wxString& line : wxStringTokenize(desktop::Run("pactl list sink-inputs"), "\n")) {
        if (line.StartsWith("Sink Input #"))
            ++streams.connected;
        if (wxString(line).Trim(false) == "Corked: yes")
            ++streams.corked;
    }
    return streams;
}

// With no stream connected, a timer-driven sink such as the null sink wakes
// only every 2 s: a stream that goes away at once makes the next file wait
// for that. Stopped or ended, the stream stays a moment, silent, then goes.
TEST_F(SoundServerTest, AStreamThatPlayedStaysConnectedSilentAMomentThenGoes)
{
    struct Case {
        const char* how;
        bool stop;
        int corked;
    };
    for (const Case& test : {Case{"stopped midway", true, 1}, Case{"played to its end", false, 0}}) {
        SCOPED_TRACE(test.how);
        ASSERT_TRUE(WaitFor([] { return ServerStreams().connected == 0; }, 5000));
        FormMain* form = CreateMainWindow();
        form->AddFile(DataFile("tone.wav"));
        form->SetFile(DataFile("tone.wav"), true, true);
        ASSERT_TRUE(WaitFor([form] { return form->GetPositionSlider()->GetValue() > 30; }, 5000));
        if (test.stop)
            form->Stop();
        ASSERT_TRUE(WaitFor([form] { return !form->GetPlayer(); }, 5000));
        Streams left = ServerStreams();
        EXPECT_EQ(left.connected, 1);
        EXPECT_EQ(left.corked, test.corked);
        EXPECT_TRUE(WaitFor([] { return ServerStreams().connected == 0; }, 5000));
        CloseMainWindow();
    }
}

TEST_F(SoundServerTest, ALostSoundServerIsLoggedWithItsReasonAndTheNextFileStarts)
{
    PrivateServer server;
    ASSERT_TRUE(server.WaitUntilReady());
    const wxString victim = DataFile("tone.wav");
    const wxString next = DataFile("tone.ogg");
    FormMain* form = CreateMainWindow();
    form->AddFile(victim);
    form->AddFile(next);
    form->SetFile(victim, true, true);
    ASSERT_EQ(form->GetFileState(), Started);
    ASSERT_TRUE(WaitFor([form] { return form->GetPositionSlider()->GetValue() > 30; }, 5000));
    ASSERT_NE(ReadLog().Find("FMOD is initialized with Output type : [Autodetect]"), wxNOT_FOUND);

    server.Kill();
    EXPECT_TRUE(WaitFor(
        [&] {
            return form->GetCurrentFile() == next && form->GetFileState() == Started &&
                   form->GetPositionSlider()->GetValue() > 0;
        },
        10000));
    // One line with the output's own words for what went wrong.
    EXPECT_EQ(LogLinesWith("ERROR : AudioPlayerThread :: Execute - ", "pulsesink").GetCount(), 1u)
        << ReadLog();

    form->Stop();
    EXPECT_EQ(form->GetPlayer(), nullptr);
    EXPECT_EQ(form->GetPlayState(), Stopped);
}

} // namespace
