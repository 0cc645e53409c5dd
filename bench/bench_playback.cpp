// Playback side by side: this player (the real program, its window shown),
// gst-launch's playbin and mpv --no-video play the same 60 s files (mp3, ogg,
// wav) into one private PulseAudio null sink that this benchmark starts. It
// prints the CPU of each process over seconds 10-50 of playback, and of our
// process per thread. Then, through the real main window in this process: how
// long a stop takes, and the gap from one file's natural end to the next
// file's first position advance.
// Run under X: scripts/test-env.sh ./bench_playback
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "gui/FormMain.h"
#include "playback/AudioPlayerThread.h"

using namespace BrelkosPlayer;
using Clock = std::chrono::steady_clock;

namespace {

const int kSeconds = 60;
// The measured window of playback: past start-up, before the end.
const int kFrom = 10;
const int kTo = 50;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Make(const std::string& path, const std::string& encoder, int seconds)
{
    std::string command = "gst-launch-1.0 -q audiotestsrc wave=sine freq=440 num-buffers=" +
                          std::to_string(seconds * 44100 / 1024) +
                          " samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! " +
                          encoder + " ! filesink location=\"" + path + "\"";
    return std::system(command.c_str()) == 0;
}

bool Have(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t Spawn(const std::vector<std::string>& args)
{
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

struct Stat {
    std::string name;
    long long ticks = -1; // user + system; -1 when unreadable
};

// One /proc/.../stat: the name in parentheses, then utime and stime (fields 14, 15).
Stat ReadStat(const std::string& path)
{
    Stat stat;
    std::ifstream file(path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::size_t open = text.find('('), close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos)
        return stat;
    stat.name = text.substr(open + 1, close - open - 1);
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stoll(field);
        if (i == 15)
            stime = std::stoll(field);
    }
    stat.ticks = utime + stime;
    return stat;
}

std::map<int, Stat> ReadThreads(pid_t pid)
{
    std::map<int, Stat> threads;
    std::string folder = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            int tid = std::atoi(entry->d_name);
            if (tid > 0)
                threads[tid] = ReadStat(folder + "/" + entry->d_name + "/stat");
        }
        closedir(dir);
    }
    return threads;
}

double Percent(long long ticks)
{
    return 100.0 * ticks / sysconf(_SC_CLK_TCK) / (kTo - kFrom);
}

struct Measure {
    bool ran = false;
    double percent = 0;
    std::vector<std::pair<std::string, double>> threads; // our process only
};

// Runs a player on one file and reads its CPU at kFrom and kTo seconds.
Measure Run(const std::vector<std::string>& args, bool perThread)
{
    Measure measure;
    pid_t pid = Spawn(args);
    const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
    auto start = Clock::now();
    std::this_thread::sleep_until(start + std::chrono::seconds(kFrom));
    Stat before = ReadStat(stat);
    std::map<int, Stat> threadsBefore = ReadThreads(pid);
    std::this_thread::sleep_until(start + std::chrono::seconds(kTo));
    Stat after = ReadStat(stat);
    std::map<int, Stat> threadsAfter = ReadThreads(pid);
    int status = 0;
    bool exited = waitpid(pid, &status, WNOHANG) == pid;
    if (!exited) {
        kill(pid, SIGTERM);
        waitpid(pid, &status, 0);
    }
    if (exited || before.ticks < 0 || after.ticks < 0)
        return measure;
    measure.ran = true;
    measure.percent = Percent(after.ticks - before.ticks);
    if (!perThread)
        return measure;
    // The main thread is the GUI's; a thread that kept the program's name is
    // a wx thread (the player's); GStreamer, PulseAudio and GLib name theirs.
    std::map<std::string, long long> byName;
    for (const auto& [tid, thread] : threadsAfter) {
        auto was = threadsBefore.find(tid);
        long long ticks = thread.ticks - (was != threadsBefore.end() ? was->second.ticks : 0);
        std::string name = tid == pid                  ? "GUI thread"
                           : thread.name == after.name ? "player thread"
                                                       : thread.name;
        byName[name] += ticks;
    }
    for (const auto& [name, ticks] : byName)
        measure.threads.emplace_back(name, Percent(ticks));
    std::sort(measure.threads.begin(), measure.threads.end(),
              [](const auto& a, const auto& b) { return a.second > b.second; });
    return measure;
}

// A private PulseAudio server whose only sink is a null sink: every player
// here finds it through XDG_RUNTIME_DIR.
pid_t StartSoundServer(const std::string& runtime)
{
    mkdir(runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    unsetenv("PULSE_SERVER");
    pid_t pid = Spawn({"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no",
                       "--disallow-exit", "--load=module-null-sink sink_name=bench",
                       "--load=module-native-protocol-unix"});
    for (int i = 0; i < 100; ++i) {
        if (std::system("pactl info >/dev/null 2>&1") == 0)
            return pid;
        wxMilliSleep(100);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return 0;
}

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        // Two main windows in turn: closing the first must not end the program.
        SetExitOnFrameDelete(false);
        CallAfter([this] { Main(); });
        return true;
    }

private:
    unsigned Position(FormMain* form)
    {
        auto* player = dynamic_cast<AudioPlayerThread*>(form->GetPlayer());
        return player ? player->GetPosition() : 0;
    }

    // Processes events until the predicate holds; returns the time it held.
    template <typename Predicate>
    Clock::time_point Until(Predicate predicate)
    {
        while (!predicate()) {
            Yield(true);
            wxMilliSleep(1);
        }
        return Clock::now();
    }

    // Runs the event loop for a while, as a player window does while it plays.
    void Idle(int ms)
    {
        wxGUIEventLoop loop;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { loop.Exit(); });
        timer.StartOnce(ms);
        loop.Run();
    }

    void SideBySide(const std::vector<std::pair<std::string, std::string>>& files)
    {
        const std::string self = std::string(wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                                 .GetPath(wxPATH_GET_VOLUME)
                                                 .utf8_str()) +
                                 "/BrelkosPlayer";
        const bool mpv = Have("mpv");
        if (!mpv)
            std::printf(
                "mpv is not installed: its column is left out (scripts/setup-debian.sh installs it)\n");
        std::printf("CPU in %% of a core over seconds %d-%d of playback, into one PulseAudio null sink\n",
                    kFrom, kTo);
        std::printf("%-6s %28s %20s %18s\n", "format", "BrelkosPlayer, window shown", "gst-launch playbin",
                    "mpv --no-video");
        std::fflush(stdout);
        std::vector<std::pair<std::string, Measure>> ours;
        for (const auto& [format, path] : files) {
            Measure player = Run({self, path}, true);
            Measure gst = Run({"gst-launch-1.0", "-q", "playbin", "uri=file://" + path,
                               "audio-sink=pulsesink", "video-sink=fakesink"},
                              false);
            Measure other;
            if (mpv)
                other =
                    Run({"mpv", "--no-config", "--no-video", "--really-quiet", "--ao=pulse", path}, false);
            auto cell = [](const Measure& m, bool present) {
                char text[32];
                std::snprintf(text, sizeof text, "%.2f %%", m.percent);
                return std::string(!present ? "absent" : m.ran ? text : "failed");
            };
            std::printf("%-6s %28s %20s %18s\n", format.c_str(), cell(player, true).c_str(),
                        cell(gst, true).c_str(), cell(other, mpv).c_str());
            std::fflush(stdout);
            ours.emplace_back(format, player);
        }
        std::printf("BrelkosPlayer per thread, %% of a core over the same seconds:\n");
        for (const auto& [format, measure] : ours) {
            std::printf("  %s:", format.c_str());
            for (const auto& [name, percent] : measure.threads) {
                if (percent > 0)
                    std::printf(" %s %.2f %%;", name.c_str(), percent);
            }
            std::printf("\n");
        }
        std::fflush(stdout);
    }

    // Through the real main window: stop and end-of-file hand-over.
    void Handover(const std::string& mp3, const std::string& ogg, const std::string& shortMp3,
                  const char* output)
    {
        std::printf("Through the main window in this process, %s:\n", output);
        auto* form = new FormMain(wxStandardPaths::Get().GetExecutablePath());
        form->Show(true);
        wxArrayString args;
        args.Add("bench");
        form->SecondInit(args);
        // Every file played counts until the list is played through: with
        // enough entries after the ogg, each of its ends moves on to the next.
        for (const std::string& f : {mp3, ogg})
            form->AddFile(wxString::FromUTF8(f.c_str()));
        for (int i = 0; i < 20; ++i)
            form->AddFile(wxString::FromUTF8(shortMp3.c_str()));

        std::vector<double> starts, stops, gaps;
        for (int i = 0; i < 5; ++i) {
            auto start = Clock::now();
            form->SetFile(wxString::FromUTF8(mp3.c_str()), true, true);
            auto advanced = Until([&] { return Position(form) > 0; });
            starts.push_back(Ms(advanced - start));
            Idle(300);
            auto stop = Clock::now();
            form->Stop();
            stops.push_back(Ms(Clock::now() - stop));
        }
        // The ogg ends by itself and the short mp3 after it starts: the gap
        // counts from the ogg's expected end.
        for (int i = 0; i < 5; ++i) {
            if (form->GetPlayer())
                form->Stop();
            form->SelectFile(wxString::FromUTF8(ogg.c_str()));
            form->SetFile(wxString::FromUTF8(ogg.c_str()), true, true);
            Until([&] { return Position(form) > 0; });
            form->GetPlayer()->SetPosition(0.97f);
            Until([&] { return Position(form) >= 58000; });
            unsigned position = Position(form);
            auto at = Clock::now();
            unsigned long serial = form->GetPlayer()->GetSerial();
            unsigned length = dynamic_cast<AudioPlayerThread*>(form->GetPlayer())->GetLength();
            auto expectedEnd = at + std::chrono::milliseconds(length - position);
            Until([&] {
                return form->GetPlayer() && form->GetPlayer()->GetSerial() != serial && Position(form) > 0;
            });
            gaps.push_back(Ms(Clock::now() - expectedEnd));
        }
        std::printf("  SetFile to first position advance: median %.1f ms, worst %.1f ms\n", Median(starts),
                    *std::max_element(starts.begin(), starts.end()));
        std::printf("  stop honoured (Stop returns, player thread joined): median %.1f ms, worst %.1f ms\n",
                    Median(stops), *std::max_element(stops.begin(), stops.end()));
        std::printf(
            "  gap from natural end to the next file's first advance: median %.1f ms, worst %.1f ms\n",
            Median(gaps), *std::max_element(gaps.begin(), gaps.end()));
        std::fflush(stdout);
        form->Close(true);
    }

    void Main()
    {
        wxString folder = wxFileName::CreateTempFileName("brelkos-bench");
        wxRemoveFile(folder);
        wxMkdir(folder);
        std::string dir(folder.utf8_str());

        std::vector<std::pair<std::string, std::string>> files = {
            {"mp3", dir + "/a.mp3"}, {"ogg", dir + "/b.ogg"}, {"wav", dir + "/c.wav"}};
        Make(files[0].second, "lamemp3enc ! id3v2mux", kSeconds);
        Make(files[1].second, "vorbisenc ! oggmux", kSeconds);
        Make(files[2].second, "wavenc", kSeconds);
        const std::string shortMp3 = dir + "/d.mp3";
        Make(shortMp3, "lamemp3enc", 3);

        std::printf("load before: %s", Load().c_str());
        // First with no sound server at all: Autodetect finds no device and
        // the player falls back to No sound, a real-time null output.
        setenv("XDG_RUNTIME_DIR", (dir + "/none").c_str(), 1);
        Handover(files[0].second, files[1].second, shortMp3, "no sound server (No sound)");
        pid_t server = StartSoundServer(dir + "/runtime");
        if (!server)
            std::printf("PulseAudio did not start: every player plays without a sound server\n");
        SideBySide(files);
        Handover(files[0].second, files[1].second, shortMp3, "into the PulseAudio null sink");
        std::printf("load after: %s", Load().c_str());

        if (server) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
        wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
        ExitMainLoop();
    }

    static std::string Load()
    {
        std::ifstream file("/proc/loadavg");
        std::string text;
        std::getline(file, text);
        return text + "\n";
    }
};

} // namespace

wxIMPLEMENT_APP(BenchApp);
