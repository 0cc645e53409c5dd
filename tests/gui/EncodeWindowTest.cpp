#include <gtest/gtest.h>

#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include "configuration/Design.h"
#include "gui/FormEncode.h"
#include "gui/FormEncodingOptions.h"
#include "gui/ImageButton.h"
#include "lame/TestMp3.h"
#include "lame/TestWav.h"
#include "log/Logger.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

struct Message {
    wxString text;
    wxString caption;
};

class EncodeWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (Logger::GetLogPath().empty())
            s_logger = std::make_unique<Logger>(ExecutableFolder() + "/BrelkosPlayer.log");
        m_parent = new wxFrame(nullptr, wxID_ANY, "parent");
        m_form = new FormEncode(m_parent);
        m_folder = TempFolder();
        FormEncode::SetMessageBoxHook([this](const wxString& text, const wxString& caption) {
            m_messages.push_back({text, caption});
        });
        WatchPaint();
    }
    void TearDown() override
    {
        FormEncode::SetFileChooser(nullptr);
        FormEncode::SetMessageBoxHook(nullptr);
        wxWeakRef<FormEncode> form(m_form);
        m_parent->Destroy();
        EXPECT_TRUE(WaitFor([&form] { return !form; }));
    }

    // A hide before GTK has mapped the window is undone by the late map, as a
    // person never could: show, then wait for the first paint.
    void WatchPaint()
    {
        for (wxWindow* panel : {m_form->GetInputPanel(), m_form->GetProgressPanel()})
            panel->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
                m_painted = true;
                event.Skip();
            });
    }
    void ShowForm()
    {
        m_painted = false;
        m_form->Show();
        ASSERT_TRUE(WaitFor([this] { return m_painted; }));
    }
    void Click(int id)
    {
        ImageButton* button = m_form->GetButton(id);
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(event);
    }
    void Browse(const wxString& path)
    {
        FormEncode::SetFileChooser([path](wxString& chosen) {
            chosen = path;
            return true;
        });
        Click(ID_ENC_BROWSE);
    }
    wxString WriteWav(const wxString& name, const encode_test::WavShape& shape)
    {
        wxString path = m_folder + "/" + name;
        EXPECT_TRUE(encode_test::WriteBytes(std::string(path.utf8_str()), encode_test::MakeWav(shape)));
        return path;
    }
    bool OnInputPanel() const
    {
        return m_form->GetInputPanel()->IsShown() && !m_form->GetProgressPanel()->IsShown();
    }
    bool OnProgressPanel() const
    {
        return !m_form->GetInputPanel()->IsShown() && m_form->GetProgressPanel()->IsShown();
    }

    static std::unique_ptr<Logger> s_logger;
    wxFrame* m_parent = nullptr;
    FormEncode* m_form = nullptr;
    wxString m_folder;
    std::vector<Message> m_messages;
    bool m_painted = false;
};

std::unique_ptr<Logger> EncodeWindowTest::s_logger;

TEST_F(EncodeWindowTest, OpensHiddenOnTheInputPanel)
{
    EXPECT_EQ(m_form->GetTitle(), "Encoder");
    EXPECT_EQ(m_form->GetSize(), wxSize(435, 146));
    EXPECT_FALSE(m_form->IsShown());
    EXPECT_TRUE(m_form->HasFlag(wxFRAME_TOOL_WINDOW));
    EXPECT_TRUE(m_form->HasFlag(wxFRAME_FLOAT_ON_PARENT));
    EXPECT_TRUE(m_form->HasFlag(wxCLOSE_BOX));
    EXPECT_TRUE(OnInputPanel());
    EXPECT_EQ(m_form->GetInputPanel()->GetPosition(), wxPoint(0, 0));
    EXPECT_EQ(m_form->GetProgressPanel()->GetPosition(), wxPoint(0, 0));
    EXPECT_EQ(m_form->GetInputPanel()->GetSize(), m_form->GetClientSize());

    struct Expected {
        wxWindow* window;
        int id;
        wxString label;
        wxRect rect;
        wxPanel* panel;
    };
    wxPanel* input = m_form->GetInputPanel();
    wxPanel* progress = m_form->GetProgressPanel();
    const Expected controls[] = {
        {m_form->GetPathField(), ID_ENC_PATH, "", wxRect(68, 32, 190, 21), input},
        {m_form->GetButton(ID_ENC_BROWSE), ID_ENC_BROWSE, "Parcourir", wxRect(278, 32, 70, 25), input},
        {m_form->GetButton(ID_ENC_CANCEL), ID_ENC_CANCEL, "Annuler", wxRect(23, 81, 90, 32), input},
        {m_form->GetButton(ID_ENC_OPTIONS), ID_ENC_OPTIONS, "Options", wxRect(168, 81, 90, 32), input},
        {m_form->GetButton(ID_ENC_VALIDATE), ID_ENC_VALIDATE, "Valider", wxRect(314, 81, 90, 32), input},
        {m_form->GetButton(ID_ENC_FINISH), ID_ENC_FINISH, "Terminer", wxRect(168, 81, 90, 32), progress},
        {m_form->GetGauge(), ID_ENC_GAUGE, "", wxRect(135, 40, 150, 16), progress},
    };
    for (const Expected& e : controls) {
        ASSERT_NE(e.window, nullptr) << e.id;
        EXPECT_EQ(e.window->GetId(), e.id);
        EXPECT_EQ(e.window->GetRect(), e.rect) << e.id;
        EXPECT_EQ(e.window->GetParent(), e.panel) << e.id;
        if (!e.label.empty()) {
            EXPECT_EQ(e.window->GetLabel(), e.label);
        }
    }
    EXPECT_EQ(m_form->GetPathField()->GetValue(), "");
    EXPECT_EQ(m_form->GetStatusText()->GetLabel(), "Statut");
    EXPECT_EQ(m_form->GetStatusText()->GetPosition(), wxPoint(192, 16));
    EXPECT_EQ(m_form->GetGauge()->GetRange(), 100);
    EXPECT_EQ(m_form->GetGauge()->GetValue(), 0);
    ASSERT_NE(m_form->GetOptionsDialog(), nullptr);
    EXPECT_EQ(m_form->GetOptionsDialog()->GetParent(), m_form);
    EXPECT_FALSE(m_form->GetOptionsDialog()->IsShown());
}

TEST_F(EncodeWindowTest, BrowsingPutsTheMp3BesideTheWav)
{
    const wxString cases[][2] = {
        {"/music/song.wav", "/music/song.mp3"},
        {"/music/my.song.wav", "/music/my.song.mp3"},
        {"/music/take", "/music/take.mp3"},
        {"/music/v1.2/take", "/music/v1.2/take.mp3"}, // a dot in a folder name is not an extension
        {"/music/v1.2/take.WAV", "/music/v1.2/take.mp3"},
    };
    for (const auto& c : cases) {
        Browse(c[0]);
        EXPECT_EQ(m_form->GetPathField()->GetValue(), c[0]);
        EXPECT_EQ(m_form->GetWavPath(), c[0]);
        EXPECT_EQ(m_form->GetMp3Path(), c[1]) << c[0];
    }
}

TEST_F(EncodeWindowTest, CancelledBrowseChangesNothing)
{
    Browse("/music/song.wav");
    FormEncode::SetFileChooser([](wxString& chosen) {
        chosen = "/elsewhere/other.wav";
        return false;
    });
    Click(ID_ENC_BROWSE);
    EXPECT_EQ(m_form->GetPathField()->GetValue(), "/music/song.wav");
    EXPECT_EQ(m_form->GetWavPath(), "/music/song.wav");
    EXPECT_EQ(m_form->GetMp3Path(), "/music/song.mp3");
}

TEST_F(EncodeWindowTest, EditingTheFieldMovesOnlyTheWavPath)
{
    Browse("/music/song.wav");
    m_form->GetPathField()->SetValue("/music/other.wav");
    EXPECT_EQ(m_form->GetWavPath(), "/music/other.wav");
    EXPECT_EQ(m_form->GetMp3Path(), "/music/song.mp3");
}

TEST_F(EncodeWindowTest, ValiderWithoutMp3PathOnlyLogs)
{
    ShowForm();
    m_form->GetPathField()->SetValue(m_folder + "/typed.wav");
    Click(ID_ENC_VALIDATE);
    Pump(20);
    EXPECT_TRUE(OnInputPanel());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_NE(ReadLog().find("ERROR : FormEncode :: BtnValidateClick - Void file names"), wxString::npos);
}

TEST_F(EncodeWindowTest, CancelHidesAndKeepsEverything)
{
    Browse("/music/song.wav");
    ShowForm();
    Click(ID_ENC_CANCEL);
    EXPECT_FALSE(m_form->IsShown());
    ShowForm();
    EXPECT_TRUE(OnInputPanel());
    EXPECT_EQ(m_form->GetPathField()->GetValue(), "/music/song.wav");
    EXPECT_EQ(m_form->GetWavPath(), "/music/song.wav");
    EXPECT_EQ(m_form->GetMp3Path(), "/music/song.mp3");
}

TEST_F(EncodeWindowTest, OptionsButtonShowsTheDialog)
{
    ShowForm();
    Click(ID_ENC_OPTIONS);
    EXPECT_TRUE(m_form->GetOptionsDialog()->IsShown());
}

TEST_F(EncodeWindowTest, CloseBoxOnlyHides)
{
    ShowForm();
    m_form->Close();
    Pump(20);
    EXPECT_FALSE(m_form->IsShown());
    EXPECT_FALSE(m_form->IsBeingDeleted());
}

// Progress, then the end, reach the window in order: when it hides, the gauge
// already shows the last block.
TEST_F(EncodeWindowTest, SuccessfulConversionHidesAndReturnsToInput)
{
    encode_test::WavShape shape;
    shape.frames = 44100 * 3;
    const wxString wav = WriteWav("song.wav", shape);
    Browse(wav);
    m_form->GetOptions().targetSampleRate = 44100;
    ShowForm();
    Click(ID_ENC_VALIDATE);
    EXPECT_TRUE(OnProgressPanel());
    EXPECT_TRUE(m_form->IsShown());
    ASSERT_TRUE(WaitFor([this] { return !m_form->IsShown(); }, 30000));
    EXPECT_EQ(m_form->GetGauge()->GetValue(), 100);
    EXPECT_TRUE(OnInputPanel());
    EXPECT_TRUE(m_messages.empty());

    const std::string mp3 = std::string((m_folder + "/song.mp3").utf8_str());
    std::vector<encode_test::Mp3Frame> frames = encode_test::ScanMp3(encode_test::ReadBytes(mp3));
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front().sampleRate, 44100);
    EXPECT_EQ(frames.front().bitrate, 160);

    // The paths survive, so the same file converts again.
    ShowForm();
    EXPECT_EQ(m_form->GetWavPath(), wav);
    Click(ID_ENC_VALIDATE);
    EXPECT_EQ(m_form->GetGauge()->GetValue(), 0);
    ASSERT_TRUE(WaitFor([this] { return !m_form->IsShown(); }, 30000));
}

TEST_F(EncodeWindowTest, FailedConversionShowsItsMessageAndWaitsForTerminer)
{
    encode_test::WavShape shape;
    shape.sampleRate = 96000;
    shape.frames = 1000;
    Browse(WriteWav("loud.wav", shape));
    ShowForm();
    Click(ID_ENC_VALIDATE);
    ASSERT_TRUE(WaitFor([this] { return !m_messages.empty(); }, 30000));
    EXPECT_EQ(m_messages[0].text, wxString::FromUTF8("Sample Rate non supporté"));
    EXPECT_EQ(m_messages[0].caption, wxString::FromUTF8("Erreur de conversion de WAV à MP3"));
    Pump(100);
    EXPECT_TRUE(m_form->IsShown());
    EXPECT_TRUE(OnProgressPanel());
    EXPECT_FALSE(wxFileExists(m_folder + "/loud.mp3"));
    Click(ID_ENC_FINISH);
    EXPECT_FALSE(m_form->IsShown());
    EXPECT_TRUE(OnInputPanel());
}

// Browsing song.wav and then typing song.mp3 would make the conversion
// truncate its own input.
TEST_F(EncodeWindowTest, TypedPathOfTheMp3IsRefused)
{
    encode_test::WavShape shape;
    shape.frames = 5000;
    Browse(WriteWav("song.wav", shape));
    const wxString mp3 = m_folder + "/song.mp3";
    const std::string original = encode_test::MakeWav(shape);
    ASSERT_TRUE(encode_test::WriteBytes(std::string(mp3.utf8_str()), original));
    m_form->GetPathField()->SetValue(mp3);
    ShowForm();
    Click(ID_ENC_VALIDATE);
    ASSERT_TRUE(WaitFor([this] { return !m_messages.empty(); }, 30000));
    EXPECT_EQ(m_messages[0].text,
              wxString::FromUTF8("Le fichier WAV et le fichier MP3 sont le même fichier"));
    EXPECT_EQ(encode_test::ReadBytes(std::string(mp3.utf8_str())), original);
    EXPECT_TRUE(OnProgressPanel());
}

// The window goes only when the program ends: a conversion still running
// stops first and takes its unfinished MP3 with it.
TEST_F(EncodeWindowTest, ClosingTheProgramStopsARunningConversion)
{
    encode_test::WavShape shape;
    shape.frames = 44100 * 60;
    Browse(WriteWav("long.wav", shape));
    m_form->GetOptions().quality = 3; // the slowest, so it is still running below
    m_form->GetOptions().targetSampleRate = 44100;
    ShowForm();
    const size_t logStart = ReadLog().size();
    Click(ID_ENC_VALIDATE);
    ASSERT_TRUE(WaitFor([this] { return m_form->GetGauge()->GetValue() > 0; }, 30000));
    wxWeakRef<FormEncode> form(m_form);
    m_parent->Destroy();
    ASSERT_TRUE(WaitFor([&form] { return !form; }));
    const wxString log = ReadLog().Mid(logStart);
    EXPECT_NE(log.find("EncoderThread :: Encode - Stopped"), wxString::npos);
    EXPECT_NE(log.find("EncoderThread :: Encode - Unfinished MP3 file removed"), wxString::npos);
    EXPECT_EQ(log.find("EncoderThread :: Encode - End"), wxString::npos);
    EXPECT_FALSE(wxFileExists(m_folder + "/long.mp3"));
    m_parent = new wxFrame(nullptr, wxID_ANY, "parent");
    m_form = new FormEncode(m_parent);
}

TEST_F(EncodeWindowTest, DesignColoursTheWindowAndItsDialog)
{
    m_form->SetSimpleDesign(nullptr);
    EXPECT_NE(ReadLog().find("ERROR : FormEncode :: SetSimpleDesign - Design Null"), wxString::npos);
    EXPECT_EQ(m_form->GetDesign(), nullptr);

    Design design;
    design.generalColor = wxColour(10, 20, 30);
    design.generalTxtColor = wxColour(200, 210, 220);
    design.listColor = wxColour(1, 2, 3);
    design.listTxtColor = wxColour(250, 240, 230);
    for (int i = 0; i < 4; ++i) {
        design.btnColors[i] = wxColour(100 + i, 0, 0);
        design.btnTxtColors[i] = wxColour(0, 100 + i, 0);
    }
    m_form->SetSimpleDesign(&design);
    EXPECT_EQ(m_form->GetDesign(), &design);
    EXPECT_EQ(m_form->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_form->GetInputPanel()->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_form->GetProgressPanel()->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_form->GetGauge()->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_form->GetGauge()->GetForegroundColour(), design.generalTxtColor);
    EXPECT_EQ(m_form->GetPathField()->GetBackgroundColour(), design.listColor);
    EXPECT_EQ(m_form->GetPathField()->GetForegroundColour(), design.listTxtColor);
    for (int id : {ID_ENC_BROWSE, ID_ENC_VALIDATE, ID_ENC_CANCEL, ID_ENC_FINISH, ID_ENC_OPTIONS}) {
        ImageButton* button = m_form->GetButton(id);
        EXPECT_EQ(button->GetOuterColour(), design.generalColor) << id;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(button->GetFaceColour(i), design.btnColors[i]) << id;
            EXPECT_EQ(button->GetTextColour(i), design.btnTxtColors[i]) << id;
        }
    }
    EXPECT_EQ(m_form->GetOptionsDialog()->GetDesign(), &design);
}

} // namespace
