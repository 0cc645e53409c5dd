// Files that change under a playing player: deleted, emptied or cut short
// while they play, or the whole folder gone. The player ends or plays on, the
// next file follows, and the program keeps working.
#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/filefn.h>
#include <wx/slider.h>

#include "gui/FaultTest.h"
#include "gui/FormMain.h"
#include "playback/PlayerThread.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;
using namespace fault_test;

namespace {

enum class Damage { Delete, Empty, CutInHalf };

struct PlayingFault {
    const char* source;
    Damage damage;
};

const char* Describe(Damage damage)
{
    return damage == Damage::Delete ? "deleted" : damage == Damage::Empty ? "emptied" : "cut in half";
}

bool Apply(Damage damage, const wxString& path)
{
    std::string native = Native(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0)
        return false;
    switch (damage) {
    case Damage::Delete: return ::unlink(native.c_str()) == 0;
    case Damage::Empty: return ::truncate(native.c_str(), 0) == 0;
    default: return ::truncate(native.c_str(), st.st_size / 2) == 0;
    }
}

class FaultPlaybackTest : public testing::Test {
protected:
    void TearDown() override { CloseMainWindow(); }

    // Starts path and waits until it has really played a little.
    bool StartAndHear(FormMain* form, const wxString& path)
    {
        form->SetFile(path, true, true);
        return form->GetFileState() == Started &&
               WaitFor([form] { return form->GetPositionSlider()->GetValue() > 30; }, 5000);
    }
};

TEST_F(FaultPlaybackTest, AFileDamagedWhilePlayingEndsOrPlaysOnAndTheNextFollows)
{
    const PlayingFault faults[] = {
        {"tone.wav", Damage::Delete},    {"tone.ogg", Damage::Delete},    {"tone.mp3", Damage::Empty},
        {"tone.wma", Damage::Empty},     {"tone.wav", Damage::CutInHalf}, {"tone.ogg", Damage::CutInHalf},
        {"tone.ac3", Damage::CutInHalf}, {"tone.mp3", Damage::CutInHalf},
    };
    for (const PlayingFault& fault : faults) {
        SCOPED_TRACE(std::string(fault.source) + " " + Describe(fault.damage));
        const wxString folder = TempFolder();
        const wxString victim = folder + "/victim " + fault.source;
        const wxString next = folder + "/next tone.wav";
        ASSERT_TRUE(wxCopyFile(DataFile(fault.source), victim));
        ASSERT_TRUE(wxCopyFile(DataFile("tone.wav"), next));
        const std::string nextBytes = ReadBytes(next);

        FormMain* form = CreateMainWindow();
        form->AddFile(victim);
        form->AddFile(next);
        ASSERT_EQ(form->GetAudioList().GetCount(), 2u);
        ASSERT_TRUE(StartAndHear(form, victim));
        ASSERT_TRUE(Apply(fault.damage, victim));

        // Ended early or played to its end: either way the next one starts.
        EXPECT_TRUE(WaitFor(
            [&] {
                return form->GetCurrentFile() == next && form->GetFileState() == Started &&
                       form->GetPositionSlider()->GetValue() > 0;
            },
            10000));

        // The damaged file again: it plays or is refused, and nothing sticks.
        form->Stop();
        form->SetFile(victim, true, true);
        WaitFor([form] { return !form->GetPlayer() || form->GetFileState() != Started; }, 5000);
        form->Stop();
        EXPECT_EQ(form->GetPlayer(), nullptr);
        EXPECT_TRUE(StartAndHear(form, next));
        form->Stop();
        EXPECT_EQ(ReadBytes(next), nextBytes);
        CloseMainWindow();
    }
}

// Loop on, and every file of the list gone while the first plays: the
// advance tries each once and gives up instead of going round for ever.
TEST_F(FaultPlaybackTest, AListWhoseFilesAllVanishedEndsInsteadOfLooping)
{
    const wxString folder = TempFolder() + "/album";
    ASSERT_TRUE(wxFileName::Mkdir(folder, 0755));
    FormMain* form = CreateMainWindow();
    for (const char* name : {"tone.wav", "tone.ogg", "tone.mp3"}) {
        ASSERT_TRUE(wxCopyFile(DataFile(name), folder + "/" + name));
        form->AddFile(folder + "/" + name);
    }
    form->GetLoopBox()->SetValue(true);
    wxCommandEvent click(wxEVT_CHECKBOX, ID_LOOP);
    click.SetInt(1);
    form->GetEventHandler()->ProcessEvent(click);
    ASSERT_TRUE(form->IsLoop());

    ASSERT_TRUE(StartAndHear(form, form->GetAudioList()[0]));
    ASSERT_TRUE(wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE));
    form->GetPlayer()->SetPosition(0.95f);

    // The GUI answers all along (WaitFor runs its loop) and comes to rest.
    EXPECT_TRUE(WaitFor([form] { return form->GetFileState() != Started; }, 10000));
    Pump(500);
    EXPECT_NE(form->GetFileState(), Started);
    wxString log = ReadLog();
    for (const wxString& path : form->GetAudioList())
        EXPECT_NE(log.Find("FormMain :: LoadFile - Can't load " + path), wxNOT_FOUND) << path;

    // Files put back play again.
    ASSERT_TRUE(wxFileName::Mkdir(folder, 0755));
    ASSERT_TRUE(wxCopyFile(DataFile("tone.ogg"), folder + "/tone.ogg"));
    if (form->GetPlayer())
        form->Stop();
    EXPECT_TRUE(StartAndHear(form, folder + "/tone.ogg"));
}

} // namespace
