// Start-up of the player: from process start to its main window mapped, next
// to a bare wxWidgets frame started the same way, and resident memory after
// start-up. Run under X (e.g. scripts/test-env.sh ./bench_startup).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wx/app.h>
#include <wx/frame.h>

namespace {

class BareApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Bare frame", wxPoint(0, 0), wxSize(296, 185));
        frame->Show(true);
        return true;
    }
};

bool HasName(Display* display, Window window, const std::string& name)
{
    // Without a window manager the mapped top-level window is the named one.
    char* windowName = nullptr;
    bool match = XFetchName(display, window, &windowName) && windowName && name == windowName;
    if (windowName)
        XFree(windowName);
    return match;
}

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

struct Sample {
    double ms;
    long rssKb;
};

Sample StartAndMeasure(Display* display, const std::vector<std::string>& argv, const std::string& title)
{
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    double ms = -1;
    while (ms < 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && HasName(display, event.xmap.window, title))
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    usleep(1000 * 1000);
    long rss = ResidentKb(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    XSelectInput(display, root, NoEventMask);
    return {ms, rss};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) {
        wxApp::SetInstance(new BareApp);
        return wxEntry(argc, argv);
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    std::string self = "/proc/self/exe";
    char path[4096] = {};
    ssize_t length = readlink(self.c_str(), path, sizeof path - 1);
    std::string me(path, length > 0 ? length : 0);
    std::string folder = me.substr(0, me.rfind('/'));
    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;

    std::vector<double> bare, player;
    long bareRss = 0, playerRss = 0;
    for (int i = 0; i < runs; ++i) {
        Sample b = StartAndMeasure(display, {me, "--bare"}, "Bare frame");
        Sample p = StartAndMeasure(display, {folder + "/BrelkosPlayer"}, "Brelko's Player");
        bare.push_back(b.ms);
        player.push_back(p.ms);
        bareRss = b.rssKb;
        playerRss = p.rssKb;
    }
    double b = Median(bare), p = Median(player);
    std::printf(
        "start-up to main window mapped (median of %d): player %.1f ms, bare wx frame %.1f ms, ratio %.2f\n",
        runs, p, b, p / b);
    std::printf("resident memory 1 s after start-up: player %ld kB, bare wx frame %ld kB\n", playerRss,
                bareRss);
    XCloseDisplay(display);
    return 0;
}
