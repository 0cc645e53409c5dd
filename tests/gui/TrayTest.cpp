// The tray icon under a real tray host (trayer on the test display).
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/menu.h>
#include <wx/slider.h>
#include <wx/taskbar.h>

#include "gui/FormMain.h"
#include "gui/TaskBarIcon.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

class TrayTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_tray = fork();
        if (m_tray == 0) {
            execlp("trayer", "trayer", "--edge", "bottom", "--widthtype", "pixel", "--width", "200",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(m_tray, 0);
        if (!WaitFor([] { return wxTaskBarIcon::IsAvailable(); }, 10000))
            GTEST_SKIP() << "no tray host could be started";
        m_form = CreateMainWindow();
    }
    void TearDown() override
    {
        CloseMainWindow();
        if (m_tray > 0) {
            kill(m_tray, SIGTERM);
            waitpid(m_tray, nullptr, 0);
        }
        WaitFor([] { return !wxTaskBarIcon::IsAvailable(); }, 3000);
    }

    void Iconize(bool iconized)
    {
        wxIconizeEvent event(m_form->GetId(), iconized);
        m_form->GetEventHandler()->ProcessEvent(event);
        Pump(50);
    }

    pid_t m_tray = -1;
    FormMain* m_form = nullptr;
};

TEST_F(TrayTest, IconizeHidesIntoTheTrayAndRestoreComesBack)
{
    TaskBarIcon* icon = m_form->GetTaskBarIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->IsIconInstalled());
    Iconize(true);
    EXPECT_FALSE(m_form->IsShown());
    EXPECT_TRUE(m_form->HasFlag(wxFRAME_NO_TASKBAR));
    EXPECT_TRUE(icon->IsIconInstalled());

    Iconize(false);
    EXPECT_TRUE(m_form->IsShown());
    EXPECT_FALSE(m_form->HasFlag(wxFRAME_NO_TASKBAR));
    EXPECT_TRUE(m_form->HasFlag(wxCLOSE_BOX));
    EXPECT_FALSE(icon->IsIconInstalled());
}

TEST_F(TrayTest, MenuOffersTheTransportCommandsAndCallsTheMainWindow)
{
    TaskBarIcon* icon = m_form->GetTaskBarIcon();
    std::unique_ptr<wxMenu> menu(icon->CreatePopupMenu());
    const char* labels[] = {"Précédent", "Lire", "Pause", "Stop", "Suivant"};
    for (int id = ID_TRAY_PREVIOUS; id <= ID_TRAY_NEXT; ++id)
        EXPECT_EQ(menu->GetLabelText(id), wxString::FromUTF8(labels[id])) << id;
    EXPECT_NE(menu->FindItem("PlayCD"), wxNOT_FOUND);

    for (int id : {ID_TRAY_PLAY, ID_TRAY_PAUSE, ID_TRAY_NEXT, ID_TRAY_PREVIOUS, ID_TRAY_STOP}) {
        wxCommandEvent event(wxEVT_MENU, id);
        icon->ProcessEvent(event);
    }
    wxString log = ReadLog();
    for (const char* line :
         {"FormMain :: Play - End - Player thread null", "FormMain :: Pause - End - Player thread null",
          "FormMain :: NextFile - End - Player thread null",
          "FormMain :: PreviousFile - End - Player thread null",
          "ERROR : FormMain :: Stop - Player thread null"})
        EXPECT_NE(log.Find(line), wxNOT_FOUND) << line;
}

TEST_F(TrayTest, DoubleClickOnTheIconRestoresTheWindow)
{
    Iconize(true);
    ASSERT_FALSE(m_form->IsShown());
    wxTaskBarIconEvent click(wxEVT_TASKBAR_LEFT_DCLICK, m_form->GetTaskBarIcon());
    m_form->GetTaskBarIcon()->ProcessEvent(click);
    Pump(50);
    EXPECT_TRUE(m_form->IsShown());
    EXPECT_FALSE(m_form->GetTaskBarIcon()->IsIconInstalled());
}

} // namespace

TEST_F(TrayTest, PositionWaitsInTheTrayAndShowsWhereThePlayerIsOnRestore)
{
    m_form->AddFile(DataFile("tone.wav"));
    m_form->SetFile(m_form->GetAudioList()[0], true, true);
    wxSlider* slider = m_form->GetPositionSlider();
    ASSERT_TRUE(WaitFor([&] { return slider->GetValue() > 0; }));
    Iconize(true);
    ASSERT_TRUE(m_form->IsInTray());
    int held = slider->GetValue();
    Player* player = m_form->GetPlayer();
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(WaitFor([&] { return player->GetPositionMs() > 1000; }));
    EXPECT_EQ(slider->GetValue(), held);

    Iconize(false);
    ASSERT_EQ(m_form->GetPlayer(), player);
    int current = static_cast<int>(player->GetPositionMs() * 1000ULL / player->GetLengthMs());
    // Iconize lets events run for a moment after the restore.
    EXPECT_NEAR(slider->GetValue(), current, 60);
}
