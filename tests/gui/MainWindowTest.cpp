#include <gtest/gtest.h>

#include <dlfcn.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/taskbar.h>

#include "configuration/Design.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/ImageButton.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

void Touch(const wxString& path)
{
    wxFFile file(path, "wb");
    file.Write("x", 1);
}

class MainWindowTest : public testing::Test {
protected:
    void TearDown() override { CloseMainWindow(); }
};

TEST_F(MainWindowTest, FrameAndControlsStandWhereTheyBelong)
{
    FormMain* form = CreateMainWindow();
    EXPECT_EQ(form->GetTitle(), "Brelko's Player");
    EXPECT_EQ(form->GetSize(), wxSize(296, 185));
    EXPECT_EQ(form->GetName(), "frame");
    EXPECT_FALSE(form->HasFlag(wxRESIZE_BORDER));
    EXPECT_FALSE(form->HasFlag(wxMAXIMIZE_BOX));
    EXPECT_EQ(form->GetPanel()->GetPosition(), wxPoint(0, 0));

    struct Expected {
        wxWindow* window;
        int id;
        wxString label;
        wxRect rect;
    };
    const Expected buttons[] = {
        {form->GetButton(ID_PREVIOUS), ID_PREVIOUS, "", wxRect(0, 32, 40, 40)},
        {form->GetButton(ID_PLAY), ID_PLAY, "", wxRect(40, 32, 40, 40)},
        {form->GetButton(ID_PAUSE), ID_PAUSE, "", wxRect(80, 32, 40, 40)},
        {form->GetButton(ID_STOP), ID_STOP, "", wxRect(120, 32, 40, 40)},
        {form->GetButton(ID_NEXT), ID_NEXT, "", wxRect(160, 32, 40, 40)},
        {form->GetButton(ID_ADD_FILE), ID_ADD_FILE, "Ajout fichier", wxRect(0, 0, 90, 32)},
        {form->GetButton(ID_ADD_FOLDER), ID_ADD_FOLDER, "Ajout dossier", wxRect(100, 0, 90, 32)},
        {form->GetButton(ID_ENCODER), ID_ENCODER, "Encoder", wxRect(200, 0, 90, 32)},
    };
    for (const Expected& e : buttons) {
        ASSERT_NE(e.window, nullptr);
        EXPECT_EQ(e.window->GetId(), e.id);
        EXPECT_EQ(e.window->GetLabel(), e.label);
        EXPECT_EQ(e.window->GetRect(), e.rect) << e.label;
        EXPECT_TRUE(e.window->IsShownOnScreen());
    }
    // Check boxes, like the sliders below, keep their box's place and width and
    // grow around its centre line when the theme needs more height.
    const Expected boxes[] = {
        {form->GetLoopBox(), ID_LOOP, "Boucle", wxRect(8, 137, 97, 17)},
        {form->GetRandomBox(), ID_RANDOM, "Aleatoire", wxRect(179, 137, 97, 17)},
    };
    for (const Expected& e : boxes) {
        ASSERT_NE(e.window, nullptr);
        EXPECT_EQ(e.window->GetId(), e.id);
        EXPECT_EQ(e.window->GetLabel(), e.label);
        wxRect r = e.window->GetRect();
        EXPECT_EQ(r.x, e.rect.x) << e.label;
        EXPECT_EQ(r.width, e.rect.width) << e.label;
        EXPECT_GE(r.height, e.rect.height) << e.label;
        EXPECT_NEAR(r.y + r.height / 2.0, e.rect.y + e.rect.height / 2.0, 1.0) << e.label;
        EXPECT_TRUE(e.window->IsShownOnScreen());
    }
    EXPECT_EQ(form->GetLoopBox()->GetName(), "check");
    EXPECT_EQ(form->GetButton(ID_PLAY)->GetName(), "button");

    // Sliders keep their box's place and width; the theme may make them taller
    // around the same centre line, never shorter than the box FormMain gives them.
    struct SliderBox {
        wxSlider* slider;
        int id;
        wxRect rect;
        int max;
    };
    const SliderBox sliders[] = {
        {form->GetPositionSlider(), ID_POSITION_SLIDER, wxRect(0, 113, 290, 18), 1000},
        {form->GetVolumeSlider(), ID_VOLUME_SLIDER, wxRect(228, 55, 54, 17), 100}};
    for (const SliderBox& s : sliders) {
        wxRect r = s.slider->GetRect();
        EXPECT_EQ(s.slider->GetId(), s.id);
        EXPECT_EQ(r.x, s.rect.x);
        EXPECT_EQ(r.width, s.rect.width);
        EXPECT_GE(r.height, s.rect.height);
        EXPECT_NEAR(r.y + r.height / 2.0, s.rect.y + s.rect.height / 2.0, 1.0);
        EXPECT_EQ(s.slider->GetMax(), s.max);
        EXPECT_EQ(s.slider->GetValue(), 0);
        EXPECT_EQ(s.slider->GetName(), "slider");
    }
    EXPECT_FALSE(form->GetPositionSlider()->IsEnabled());
    EXPECT_EQ(form->GetNameLabel()->GetPosition(), wxPoint(50, 78));
    EXPECT_EQ(form->GetLengthLabel()->GetPosition(), wxPoint(50, 94));
    // Transport buttons carry their images from rsc/ beside the executable.
    EXPECT_TRUE(form->GetButton(ID_PLAY)->GetImage(0).IsOk());
}

TEST_F(MainWindowTest, PlayingFileShowsItsNameLengthAndPosition)
{
    wxArrayString args;
    args.Add(DataFile("tone.ogg"));
    FormMain* form = CreateMainWindow(args);
    EXPECT_EQ(form->GetNameLabel()->GetLabel(), "tone");
    EXPECT_EQ(form->GetLengthLabel()->GetLabel(), "0min2s");
    ASSERT_TRUE(WaitFor([&] { return form->GetPositionSlider()->GetValue() > 300; }));
    form->Pause();
    Pump(200);
    wxImage shot = CaptureWindow(form);
    ASSERT_TRUE(shot.IsOk());
    // The labels are drawn wide enough to read: the name's text is on screen
    // right of its caption (not the panel colour everywhere there).
    wxPoint at = form->GetNameLabel()->GetPosition();
    wxSize size = form->GetNameLabel()->GetSize();
    EXPECT_GT(size.x, 10);
    bool inked = false;
    wxColour panel = form->GetPanel()->GetBackgroundColour();
    for (int x = at.x; x < at.x + size.x && !inked; ++x)
        for (int y = at.y; y < at.y + size.y && !inked; ++y)
            inked = shot.GetRed(x, y) != panel.Red() || shot.GetGreen(x, y) != panel.Green();
    EXPECT_TRUE(inked);
    SaveScreenshot(shot, "main-window.png");
}

TEST_F(MainWindowTest, AddFileFilesByExtensionAndExistence)
{
    wxString folder = TempFolder();
    Touch(folder + "/a.mp3");
    Touch(folder + "/clip.AVI");
    wxFileName::Mkdir(folder + "/dir.mp3");
    FormMain* form = CreateMainWindow();

    form->AddFile(folder + "/a.mp3");
    form->AddFile(folder + "/clip.AVI");
    form->AddFile(folder + "/missing.mp3");
    form->AddFile("D:3");
    form->AddFile(folder + "/dir.mp3");
    form->AddFile(folder + "/song.flac");
    form->AddFile("");

    ASSERT_EQ(form->GetAudioList().GetCount(), 1u);
    EXPECT_EQ(form->GetAudioList()[0], folder + "/a.mp3");
    ASSERT_EQ(form->GetVideoList().GetCount(), 1u);
    EXPECT_EQ(form->GetVideoList()[0], folder + "/clip.AVI");
    wxArrayString cd = form->GetCDList();
    ASSERT_EQ(cd.GetCount(), 4u);
    EXPECT_EQ(cd[0], folder + "/missing.mp3");
    EXPECT_EQ(cd[1], "D:3");
    EXPECT_EQ(cd[2], folder + "/dir.mp3");
    EXPECT_EQ(cd[3], folder + "/song.flac");
    EXPECT_NE(ReadLog().Find("ERROR : FormMain :: AddFile - Void file name"), wxNOT_FOUND);
}

TEST_F(MainWindowTest, AddFolderWalksSubfoldersAndHiddenFilesAndSkipsOtherFiles)
{
    wxString folder = TempFolder();
    wxFileName::Mkdir(folder + "/sub/deeper", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxFileName::Mkdir(folder + "/.hidden");
    Touch(folder + "/one.ogg");
    Touch(folder + "/notes.txt");
    Touch(folder + "/sub/two.WAV");
    Touch(folder + "/sub/deeper/film.mkv");
    Touch(folder + "/.hidden/secret.mp3");
    Touch(folder + "/.dot.wma");
    FormMain* form = CreateMainWindow();

    form->AddFolder(folder);

    wxArrayString audio = form->GetAudioList();
    audio.Sort();
    wxArrayString expected;
    for (const char* name : {"/.dot.wma", "/.hidden/secret.mp3", "/one.ogg", "/sub/two.WAV"})
        expected.Add(folder + name);
    expected.Sort();
    EXPECT_EQ(audio, expected);
    ASSERT_EQ(form->GetVideoList().GetCount(), 1u);
    EXPECT_EQ(form->GetVideoList()[0], folder + "/sub/deeper/film.mkv");
    EXPECT_TRUE(form->GetCDList().IsEmpty());
}

TEST_F(MainWindowTest, AddDialogsFileTheChosenPathsAndRememberTheFolder)
{
    wxString folder = TempFolder();
    Touch(folder + "/clip.avi");
    Touch(folder + "/a.mp3");
    FormMain* form = CreateMainWindow();

    FormMain::SetFileChooser([&](wxArrayString& paths) {
        paths.Add(folder + "/clip.avi");
        paths.Add(folder + "/a.mp3");
        paths.Add(folder + "/gone.wav");
        return true;
    });
    wxCommandEvent click(wxEVT_BUTTON, ID_ADD_FILE);
    form->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(form->GetVideoList().GetCount(), 1u);
    EXPECT_EQ(form->GetAudioList().GetCount(), 1u);
    EXPECT_EQ(form->GetCDList().GetCount(), 1u);

    FormMain::SetFileChooser([](wxArrayString& paths) {
        paths.Add("/never/added.mp3");
        return false;
    });
    form->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(form->GetCDList().GetCount(), 1u);

    wxArrayString defaults;
    FormMain::SetFolderChooser([&](const wxString& defaultPath, wxString& path) {
        defaults.Add(defaultPath);
        path = folder;
        return true;
    });
    wxCommandEvent folderClick(wxEVT_BUTTON, ID_ADD_FOLDER);
    form->GetEventHandler()->ProcessEvent(folderClick);
    form->GetEventHandler()->ProcessEvent(folderClick);
    ASSERT_EQ(defaults.GetCount(), 2u);
    EXPECT_EQ(defaults[0], "");
    EXPECT_EQ(defaults[1], folder);
    FormMain::SetFileChooser(nullptr);
    FormMain::SetFolderChooser(nullptr);
}

TEST_F(MainWindowTest, KeysStepThePositionAndVolumeWithinRange)
{
    FormMain* form = CreateMainWindow();
    form->GetPositionSlider()->SetValue(500);
    form->HandleKey(WXK_RIGHT);
    EXPECT_EQ(form->GetPositionSlider()->GetValue(), 503);
    form->GetPositionSlider()->SetValue(1);
    form->HandleKey(WXK_LEFT);
    EXPECT_EQ(form->GetPositionSlider()->GetValue(), 0);

    form->GetVolumeSlider()->SetValue(98);
    // GTK sends the keypad keys under their keypad codes.
    wxKeyEvent plus(wxEVT_CHAR_HOOK);
    plus.m_keyCode = WXK_NUMPAD_ADD;
    form->OnKey(plus);
    EXPECT_EQ(form->GetVolumeSlider()->GetValue(), 100);
    form->GetVolumeSlider()->SetValue(3);
    wxKeyEvent minus(wxEVT_CHAR_HOOK);
    minus.m_keyCode = WXK_NUMPAD_SUBTRACT;
    form->OnKey(minus);
    EXPECT_EQ(form->GetVolumeSlider()->GetValue(), 0);
}

TEST_F(MainWindowTest, OperationsWithNothingLoadedOnlyLog)
{
    FormMain* form = CreateMainWindow();
    form->Play();
    form->Pause();
    form->NextFile();
    form->PreviousFile();
    form->SetFile("", true, true);
    wxString log = ReadLog();
    for (const char* line :
         {"FormMain :: Play - End - Player thread null", "FormMain :: Pause - End - Player thread null",
          "FormMain :: NextFile - End - Player thread null",
          "FormMain :: PreviousFile - End - Player thread null",
          "FormMain :: SetFile - End - Void file name"})
        EXPECT_NE(log.Find(line), wxNOT_FOUND) << line;
    EXPECT_EQ(form->GetFileState(), NoFile);
    EXPECT_EQ(form->GetPlayState(), Stopped);
}

TEST_F(MainWindowTest, ClosingWithNothingPlayingLogsTheStopLine)
{
    CreateMainWindow();
    CloseMainWindow();
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(PlaylistWindow(), nullptr);
    EXPECT_NE(ReadLog().Find("ERROR : FormMain :: Stop - Player thread null"), wxNOT_FOUND);
}

// The panel's background when it first painted.
wxColour s_firstPaint;

void RecordFirstPaint(wxPaintEvent& event)
{
    if (!s_firstPaint.IsOk())
        s_firstPaint = static_cast<wxWindow*>(event.GetEventObject())->GetBackgroundColour();
    event.Skip();
}

// At the application's start the main window paints before the other windows
// are made: it must already wear the configuration's design then.
TEST_F(MainWindowTest, FirstPaintAtStartIsInTheDesignColours)
{
    CloseMainWindow();
    wxString executable = wxStandardPaths::Get().GetExecutablePath();
    FormMain* form = FormMain::Start(executable, wxArrayString(1, &executable));
    wxTheApp->SetTopWindow(form);
    s_firstPaint = wxColour();
    form->GetPanel()->Bind(wxEVT_PAINT, RecordFirstPaint);
    ASSERT_TRUE(WaitFor([] { return s_firstPaint.IsOk() && PlaylistWindow(); }));
    form->GetPanel()->Unbind(wxEVT_PAINT, RecordFirstPaint);
    const Design* design = form->GetSelectedDesign();
    ASSERT_NE(design, nullptr) << "the sample configuration selects a design";
    EXPECT_EQ(s_firstPaint, design->generalColor) << s_firstPaint.GetAsString(wxC2S_HTML_SYNTAX);
}

// The position slider moves four times a second while a file plays. Each move
// must redraw it alone: not the label and check boxes beside it, and not a
// resize of the whole window (which asks the X server for its place).
TEST_F(MainWindowTest, MovingThePositionSliderRedrawsItAlone)
{
    FormMain* form = CreateMainWindow();
    wxSlider* slider = form->GetPositionSlider();
    for (wxWindow* neighbour :
         {static_cast<wxWindow*>(form->GetLengthLabel()), static_cast<wxWindow*>(form->GetLoopBox()),
          static_cast<wxWindow*>(form->GetRandomBox())})
        EXPECT_FALSE(slider->GetRect().Intersects(neighbour->GetRect())) << neighbour->GetName();

    using ConnectFn = unsigned long (*)(void*, const char*, void (*)(void*, void*), void*, void*, int);
    using DisconnectFn = void (*)(void*, unsigned long);
    static auto connect = reinterpret_cast<ConnectFn>(dlsym(RTLD_DEFAULT, "g_signal_connect_data"));
    static auto disconnect =
        reinterpret_cast<DisconnectFn>(dlsym(RTLD_DEFAULT, "g_signal_handler_disconnect"));
    ASSERT_TRUE(connect && disconnect);
    int resizes = 0;
    auto count = [](void*, void* counter) { ++*static_cast<int*>(counter); };
    unsigned long handler = connect(form->GetHandle(), "check-resize", count, &resizes, nullptr, 0);
    for (int value = 10; value <= 200; value += 10) {
        slider->SetValue(value);
        Pump(20);
    }
    disconnect(form->GetHandle(), handler);
    EXPECT_EQ(resizes, 0);
}

TEST_F(MainWindowTest, PlaylistWindowFollowsTheMainWindow)
{
    FormMain* form = CreateMainWindow();
    ASSERT_NE(PlaylistWindow(), nullptr);
    EXPECT_TRUE(PlaylistWindow()->IsShown());
    form->Move(100, 50);
    EXPECT_TRUE(WaitFor([] { return PlaylistWindow()->GetPosition() == wxPoint(97, 213); }, 3000))
        << PlaylistWindow()->GetPosition().x << "," << PlaylistWindow()->GetPosition().y;
}

TEST_F(MainWindowTest, IconizeWithoutATrayKeepsTheWindowReachable)
{
    if (wxTaskBarIcon::IsAvailable())
        GTEST_SKIP() << "a tray host is running";
    FormMain* form = CreateMainWindow();
    wxIconizeEvent iconize(form->GetId(), true);
    form->GetEventHandler()->ProcessEvent(iconize);
    EXPECT_TRUE(form->IsShown());
    EXPECT_FALSE(form->HasFlag(wxFRAME_NO_TASKBAR));
}

} // namespace
