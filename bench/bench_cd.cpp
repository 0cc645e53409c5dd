// Audio CD on a disc image standing in for a drive: time from choosing the
// drive to its tracks listed, and from SetFile on a CD track address to the
// first position advance. Run under X: scripts/test-env.sh ./bench_cd
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "playback/CDPlayerThread.h"

using namespace BrelkosPlayer;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class BenchApp : public wxApp {
public:
    bool OnInit() override
    {
        CallAfter([this] { Run(); });
        return true;
    }

private:
    void Run()
    {
        wxString folder = wxFileName::CreateTempFileName("brelkos-cd");
        wxRemoveFile(folder);
        wxMkdir(folder);
        wxArrayString output;
        wxExecute("bash " + wxString(BRELKOS_TEST_DATA) + "/make-disc-image.sh " + folder, output,
                  wxEXEC_SYNC);
        setenv("BRELKOS_CD_IMAGES", (folder + "/audio.cue").utf8_str(), 1);

        auto* form = new FormMain(wxStandardPaths::Get().GetExecutablePath());
        form->Show(true);
        wxArrayString args;
        args.Add("bench");
        form->SecondInit(args);

        std::vector<double> listing, firstAdvance;
        for (int run = 0; run < 7; ++run) {
            form->ClearPlaylist();
            auto start = Clock::now();
            std::unique_ptr<wxMenu> menu(form->GetPlaylistWindow()->BuildDriveMenu());
            int drive = static_cast<int>(form->GetPlaylistWindow()->GetDriveNames().GetCount()) - 1;
            form->GetPlaylistWindow()->ListDriveTracks(drive);
            listing.push_back(Ms(Clock::now() - start));

            wxString address = form->GetCDList()[run % form->GetCDList().GetCount()];
            start = Clock::now();
            form->SetFile(address, true, true);
            auto* player = dynamic_cast<CDPlayerThread*>(form->GetPlayer());
            while (player && player->GetPosition() == 0) {
                Yield(true);
                wxMilliSleep(1);
            }
            firstAdvance.push_back(Ms(Clock::now() - start));
            form->Stop();
        }
        std::printf(
            "drive chosen to tracks listed (menu built and disc read): median %.1f ms, first %.1f ms\n",
            Median(listing), listing[0]);
        std::printf(
            "SetFile on a CD track address to first position advance: median %.1f ms, first %.1f ms\n",
            Median(firstAdvance), firstAdvance[0]);
        form->Close(true);
        wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
    }
};

} // namespace

wxIMPLEMENT_APP(BenchApp);
