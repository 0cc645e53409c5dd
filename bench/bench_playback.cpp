// Playback through the real main window and players (window shown, position
// slider moving): CPU per second of audio next to gst-launch's playbin on the
// same file, time from SetFile to the first position advance, and the gap
// from one file's natural end to the next file's first advance.
// Run under X: scripts/test-env.sh ./bench_playback
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
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

double CpuSeconds(const rusage& usage)
{
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double SelfCpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

bool Make(const std::string& path, const std::string& encoder, int seconds)
{
    std::string command = "gst-launch-1.0 -q audiotestsrc wave=sine freq=440 num-buffers=" +
                          std::to_string(seconds * 44100 / 1024) +
                          " samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! " +
                          encoder + " ! filesink location=\"" + path + "\"";
    return std::system(command.c_str()) == 0;
}

double GstLaunchCpu(const std::string& path)
{
    pid_t pid = fork();
    if (pid == 0) {
        std::string uri = "uri=file://" + path;
        execlp("gst-launch-1.0", "gst-launch-1.0", "-q", "playbin", uri.c_str(),
               "audio-sink=fakesink sync=true", "video-sink=fakesink", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return CpuSeconds(usage);
}

// The real program playing the file: CPU seconds per second while it plays,
// read from /proc between 5 s and 45 s after its start.
double PlayerCpu(const std::string& player, const std::string& path)
{
    pid_t pid = fork();
    if (pid == 0) {
        freopen("/dev/null", "w", stdout);
        execl(player.c_str(), player.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    auto ticks = [pid] {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        long long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14)
                utime = std::stoll(field);
            if (i == 15)
                stime = std::stoll(field);
        }
        return utime + stime;
    };
    wxMilliSleep(5000);
    long long before = ticks();
    wxMilliSleep(40000);
    long long after = ticks();
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return (after - before) / static_cast<double>(sysconf(_SC_CLK_TCK)) / 40.0;
}

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        CallAfter([this] { Run(); });
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

    // Waits in a real event loop, looking every 50 ms, so that the waiting
    // itself costs what an idle player window costs.
    template <typename Predicate>
    Clock::time_point Idle(Predicate predicate)
    {
        wxGUIEventLoop loop;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (predicate())
                loop.Exit();
        });
        timer.Start(50);
        loop.Run();
        return Clock::now();
    }

    void Run()
    {
        wxString folder = wxFileName::CreateTempFileName("brelkos-bench");
        wxRemoveFile(folder);
        wxMkdir(folder);
        std::string dir(folder.utf8_str());
        const int seconds = 60;
        std::string files[] = {dir + "/a.mp3", dir + "/b.ogg", dir + "/c.mp3"};
        Make(files[0], "lamemp3enc ! id3v2mux", seconds);
        Make(files[1], "vorbisenc ! oggmux", seconds);
        Make(files[2], "lamemp3enc", 3);

        auto* form = new FormMain(wxStandardPaths::Get().GetExecutablePath());
        form->Show(true);
        wxArrayString args;
        args.Add("bench");
        form->SecondInit(args);
        for (const std::string& f : files)
            form->AddFile(wxString::FromUTF8(f.c_str()));

        for (int i = 0; i < 2; ++i) {
            wxString path = wxString::FromUTF8(files[i].c_str());
            if (i == 1) {
                form->Stop();
                form->SelectFile(path);
            }
            auto start = Clock::now();
            form->SetFile(path, true, true);
            unsigned long serial = form->GetPlayer() ? form->GetPlayer()->GetSerial() : 0;
            auto advanced = Until([&] { return Position(form) > 0; });
            double cpuBefore = SelfCpu();
            auto ended = Idle([&] { return !form->GetPlayer() || form->GetPlayer()->GetSerial() != serial; });
            double cpu = SelfCpu() - cpuBefore;
            double played = std::chrono::duration<double>(ended - advanced).count();
            std::printf("%s: SetFile to first position advance %.1f ms; in-process CPU with this bench's own "
                        "loop %.4f s "
                        "per second of audio (%.2f s CPU over %.1f s)\n",
                        i == 0 ? "mp3" : "ogg", Ms(advanced - start), cpu / played, cpu, played);
            std::fflush(stdout);
        }
        // The ogg ended by itself and the short mp3 after it started: measure
        // that gap from the expected end of the ogg.
        form->Stop();
        form->SelectFile(wxString::FromUTF8(files[1].c_str()));
        form->SetFile(wxString::FromUTF8(files[1].c_str()), true, true);
        Until([&] { return Position(form) > 0; });
        form->GetPlayer()->SetPosition(0.95f);
        Until([&] { return Position(form) >= 57000; });
        unsigned position = Position(form);
        auto at = Clock::now();
        unsigned long serial = form->GetPlayer()->GetSerial();
        unsigned length =
            form->GetPlayer() ? dynamic_cast<AudioPlayerThread*>(form->GetPlayer())->GetLength() : 0;
        auto expectedEnd = at + std::chrono::milliseconds(length - position);
        Until([&] {
            return form->GetPlayer() && form->GetPlayer()->GetSerial() != serial && Position(form) > 0;
        });
        std::printf("gap from natural end to the next file's first advance: %.1f ms\n",
                    Ms(Clock::now() - expectedEnd));

        form->Close(true);
        std::string player = std::string(wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                             .GetPath(wxPATH_GET_VOLUME)
                                             .utf8_str()) +
                             "/BrelkosPlayer";
        for (int i = 0; i < 2; ++i)
            std::printf("BrelkosPlayer playing the %s (window shown, slider moving): CPU %.4f s per second "
                        "of audio\n",
                        i == 0 ? "mp3" : "ogg", PlayerCpu(player, files[i]));
        for (int i = 0; i < 2; ++i) {
            double cpu = GstLaunchCpu(files[i]);
            std::printf("gst-launch-1.0 playbin (fakesink sync=true), %s: CPU %.4f s per second of audio\n",
                        i == 0 ? "mp3" : "ogg", cpu / seconds);
        }
        wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
    }
};

} // namespace

wxIMPLEMENT_APP(BenchApp);
