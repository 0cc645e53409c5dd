// Playback side by side: this player (the real program, its window shown,
// then hidden into the tray), gst-launch's playbin and mpv --no-video play the
// same 60 s files (mp3, ogg, wav) into one private PulseAudio null sink that
// this benchmark starts. It prints the CPU of each process over seconds 10-50
// of playback, and of our process per thread; for the hidden run the GUI
// thread's CPU (from /proc schedstat, nanoseconds) and how often it woke. Then,
// through the real main window in this process, per format: how long a stop
// takes, and the gap from one file's natural end to the next file's first
// position advance. Last, one table of it all.
// Run on a desktop (window manager and tray host, for the hidden run):
//   scripts/test-env.sh --desktop ./bench_playback
// BRELKOS_BENCH_HANDOVER_ONLY=1 leaves out the side-by-side runs (minutes).
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

// CPU time in nanoseconds of one thread (schedstat's first field) and its
// voluntary context switches: how often it went to sleep, i.e. was woken.
struct ThreadTime {
    long long ns = -1;
    long long sleeps = -1;
};

ThreadTime ReadThreadTime(pid_t pid, int tid)
{
    ThreadTime time;
    const std::string folder = "/proc/" + std::to_string(pid) + "/task/" + std::to_string(tid);
    std::ifstream schedstat(folder + "/schedstat");
    schedstat >> time.ns;
    std::ifstream status(folder + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            time.sleeps = std::atoll(line.c_str() + line.find(':') + 1);
    }
    return time;
}

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

bool TrayHostRuns()
{
    return !Shell("xdotool search --classname '^panel$' 2>/dev/null").empty();
}

// Minimises the player's main window through the window manager, as a user
// does, and waits until it is withdrawn into the tray. False if it never was.
bool HideIntoTray(pid_t pid)
{
    // --all: xdotool matches any one condition by default, and this process's
    // own main window (the hand-over runs) has the same name.
    const std::string find = "xdotool search --all --onlyvisible --pid " + std::to_string(pid) +
                             " --name \"^Brelko's Player\" 2>/dev/null | head -1";
    std::string window;
    for (int i = 0; i < 200 && window.empty(); ++i) {
        window = Shell(find);
        if (window.empty())
            wxMilliSleep(100);
    }
    if (window.empty()) {
        std::printf("  (no main window of process %d found)\n", static_cast<int>(pid));
        return false;
    }
    // Minimised together with the playlist window, as a user finds them: that
    // one is made on the main loop's first turn after the main window maps.
    const std::string count = "xdotool search --all --onlyvisible --pid " + std::to_string(pid) +
                              " --name . 2>/dev/null | wc -l";
    for (int i = 0; i < 100 && std::atoi(Shell(count).c_str()) < 2; ++i)
        wxMilliSleep(100);
    // The window manager may not manage it yet right after it is mapped.
    std::string state, wmState;
    for (int i = 0; i < 50; ++i) {
        Shell("xdotool windowminimize " + window + " 2>/dev/null");
        wxMilliSleep(200);
        state = Shell("xwininfo -id " + window + " | awk '/Map State:/{print $3}'");
        wmState = Shell("xprop -id " + window + " WM_STATE | grep 'window state'");
        if (state != "IsViewable" && wmState.find("Iconic") == std::string::npos)
            return true;
    }
    std::printf("  (window %s stays %s, %s)\n", window.c_str(), state.c_str(), wmState.c_str());
    return false;
}

double Percent(long long ticks)
{
    return 100.0 * ticks / sysconf(_SC_CLK_TCK) / (kTo - kFrom);
}

struct Measure {
    bool ran = false;
    double percent = 0;
    std::vector<std::pair<std::string, double>> threads; // our process only
    double guiPercent = -1;                              // GUI thread, from schedstat
    double guiWakeups = -1;                              // GUI thread wake-ups a second
};

// Runs a player on one file and reads its CPU at kFrom and kTo seconds; with
// hide, its window goes into the tray first.
Measure Run(const std::vector<std::string>& args, bool perThread, bool hide = false)
{
    Measure measure;
    pid_t pid = Spawn(args);
    const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
    auto start = Clock::now();
    if (hide && !HideIntoTray(pid)) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return measure;
    }
    std::this_thread::sleep_until(start + std::chrono::seconds(kFrom));
    Stat before = ReadStat(stat);
    std::map<int, Stat> threadsBefore = ReadThreads(pid);
    ThreadTime guiBefore = ReadThreadTime(pid, pid);
    std::this_thread::sleep_until(start + std::chrono::seconds(kTo));
    Stat after = ReadStat(stat);
    std::map<int, Stat> threadsAfter = ReadThreads(pid);
    ThreadTime guiAfter = ReadThreadTime(pid, pid);
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
    if (guiBefore.ns >= 0 && guiAfter.ns >= 0) {
        measure.guiPercent = 100.0 * (guiAfter.ns - guiBefore.ns) / 1e9 / (kTo - kFrom);
        measure.guiWakeups = static_cast<double>(guiAfter.sleeps - guiBefore.sleeps) / (kTo - kFrom);
    }
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

    struct Row {
        Measure shown, hidden, gst, mpv;
        bool hiddenTried = false, mpvTried = false;
        std::vector<double> stops, gaps, steadyGaps, quietStops, quietGaps, quietSteadyGaps;
    };
    using Files = std::vector<std::pair<std::string, std::string>>;

    static std::string Cell(const Measure& m, bool present)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f %%", m.percent);
        return !present ? "absent" : m.ran ? text : "failed";
    }

    void SideBySide(const Files& files, std::map<std::string, Row>& rows)
    {
        const std::string self = std::string(wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                                 .GetPath(wxPATH_GET_VOLUME)
                                                 .utf8_str()) +
                                 "/BrelkosPlayer";
        const bool mpv = Have("mpv");
        if (!mpv)
            std::printf(
                "mpv is not installed: its column is left out (scripts/setup-debian.sh installs it)\n");
        const bool tray = TrayHostRuns();
        if (!tray)
            std::printf(
                "no tray host: the hidden run is left out (run under scripts/test-env.sh --desktop)\n");
        std::printf("CPU in %% of a core over seconds %d-%d of playback, into one PulseAudio null sink\n",
                    kFrom, kTo);
        std::printf("%-6s %28s %20s %18s\n", "format", "BrelkosPlayer, window shown", "gst-launch playbin",
                    "mpv --no-video");
        std::fflush(stdout);
        for (const auto& [format, path] : files) {
            Row& row = rows[format];
            row.shown = Run({self, path}, true);
            row.gst = Run({"gst-launch-1.0", "-q", "playbin", "uri=file://" + path, "audio-sink=pulsesink",
                           "video-sink=fakesink"},
                          false);
            row.mpvTried = mpv;
            if (mpv)
                row.mpv =
                    Run({"mpv", "--no-config", "--no-video", "--really-quiet", "--ao=pulse", path}, false);
            std::printf("%-6s %28s %20s %18s\n", format.c_str(), Cell(row.shown, true).c_str(),
                        Cell(row.gst, true).c_str(), Cell(row.mpv, mpv).c_str());
            std::fflush(stdout);
        }
        if (tray) {
            std::printf("BrelkosPlayer hidden into the tray, over the same seconds:\n");
            for (const auto& [format, path] : files) {
                Row& row = rows[format];
                row.hiddenTried = true;
                row.hidden = Run({self, path}, true, true);
                if (!row.hidden.ran)
                    std::printf("  %s: the window could not be hidden into the tray\n", format.c_str());
                else
                    std::printf("  %s: process %.2f %%, GUI thread %.3f %% (woken %.1f times a second)\n",
                                format.c_str(), row.hidden.percent, row.hidden.guiPercent,
                                row.hidden.guiWakeups);
                std::fflush(stdout);
            }
        }
        std::printf("BrelkosPlayer per thread, %% of a core over the same seconds:\n");
        for (const auto& [format, path] : files) {
            for (const auto* measure : {&rows[format].shown, &rows[format].hidden}) {
                if (!measure->ran)
                    continue;
                std::printf("  %s, %s:", format.c_str(), measure == &rows[format].shown ? "shown" : "hidden");
                for (const auto& [name, percent] : measure->threads) {
                    if (percent > 0)
                        std::printf(" %s %.2f %%;", name.c_str(), percent);
                }
                std::printf(" GUI thread woken %.1f times a second\n", measure->guiWakeups);
            }
        }
        std::fflush(stdout);
    }

    // Through the real main window: stop and end-of-file hand-over, per format.
    void Handover(const Files& files, const std::string& shortMp3, const char* output,
                  std::map<std::string, Row>& rows, bool quiet)
    {
        std::printf("Through the main window in this process, %s:\n", output);
        auto* form = new FormMain(wxStandardPaths::Get().GetExecutablePath());
        form->Show(true);
        wxArrayString args;
        args.Add("bench");
        form->SecondInit(args);
        // Every file played counts until the list is played through: with
        // enough entries, each end moves on to the next.
        for (const auto& [format, path] : files)
            form->AddFile(wxString::FromUTF8(path.c_str()));
        for (int i = 0; i < 80; ++i)
            form->AddFile(wxString::FromUTF8(shortMp3.c_str()));

        std::vector<double> starts;
        for (const auto& [format, path] : files) {
            Row& row = rows[format];
            std::vector<double>& stops = quiet ? row.quietStops : row.stops;
            std::vector<double>& gaps = quiet ? row.quietGaps : row.gaps;
            std::vector<double>& steadyGaps = quiet ? row.quietSteadyGaps : row.steadyGaps;
            const wxString file = wxString::FromUTF8(path.c_str());
            for (int i = 0; i < 5; ++i) {
                auto start = Clock::now();
                form->SetFile(file, true, true);
                auto advanced = Until([&] { return Position(form) > 0; });
                starts.push_back(Ms(advanced - start));
                Idle(300);
                auto stop = Clock::now();
                form->Stop();
                stops.push_back(Ms(Clock::now() - stop));
            }
            // The file ends by itself and the next entry starts: the gap
            // counts from the file's expected end.
            for (int i = 0; i < 5; ++i) {
                if (form->GetPlayer())
                    form->Stop();
                form->SelectFile(file);
                form->SetFile(file, true, true);
                Until([&] { return Position(form) > 0; });
                unsigned length = dynamic_cast<AudioPlayerThread*>(form->GetPlayer())->GetLength();
                const unsigned target = length - 1800;
                form->GetPlayer()->SetPosition(static_cast<float>(target) / length);
                // The end is foretold from a position that has moved on from
                // the seek's target: a sink may hold the first samples back
                // (a sound server's null sink wakes every 2 s with no other
                // stream), and that is the start's delay, not the end's.
                Until([&] { return Position(form) >= target + 300; });
                unsigned position = Position(form);
                auto at = Clock::now();
                unsigned long serial = form->GetPlayer()->GetSerial();
                auto expectedEnd = at + std::chrono::milliseconds(length - position);
                auto next = [&] { return form->GetPlayer() && form->GetPlayer()->GetSerial() != serial; };
                Until([&] { return next() && Position(form) > 0; });
                gaps.push_back(Ms(Clock::now() - expectedEnd));
                // Where the next file would be, had it started at its first
                // advance and played on in real time.
                Until([&] { return !next() || Position(form) >= 300; });
                if (next())
                    steadyGaps.push_back(Ms(Clock::now() - expectedEnd) - Position(form));
            }
            std::printf("  %s: stop honoured (Stop returns, player thread joined): median %.1f ms, worst "
                        "%.1f ms; gap from natural end to the next file's first advance: median %.1f ms, "
                        "worst %.1f ms; counted from where its position says it started: median %.1f ms\n",
                        format.c_str(), Median(stops), *std::max_element(stops.begin(), stops.end()),
                        Median(gaps), *std::max_element(gaps.begin(), gaps.end()), Median(steadyGaps));
            std::fflush(stdout);
        }
        std::printf("  SetFile to first position advance: median %.1f ms, worst %.1f ms\n", Median(starts),
                    *std::max_element(starts.begin(), starts.end()));
        std::fflush(stdout);
        form->Stop();
        form->Close(true);
    }

    static void Table(const Files& files, std::map<std::string, Row>& rows)
    {
        std::printf(
            "\nSummary: CPU in %% of a core over seconds %d-%d, into the PulseAudio null sink; stop and "
            "end-of-file gap (to the next file's first advance; steady: to where its position says it "
            "started) as medians in ms, PulseAudio / No sound\n",
            kFrom, kTo);
        std::printf("%-6s %12s %16s %12s %10s %12s %16s %16s\n", "format", "ours shown", "ours hidden GUI",
                    "gst-launch", "mpv", "stop ms", "end gap ms", "steady gap ms");
        for (const auto& [format, path] : files) {
            Row& row = rows[format];
            char hidden[32] = "absent";
            if (row.hiddenTried)
                std::snprintf(hidden, sizeof hidden, row.hidden.ran ? "%.3f %%" : "failed",
                              row.hidden.guiPercent);
            char stop[40], gap[40], steady[40];
            std::snprintf(stop, sizeof stop, "%.1f / %.1f", Median(row.stops), Median(row.quietStops));
            std::snprintf(gap, sizeof gap, "%.1f / %.1f", Median(row.gaps), Median(row.quietGaps));
            std::snprintf(steady, sizeof steady, "%.1f / %.1f", Median(row.steadyGaps),
                          Median(row.quietSteadyGaps));
            std::printf("%-6s %12s %16s %12s %10s %12s %16s %16s\n", format.c_str(),
                        Cell(row.shown, true).c_str(), hidden, Cell(row.gst, true).c_str(),
                        Cell(row.mpv, row.mpvTried).c_str(), stop, gap, steady);
        }
        std::fflush(stdout);
    }

    void Main()
    {
        wxString folder = wxFileName::CreateTempFileName("brelkos-bench");
        wxRemoveFile(folder);
        wxMkdir(folder);
        std::string dir(folder.utf8_str());

        Files files = {{"mp3", dir + "/a.mp3"}, {"ogg", dir + "/b.ogg"}, {"wav", dir + "/c.wav"}};
        // Constant bit rate: with lamemp3enc's default variable rate and no
        // seek table, a seek lands by an estimate and the position after it is
        // off by up to hundreds of ms, which the end-of-file gap would count.
        const std::string mp3 = "lamemp3enc target=bitrate cbr=true bitrate=128";
        Make(files[0].second, mp3 + " ! id3v2mux", kSeconds);
        Make(files[1].second, "vorbisenc ! oggmux", kSeconds);
        Make(files[2].second, "wavenc", kSeconds);
        const std::string shortMp3 = dir + "/d.mp3";
        Make(shortMp3, mp3, 3);

        std::map<std::string, Row> rows;
        std::printf("load before: %s", Load().c_str());
        // First with no sound server at all: Autodetect finds no device and
        // the player falls back to No sound, a real-time null output.
        setenv("XDG_RUNTIME_DIR", (dir + "/none").c_str(), 1);
        unsetenv("PULSE_SERVER");
        Handover(files, shortMp3, "no sound server (No sound)", rows, true);
        pid_t pulse = StartSoundServer(dir + "/runtime");
        if (!pulse)
            std::printf("PulseAudio did not start: every player plays without a sound server\n");
        if (std::getenv("BRELKOS_BENCH_HANDOVER_ONLY") == nullptr)
            SideBySide(files, rows);
        Handover(files, shortMp3, "into the PulseAudio null sink", rows, false);
        std::printf("load after: %s", Load().c_str());
        Table(files, rows);

        if (pulse) {
            kill(pulse, SIGTERM);
            waitpid(pulse, nullptr, 0);
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
