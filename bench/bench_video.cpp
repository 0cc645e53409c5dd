// Video playback cost: makes a 30-second 640x360 clip with gst-launch, plays
// it through the player's own path (FormMain::SetFile, as a double-click in
// the playlist does) and reports
//  - the time from SetFile to the loaded and play notifications and to the
//    first frame on the screen (cold, then warm runs),
//  - the whole process's CPU while the clip plays to its end,
//  - the same CPU figure for `gst-launch-1.0 playbin` on the same file.
// The CPU figures are taken while the event loop runs as in the program, with
// nothing of the benchmark's own polling. Run under X with the test
// environment: scripts/test-env.sh ./bench_video
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/mediactrl.h>
#include <wx/stdpaths.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include "gui/BrelkoCtrl.h"
#include "gui/FormMain.h"
#include "gui/FormVideo.h"
#include "gui/VideoPlayer.h"

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace BrelkosPlayer;

namespace {

const int kSeconds = 30;
const int kWarmRuns = 5;

double s_deadline = 0;

double NowMs()
{
    timeval now;
    gettimeofday(&now, nullptr);
    return now.tv_sec * 1000.0 + now.tv_usec / 1000.0;
}

double CpuMs(const rusage& usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

double SelfCpuMs()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return CpuMs(usage);
}

// Runs a command to its end; returns its exit status and, through the
// pointers, its wall time and CPU time.
int Run(const std::vector<std::string>& args, double* wallMs = nullptr, double* cpuMs = nullptr)
{
    double start = NowMs();
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (wallMs)
        *wallMs = NowMs() - start;
    if (cpuMs)
        *cpuMs = CpuMs(usage);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Wait(const std::function<bool()>& predicate, int timeoutMs)
{
    double deadline = NowMs() + timeoutMs;
    while (!predicate()) {
        if (NowMs() > deadline)
            return false;
        wxTheApp->Yield(true);
        wxMilliSleep(1);
    }
    return true;
}

// The video window's player has played its video to the end.
bool VideoEnded(FormMain* main)
{
    FormVideo* video = main->GetVideoWindow();
    VideoPlayer* player = video ? video->GetPlayer() : nullptr;
    return player && player->HasEnded();
}

// The test pattern's colour bars: the first frame is bright all over. The
// pixels are read from the X server as another program would: GTK's own view
// of the screen in this process misses what the video sink paints.
bool FrameOnScreen(FormMain* main, Display* display)
{
    FormVideo* video = main->GetVideoWindow();
    BrelkoCtrl* ctrl = main->GetVideoCtrl();
    if (!video || !video->IsShown() || !ctrl)
        return false;
    wxRect rect = ctrl->GetScreenRect();
    wxRect probe(rect.x + rect.width / 2 - 8, rect.y + rect.height / 4, 16, 16);
    probe.Intersect(wxRect(wxGetDisplaySize()));
    if (probe.IsEmpty())
        return false;
    XImage* image = XGetImage(display, DefaultRootWindow(display), probe.x, probe.y, probe.width,
                              probe.height, AllPlanes, ZPixmap);
    if (!image)
        return false;
    long sum = 0;
    for (int y = 0; y < probe.height; ++y)
        for (int x = 0; x < probe.width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            sum += ((pixel >> 16) & 0xff) + ((pixel >> 8) & 0xff) + (pixel & 0xff);
        }
    XDestroyImage(image);
    return sum / (probe.width * probe.height) > 150;
}

// Runs the event loop as the program does (no polling of ours) until
// stopped or until the time is up.
void RunLoop(int timeoutMs, const std::function<bool()>& done)
{
    wxGUIEventLoop loop;
    wxTimer check;
    check.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (done() || NowMs() > s_deadline)
            loop.Exit();
    });
    s_deadline = NowMs() + timeoutMs;
    check.Start(100);
    loop.Run();
}

struct StartTimes {
    double loaded = -1;
    double playing = -1;
    double frame = -1;
};

StartTimes StartClip(FormMain* main, const wxString& path, Display* display)
{
    StartTimes times;
    if (main->GetPlayer())
        main->Stop();
    // Stopped and off the screen first, so that this run's state and frame are seen.
    BrelkoCtrl* ctrl = main->GetVideoCtrl();
    Wait([=] { return ctrl->GetState() == wxMEDIASTATE_STOPPED && !FrameOnScreen(main, display); }, 2000);
    double start = NowMs();
    bool loaded = false;
    auto onLoaded = [&loaded](wxMediaEvent& event) {
        loaded = true;
        event.Skip();
    };
    ctrl->Bind(wxEVT_MEDIA_LOADED, onLoaded);
    main->SetFile(path, true, true);
    Wait(
        [&] {
            double now = NowMs() - start;
            if (loaded && times.loaded < 0)
                times.loaded = now;
            if (times.playing < 0 && ctrl->GetState() == wxMEDIASTATE_PLAYING)
                times.playing = now;
            if (times.frame < 0 && FrameOnScreen(main, display))
                times.frame = now;
            return times.frame >= 0 && times.playing >= 0;
        },
        10000);
    ctrl->Unbind(wxEVT_MEDIA_LOADED, onLoaded);
    return times;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
    int OnRun() override
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        return Bench();
    }

private:
    int Bench()
    {
        wxString folder = wxFileName::CreateTempFileName("brelkos-bench");
        wxRemoveFile(folder);
        wxFileName::Mkdir(folder, 0700);
        std::string clip = std::string(folder.utf8_str()) + "/bench.mp4";

        std::printf("Making a %d s 640x360 H.264/MP3 clip...\n", kSeconds);
        std::string frames = std::to_string(kSeconds * 25);
        std::string buffers = std::to_string(kSeconds * 25);
        int made = Run({"gst-launch-1.0",
                        "-q",
                        "mp4mux",
                        "name=m",
                        "!",
                        "filesink",
                        "location=" + clip,
                        "videotestsrc",
                        "num-buffers=" + frames,
                        "pattern=smpte",
                        "horizontal-speed=4",
                        "!",
                        "video/x-raw,width=640,height=360,framerate=25/1",
                        "!",
                        "videoconvert",
                        "!",
                        "x264enc",
                        "bitrate=1200",
                        "speed-preset=faster",
                        "key-int-max=50",
                        "!",
                        "h264parse",
                        "!",
                        "m.",
                        "audiotestsrc",
                        "num-buffers=" + buffers,
                        "samplesperbuffer=1764",
                        "!",
                        "audio/x-raw,rate=44100,channels=2",
                        "!",
                        "lamemp3enc",
                        "bitrate=128",
                        "!",
                        "mpegaudioparse",
                        "!",
                        "m."});
        if (made != 0 || !wxFileName::FileExists(clip)) {
            std::printf("could not make the clip (gst-launch-1.0 exit %d)\n", made);
            return 1;
        }

        wxString executable = wxStandardPaths::Get().GetExecutablePath();
        auto* main = new FormMain(executable);
        main->Show(true);
        wxArrayString args;
        args.Add(executable);
        main->SecondInit(args);
        main->AddFile(wxString::FromUTF8(clip.c_str()));
        Wait([] { return false; }, 300);

        // Idle first: what the program costs with nothing playing.
        double idleStart = NowMs();
        double idleCpu = SelfCpuMs();
        RunLoop(3000, [] { return false; });
        double idlePercent = 100.0 * (SelfCpuMs() - idleCpu) / (NowMs() - idleStart);

        Display* display = XOpenDisplay(nullptr);
        if (!display) {
            std::printf("no X display\n");
            return 1;
        }
        StartTimes cold = StartClip(main, wxString::FromUTF8(clip.c_str()), display);
        std::vector<double> loaded, playing, frame;
        for (int i = 0; i < kWarmRuns; ++i) {
            StartTimes warm = StartClip(main, wxString::FromUTF8(clip.c_str()), display);
            loaded.push_back(warm.loaded);
            playing.push_back(warm.playing);
            frame.push_back(warm.frame);
        }

        // The whole clip, from the double-click to its end.
        if (main->GetPlayer())
            main->Stop();
        Wait([main] { return main->GetVideoCtrl()->GetState() == wxMEDIASTATE_STOPPED; }, 2000);
        XCloseDisplay(display);
        double playStart = NowMs();
        double playCpu = SelfCpuMs();
        main->SetFile(wxString::FromUTF8(clip.c_str()), true, true);
        RunLoop((kSeconds + 20) * 1000, [main] { return VideoEnded(main); });
        bool ended = VideoEnded(main);
        double playWall = NowMs() - playStart;
        double playPercent = 100.0 * (SelfCpuMs() - playCpu) / playWall;

        wxWeakRef<FormMain> closing(main);
        main->Close(true);
        Wait([&closing] { return !closing; }, 5000);

        double gstWall = 0;
        double gstCpu = 0;
        int gst = Run({"gst-launch-1.0", "-q", "playbin", "uri=file://" + clip}, &gstWall, &gstCpu);

        std::printf("\nTime from SetFile (double-click) to ...      cold      warm (median of %d)\n",
                    kWarmRuns);
        std::printf("  loaded notification                  %8.0f ms %8.0f ms\n", cold.loaded,
                    Median(loaded));
        std::printf("  playing                              %8.0f ms %8.0f ms\n", cold.playing,
                    Median(playing));
        std::printf("  first frame on the screen            %8.0f ms %8.0f ms\n", cold.frame, Median(frame));
        std::printf("\nWhole-process CPU (%% of one core)\n");
        std::printf("  player, idle (3 s)                   %8.1f %%\n", idlePercent);
        std::printf("  player, playing the clip             %8.1f %%   (%.1f s%s)\n", playPercent,
                    playWall / 1000, ended ? "" : ", did not reach its end");
        std::printf("  gst-launch-1.0 playbin, same clip    %8.1f %%   (%.1f s, exit %d)\n",
                    gstWall > 0 ? 100.0 * gstCpu / gstWall : 0.0, gstWall / 1000, gst);

        wxRemoveFile(wxString::FromUTF8(clip.c_str()));
        wxFileName::Rmdir(folder);
        return 0;
    }
};

} // namespace

wxIMPLEMENT_APP(BenchApp);
