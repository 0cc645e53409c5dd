// Playlist figures with the real windows: adding a folder of 10 000 files,
// saving and loading a 10 000-line playlist file, and search keystrokes over
// 10 000 names. Run under X (e.g. scripts/test-env.sh ./bench_playlist).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>
#include <wx/app.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/listbox.h>
#include <wx/stdpaths.h>
#include <wx/textctrl.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/FormSearch.h"
#include "gui/TrackList.h"

using namespace BrelkosPlayer;

namespace {

const int kEntries = 10000;

double Milliseconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The program logs every added entry to standard output; the figures go to
// the real standard output, the log lines to /dev/null.
class QuietStdout {
public:
    QuietStdout()
    {
        std::fflush(stdout);
        m_saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
        m_out = fdopen(m_saved, "w");
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        std::fflush(m_out);
        dup2(m_saved, 1);
        std::fclose(m_out);
    }
    FILE* Out() { return m_out; }

private:
    int m_saved;
    FILE* m_out;
};

void Report(FILE* out, const char* what, double ms, double target)
{
    std::fprintf(out, "%-52s %9.1f ms   (target < %.0f ms)%s\n", what, ms, target,
                 ms < target ? "" : "  ** over **");
    std::fflush(out);
}

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }

    int OnRun() override
    {
        QuietStdout quiet;
        FILE* out = quiet.Out();
        wxString folder = wxFileName::CreateTempFileName("bench-playlist");
        wxRemoveFile(folder);
        wxFileName::Mkdir(folder, 0700);
        wxString media = folder + "/media";
        wxFileName::Mkdir(media, 0700);
        // Nine audio files in ten, a video file in ten, in a few subfolders.
        for (int i = 0; i < kEntries; ++i) {
            wxString sub = media + wxString::Format("/Artist %02d", i % 40);
            if (i < 40)
                wxFileName::Mkdir(sub, 0700);
            const char* ext = i % 10 == 9 ? "avi" : i % 3 == 0 ? "ogg" : "mp3";
            wxFFile(sub + wxString::Format("/Track %05d - Song title %d.%s", i, i * 7, ext), "w").Close();
        }

        auto* main = new FormMain(wxStandardPaths::Get().GetExecutablePath());
        main->Show(true);
        wxArrayString args;
        args.Add(wxStandardPaths::Get().GetExecutablePath());
        main->SecondInit(args);
        Yield(true);

        std::fprintf(out, "Playlist benchmark, %d entries\n", kEntries);
        double add = Milliseconds([&] { main->AddFolder(media); });
        Report(out, "add a folder of 10 000 files", add, 2000);

        wxString file = folder + "/list.kx";
        double save = Milliseconds([&] { main->SavePlaylist(file); });
        Report(out, "save a 10 000-line playlist", save, 300);

        double load = Milliseconds([&] {
            main->LoadPlaylist(file);
            Yield(true); // until the windows have taken it all in
        });
        Report(out, "load a 10 000-line playlist into the windows", load, 1000);
        std::fprintf(out, "  (%zu audio, %zu video entries)\n", main->GetAudioList().GetCount(),
                     main->GetVideoList().GetCount());

        FormSearch* search = main->GetPlaylistWindow()->GetSearchWindow();
        TrackList& audio = main->GetPlaylistWindow()->GetTrackList(FormPlaylist::Audio);
        // Up to 10 000 names: the video files took a tenth of them.
        for (int i = 0, missing = kEntries - audio.GetCount(); i < missing; ++i)
            audio.Append(wxString::Format("/x/Extra %d.mp3", i), wxString::Format("Extra %d.mp3", i));
        search->Show(true);
        search->SetFilesList(audio.GetNames(), &audio);
        Yield(true);
        std::vector<double> keystrokes;
        const char* typed[] = {"s",         "so",   "son",     "song", "song ", "song 1",  "song 12",
                               "song 1",    "song", "",        "t",    "tr",    "track 0", "track 00",
                               "track 001", "",     "title 7", "7",    ""};
        double worst = 0;
        const char* worstText = "";
        for (const char* text : typed) {
            double ms = Milliseconds([&] {
                search->GetTextField()->SetValue(text);
                search->GetResultList()->Update();
            });
            keystrokes.push_back(ms);
            if (ms > worst) {
                worst = ms;
                worstText = text;
            }
            Yield(true);
        }
        std::sort(keystrokes.begin(), keystrokes.end());
        std::fprintf(out, "search over %d names, %zu keystrokes:\n", audio.GetCount(), keystrokes.size());
        Report(out, "  median keystroke", keystrokes[keystrokes.size() / 2], 50);
        Report(out, wxString::Format("  slowest keystroke (text \"%s\")", worstText).utf8_str(), worst, 50);

        main->Destroy();
        Yield(true);
        ProcessIdle();
        wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
        return 0;
    }
};

} // namespace

wxIMPLEMENT_APP(BenchApp);
