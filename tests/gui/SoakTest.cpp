// A long run through the real main window: fifty short files of every audio
// format, some of them broken, random and loop on, and random transport
// commands until the time is up. Nothing may crash or hang, resident memory
// must stay flat and the log must still be written at the end.
//
// It runs only when BRELKOS_SOAK_SECONDS sets its length (`make test` does),
// so that a plain `ctest` stays short; by hand, for example:
//   BRELKOS_SOAK_SECONDS=3600 scripts/test-env.sh build/gui_tests --gtest_filter='Soak*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>
#include <wx/checkbox.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/slider.h>
#include <wx/time.h>

#include "gui/FormMain.h"
#include "playback/PlayerThread.h"
#include "support/GuiTest.h"
#include "support/Watchdog.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers keep freed memory and shadow pages of their own: resident
// memory says nothing about our leaks there (LeakSanitizer does that job).
constexpr bool kMemoryIsMeaningful = false;
#else
constexpr bool kMemoryIsMeaningful = true;
#endif

// Growth allowed between the warm-up (every decoder loaded) and the end.
constexpr long kMaxGrowthKb = 8 * 1024;
// A single command that takes longer than this counts as a hang.
constexpr long kMaxCommandMs = 10000;
// With no command finished for this long, the watchdog dumps every thread's
// stack and ends the process, so that a hang shows as a failure with a name
// and the place it stands instead of a test time-out.
constexpr int kWatchdogSeconds = 90;

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int SoakSeconds()
{
    const char* text = std::getenv("BRELKOS_SOAK_SECONDS");
    return text ? std::atoi(text) : 0;
}

bool CopyFile(const wxString& from, const wxString& to, size_t maxBytes = static_cast<size_t>(-1))
{
    wxFFile in(from, "rb");
    wxFFile out(to, "wb");
    if (!in.IsOpened() || !out.IsOpened())
        return false;
    std::vector<char> bytes(in.Length());
    if (in.Read(bytes.data(), bytes.size()) != bytes.size())
        return false;
    bytes.resize(std::min(bytes.size(), maxBytes));
    return out.Write(bytes.data(), bytes.size()) == bytes.size();
}

// Fifty files: nine of each good format and five broken ones, under names
// with spaces, quotes and per cent signs.
bool MakeSoakFolder(const wxString& folder)
{
    const char* good[] = {"tone.wav", "tone.mp3", "tone.ogg", "tone.wma", "tone.ac3"};
    for (int i = 0; i < 45; ++i) {
        const wxString source = good[i % 5];
        const wxString name = wxString::Format("%02d take '%d' 100%% ", i, i / 5) + source;
        if (!CopyFile(DataFile(source), folder + "/" + name))
            return false;
    }
    std::mt19937 random(7);
    std::string noise(3000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    wxFFile wma(folder + "/45 noise.wma", "wb");
    return CopyFile(DataFile("empty.mp3"), folder + "/46 empty.mp3") &&
           CopyFile(DataFile("truncated.ogg"), folder + "/47 truncated.ogg") &&
           CopyFile(DataFile("notmedia.wav"), folder + "/48 text.wav") &&
           CopyFile(DataFile("tone.wav"), folder + "/49 cut.wav", 2000) && wma.IsOpened() &&
           wma.Write(noise.data(), noise.size()) == noise.size();
}

void Check(FormMain* form, int id)
{
    wxCommandEvent click(wxEVT_CHECKBOX, id);
    click.SetInt(1);
    form->GetEventHandler()->ProcessEvent(click);
}

TEST(SoakTest, RandomCommandsOnFiftyFilesKeepTheProgramWorkingAndItsMemoryFlat)
{
    const int seconds = SoakSeconds();
    if (seconds <= 0)
        GTEST_SKIP() << "BRELKOS_SOAK_SECONDS is not set";
    const wxString folder = TempFolder();
    ASSERT_TRUE(MakeSoakFolder(folder));
    FormMain* form = CreateMainWindow();
    form->AddFolder(folder);
    ASSERT_EQ(form->GetAudioList().GetCount(), 50u);
    Check(form, ID_RANDOM);
    Check(form, ID_LOOP);
    ASSERT_TRUE(form->IsRandom() && form->IsLoop());
    const wxString playlist = folder + ".kx";

    std::mt19937 random(20261207);
    Watchdog watchdog("soak", kWatchdogSeconds);
    const wxLongLong start = wxGetLocalTimeMillis();
    const long long durationMs = seconds * 1000LL;
    // Resident memory once a second, by time since the start.
    std::vector<std::pair<long long, long>> resident;
    long long nextSample = 0;
    long longest = 0;
    const char* longestCommand = "";
    int commands = 0;
    int starts = 0;
    unsigned long lastSerial = 0;

    form->SetFile(form->GetAudioList()[0], true, true);
    for (;;) {
        const long long elapsed = (wxGetLocalTimeMillis() - start).GetValue();
        if (elapsed >= durationMs)
            break;
        if (elapsed >= nextSample) {
            resident.emplace_back(elapsed, ResidentKb());
            nextSample = elapsed + 1000;
        }

        const wxLongLong before = wxGetLocalTimeMillis();
        const wxArrayString& list = form->GetAudioList();
        const char* command = "";
        switch (random() % 20) {
        case 0:
        case 1:
            command = "play";
            form->PlayCommand();
            break;
        case 2:
            command = "pause";
            form->Pause();
            break;
        case 3:
            command = "stop";
            form->Stop();
            break;
        case 4:
        case 5:
            command = "next";
            form->NextFile();
            break;
        case 6:
            command = "previous";
            form->PreviousFile();
            break;
        case 7:
            command = "position key";
            form->HandleKey(random() % 2 ? WXK_RIGHT : WXK_LEFT);
            break;
        case 8:
            command = "position step";
            form->StepPosition(random() % 2 ? 250 : -250);
            break;
        case 9:
            command = "volume key";
            form->HandleKey(random() % 2 ? WXK_NUMPAD_ADD : WXK_NUMPAD_SUBTRACT);
            break;
        case 10:
        case 11:
        case 12:
            // Close to the end, so files also end by themselves and the
            // player thread hands the advance over.
            command = "seek near the end";
            if (Player* player = form->GetPlayer())
                player->SetPosition(0.9f + (random() % 10) / 100.0f);
            break;
        case 13:
            // A double-click in the playlist: stop, then start that entry.
            command = "start an entry";
            if (form->GetPlayer())
                form->Stop();
            form->SetFile(list[random() % list.GetCount()], true, true);
            break;
        case 14:
            command = "shuffle";
            if (random() % 8 == 0)
                form->ShufflePlaylist();
            break;
        case 15:
            command = "save and load the playlist";
            if (random() % 8 == 0) {
                form->SavePlaylist(playlist);
                form->LoadPlaylist(playlist);
            }
            break;
        default:
            // Hands off for a while: whatever plays goes on by itself.
            command = "wait";
            Pump(100 + random() % 400);
            break;
        }
        const long took = static_cast<long>((wxGetLocalTimeMillis() - before).GetValue());
        if (took > longest) {
            longest = took;
            longestCommand = command;
        }
        ++commands;
        watchdog.Beat(commands);
        Pump(2 + random() % 40);

        Player* player = form->GetPlayer();
        if (player && player->GetSerial() != lastSerial && form->GetFileState() == Started) {
            lastSerial = player->GetSerial();
            ++starts;
        }
        const FileState file = form->GetFileState();
        ASSERT_FALSE(file == Started && !player) << "started without a player at command " << commands;
        ASSERT_FALSE(file == NoFile && player) << "a player without a file at command " << commands;
        ASSERT_EQ(form->GetAudioList().GetCount(), 50u) << "command " << commands;
    }
    resident.emplace_back(durationMs, ResidentKb());

    EXPECT_LT(longest, kMaxCommandMs) << longestCommand;
    // Every few seconds at least one file started, good ones played.
    EXPECT_GT(starts, seconds / 5);

    // Warm-up: the first fifth of the run, when every decoder is loaded
    // once. Compared: the highest value after it with the highest at the end.
    long warm = 0;
    long end = 0;
    for (const auto& sample : resident) {
        if (sample.first >= durationMs / 5 && sample.first < durationMs * 2 / 5)
            warm = std::max(warm, sample.second);
        if (sample.first >= durationMs * 4 / 5)
            end = std::max(end, sample.second);
    }
    std::printf("[ soak     ] %d s, %d commands, %d starts, longest command %ld ms (%s), "
                "resident %ld kB after warm-up, %ld kB at the end (bound +%ld kB%s)\n",
                seconds, commands, starts, longest, longestCommand, warm, end, kMaxGrowthKb,
                kMemoryIsMeaningful ? "" : ", not checked under a sanitizer");
    RecordProperty("resident_warm_kb", static_cast<int>(warm));
    RecordProperty("resident_end_kb", static_cast<int>(end));
    if (kMemoryIsMeaningful) {
        ASSERT_GT(warm, 0);
        EXPECT_LT(end - warm, kMaxGrowthKb);
    }

    // Still working: a good file starts and plays, and the log takes lines.
    form->Stop();
    form->Stop();
    EXPECT_TRUE(ReadLog().EndsWith("ERROR : FormMain :: Stop - Player thread null\n"));
    int good = form->GetAudioList().Index(folder + "/00 take '0' 100% tone.wav");
    ASSERT_NE(good, wxNOT_FOUND);
    form->SetFile(form->GetAudioList()[good], true, true);
    ASSERT_EQ(form->GetFileState(), Started);
    EXPECT_TRUE(WaitFor([&] { return form->GetPositionSlider()->GetValue() > 0; }));
    form->Stop();
    CloseMainWindow();
}

} // namespace
