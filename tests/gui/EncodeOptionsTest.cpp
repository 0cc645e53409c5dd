#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobox.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "configuration/Design.h"
#include "gui/FormEncodingOptions.h"
#include "gui/ImageButton.h"
#include "log/Logger.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

bool SameOptions(const EncodingOptions& a, const EncodingOptions& b)
{
    return a.vbr == b.vbr && a.cbrBitrate == b.cbrBitrate && a.vbrMinBitrate == b.vbrMinBitrate &&
           a.vbrMaxBitrate == b.vbrMaxBitrate && a.vbrQuality == b.vbrQuality &&
           a.strictVbrMin == b.strictVbrMin && a.xingTag == b.xingTag && a.quality == b.quality &&
           a.targetSampleRate == b.targetSampleRate && a.voiceMode == b.voiceMode &&
           a.keepAllFrequencies == b.keepAllFrequencies && a.strictIso == b.strictIso &&
           a.disableShortBlocks == b.disableShortBlocks && a.modeFixed == b.modeFixed && a.mode == b.mode;
}

void Send(wxWindow* control, wxCommandEvent& event)
{
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
}

class EncodeOptionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (Logger::GetLogPath().empty())
            s_logger = std::make_unique<Logger>(ExecutableFolder() + "/BrelkosPlayer.log");
        m_parent = new wxFrame(nullptr, wxID_ANY, "parent");
        m_dialog = new FormEncodingOptions(m_parent, &m_target);
        m_dialog->GetGeneralPage()->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            m_painted = true;
            event.Skip();
        });
    }
    void TearDown() override
    {
        m_parent->Destroy();
        Pump(20);
    }

    // A hide before GTK has mapped the window is undone by the late map, as a
    // person never could: show, then wait for the first paint.
    void ShowDialog()
    {
        m_painted = false;
        m_dialog->Show();
        ASSERT_TRUE(WaitFor([this] { return m_painted; }));
    }
    void Click(int id)
    {
        wxCommandEvent event(wxEVT_BUTTON, id);
        Send(m_dialog->GetButton(id), event);
    }
    void Choose(int listId, int index)
    {
        wxComboBox* list = m_dialog->GetList(listId);
        if (index >= 0 && index < static_cast<int>(list->GetCount()))
            list->SetSelection(index);
        wxCommandEvent event(wxEVT_COMBOBOX, listId);
        event.SetInt(index);
        Send(list, event);
    }
    void Radio(wxRadioBox* box, int selection)
    {
        if (selection >= 0 && selection < static_cast<int>(box->GetCount()))
            box->SetSelection(selection);
        wxCommandEvent event(wxEVT_RADIOBOX, box->GetId());
        event.SetInt(selection);
        Send(box, event);
    }
    void Tick(int id, bool on)
    {
        wxCheckBox* box = m_dialog->GetCheckBox(id);
        box->SetValue(on);
        wxCommandEvent event(wxEVT_CHECKBOX, id);
        event.SetInt(on ? 1 : 0);
        Send(box, event);
    }
    void Slide(wxEventType type, int position)
    {
        wxSlider* slider = m_dialog->GetQualitySlider();
        slider->SetValue(position);
        wxScrollEvent event(type, ID_OPT_QUALITY, position, wxHORIZONTAL);
        event.SetEventObject(slider);
        slider->GetEventHandler()->ProcessEvent(event);
    }

    static std::unique_ptr<Logger> s_logger;
    wxFrame* m_parent = nullptr;
    FormEncodingOptions* m_dialog = nullptr;
    EncodingOptions m_target;
    bool m_painted = false;
};

std::unique_ptr<Logger> EncodeOptionsTest::s_logger;

TEST_F(EncodeOptionsTest, OpensHiddenWithTheDefaultsShown)
{
    EXPECT_EQ(m_dialog->GetTitle(), wxString::FromUTF8("Options d'encodage"));
    EXPECT_EQ(m_dialog->GetSize(), wxSize(434, 258));
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_EQ(m_dialog->GetParent(), m_parent);
    EXPECT_TRUE(m_dialog->HasFlag(wxFRAME_TOOL_WINDOW));
    EXPECT_TRUE(m_dialog->HasFlag(wxFRAME_FLOAT_ON_PARENT));
    EXPECT_TRUE(m_dialog->HasFlag(wxCLOSE_BOX));

    wxNotebook* notebook = m_dialog->GetNotebook();
    ASSERT_EQ(notebook->GetPageCount(), 2u);
    EXPECT_EQ(notebook->GetPageText(0), "General");
    EXPECT_EQ(notebook->GetPageText(1), wxString::FromUTF8("Avancé"));

    // Each list sits in its group, so enabling the group enables the list.
    struct ListCase {
        int id;
        unsigned count;
        const char* shown;
        wxWindow* parent;
    };
    const ListCase lists[] = {
        {ID_OPT_CBR, 17, "160 kbps", m_dialog->GetCbrBox()},
        {ID_OPT_VBR_MIN, 17, "160 kbps", m_dialog->GetVbrBox()},
        {ID_OPT_VBR_MAX, 17, "160 kbps", m_dialog->GetVbrBox()},
        {ID_OPT_VBR_QUALITY, 10, "5 - ~1:9", m_dialog->GetVbrBox()},
        {ID_OPT_SAMPLE_RATE, 6, "22.05 kHz", m_dialog->GetGeneralPage()},
    };
    for (const ListCase& l : lists) {
        wxComboBox* list = m_dialog->GetList(l.id);
        ASSERT_NE(list, nullptr) << l.id;
        EXPECT_EQ(list->GetId(), l.id);
        EXPECT_EQ(list->GetCount(), l.count) << l.id;
        EXPECT_EQ(list->GetValue(), l.shown) << l.id;
        EXPECT_TRUE(list->HasFlag(wxCB_READONLY)) << l.id;
        EXPECT_EQ(list->GetParent(), l.parent) << l.id;
    }
    EXPECT_EQ(m_dialog->GetList(ID_OPT_CBR)->GetString(12), "144 kbps");
    EXPECT_EQ(m_dialog->GetList(ID_OPT_CBR)->GetString(14), "192 kbps");
    EXPECT_EQ(m_dialog->GetList(ID_OPT_VBR_QUALITY)->GetString(9), "9 - ~1:14");
    EXPECT_EQ(m_dialog->GetList(ID_OPT_SAMPLE_RATE)->GetString(1), "44.1 kHz");

    EXPECT_EQ(m_dialog->GetEncodingTypeBox()->GetSelection(), 0);
    EXPECT_EQ(m_dialog->GetEncodingTypeBox()->GetString(1), "Variable Bit Rate");
    EXPECT_TRUE(m_dialog->GetCbrBox()->IsEnabled());
    EXPECT_FALSE(m_dialog->GetVbrBox()->IsEnabled());
    EXPECT_FALSE(m_dialog->GetList(ID_OPT_VBR_MIN)->IsEnabled());
    EXPECT_EQ(m_dialog->GetQualityLabel()->GetLabel(), "High");
    EXPECT_EQ(m_dialog->GetQualitySlider()->GetValue(), 0);
    EXPECT_EQ(m_dialog->GetQualitySlider()->GetMax(), 10);

    const std::pair<int, const char*> boxes[] = {{ID_OPT_STRICT_VBR_MIN, "Strictly Enforce VBR min bit rate"},
                                                 {ID_OPT_VOICE, "Voice Encoding Mode"},
                                                 {ID_OPT_KEEP_FREQUENCIES, "Keep All Frequencies"},
                                                 {ID_OPT_STRICT_ISO, "Strict ISO Complience"},
                                                 {ID_OPT_NO_SHORT_BLOCKS, "Disable Short Blocks"},
                                                 {ID_OPT_XING, "Enable Xing VBR Tag"},
                                                 {ID_OPT_MODE_FIXED, "Mode Fixed"}};
    for (const auto& b : boxes) {
        wxCheckBox* box = m_dialog->GetCheckBox(b.first);
        ASSERT_NE(box, nullptr) << b.second;
        EXPECT_EQ(box->GetLabel(), b.second);
        EXPECT_FALSE(box->GetValue()) << b.second;
    }
    EXPECT_EQ(m_dialog->GetModeBox()->GetCount(), 4u);
    EXPECT_EQ(m_dialog->GetModeBox()->GetSelection(), 0);
    EXPECT_EQ(m_dialog->GetButton(ID_OPT_VALIDATE)->GetLabel(), "Valider");
    EXPECT_EQ(m_dialog->GetButton(ID_OPT_CANCEL)->GetLabel(), "Annuler");
    EXPECT_TRUE(SameOptions(m_dialog->GetWorkingCopy(), EncodingOptions()));
}

TEST_F(EncodeOptionsTest, EncodingTypeSwitchesBetweenTheTwoGroups)
{
    Radio(m_dialog->GetEncodingTypeBox(), 1);
    EXPECT_TRUE(m_dialog->GetWorkingCopy().vbr);
    EXPECT_TRUE(m_dialog->GetVbrBox()->IsEnabled());
    EXPECT_TRUE(m_dialog->GetList(ID_OPT_VBR_MAX)->IsEnabled());
    EXPECT_FALSE(m_dialog->GetCbrBox()->IsEnabled());
    EXPECT_FALSE(m_dialog->GetList(ID_OPT_CBR)->IsEnabled());
    Radio(m_dialog->GetEncodingTypeBox(), 0);
    EXPECT_FALSE(m_dialog->GetWorkingCopy().vbr);
    EXPECT_FALSE(m_dialog->GetVbrBox()->IsEnabled());
    EXPECT_TRUE(m_dialog->GetCbrBox()->IsEnabled());
}

TEST_F(EncodeOptionsTest, ListsStoreTheirTableEntries)
{
    struct Case {
        int list;
        int index;
        int EncodingOptions::*field;
        int expected;
    };
    const Case cases[] = {
        {ID_OPT_CBR, 0, &EncodingOptions::cbrBitrate, 8},
        {ID_OPT_CBR, 12, &EncodingOptions::cbrBitrate, 144},
        {ID_OPT_CBR, 16, &EncodingOptions::cbrBitrate, 320},
        {ID_OPT_CBR, 17, &EncodingOptions::cbrBitrate, 320}, // outside the table: unchanged
        {ID_OPT_CBR, -1, &EncodingOptions::cbrBitrate, 320},
        {ID_OPT_VBR_MIN, 16, &EncodingOptions::vbrMinBitrate, 320},
        {ID_OPT_VBR_MAX, 3, &EncodingOptions::vbrMaxBitrate, 32}, // a minimum above the maximum stays
        {ID_OPT_VBR_MAX, 40, &EncodingOptions::vbrMaxBitrate, 32},
        {ID_OPT_VBR_QUALITY, 0, &EncodingOptions::vbrQuality, 0},
        {ID_OPT_VBR_QUALITY, 9, &EncodingOptions::vbrQuality, 9},
        {ID_OPT_SAMPLE_RATE, 5, &EncodingOptions::targetSampleRate, 16000},
        {ID_OPT_SAMPLE_RATE, 1, &EncodingOptions::targetSampleRate, 44100},
        {ID_OPT_SAMPLE_RATE, 0, &EncodingOptions::targetSampleRate, 48000},
        {ID_OPT_SAMPLE_RATE, 6, &EncodingOptions::targetSampleRate, 48000},
    };
    for (const Case& c : cases) {
        Choose(c.list, c.index);
        EXPECT_EQ(m_dialog->GetWorkingCopy().*c.field, c.expected)
            << "list " << c.list << " index " << c.index;
    }
    EXPECT_EQ(m_dialog->GetWorkingCopy().vbrMinBitrate, 320);
    EXPECT_EQ(m_target.cbrBitrate, 160) << "only Valider reaches the window's record";
}

TEST_F(EncodeOptionsTest, QualitySliderActsOnlyWhileDragged)
{
    struct Case {
        int position;
        const char* label;
        int code;
    };
    const Case cases[] = {{3, "Medium", 2}, {10, "Fast Mode", 0}, {0, "High", 3}, {2, "High", 3},
                          {4, "Medium", 2}, {5, "Low", 1},        {7, "Low", 1},  {8, "Fast Mode", 0}};
    for (const Case& c : cases) {
        Slide(wxEVT_SCROLL_THUMBTRACK, c.position);
        EXPECT_EQ(m_dialog->GetQualityLabel()->GetLabel(), c.label) << c.position;
        EXPECT_EQ(m_dialog->GetWorkingCopy().quality, c.code) << c.position;
    }
    // Keyboard steps and clicks beside the thumb leave label and code alone.
    for (wxEventType type : {wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_CHANGED}) {
        Slide(type, 4);
        EXPECT_EQ(m_dialog->GetQualityLabel()->GetLabel(), "Fast Mode");
        EXPECT_EQ(m_dialog->GetWorkingCopy().quality, 0);
    }
}

TEST_F(EncodeOptionsTest, CheckBoxesSetOnlyTheirOwnFlag)
{
    struct Case {
        int id;
        bool EncodingOptions::*field;
    };
    const Case cases[] = {{ID_OPT_STRICT_VBR_MIN, &EncodingOptions::strictVbrMin},
                          {ID_OPT_VOICE, &EncodingOptions::voiceMode},
                          {ID_OPT_KEEP_FREQUENCIES, &EncodingOptions::keepAllFrequencies},
                          {ID_OPT_STRICT_ISO, &EncodingOptions::strictIso},
                          {ID_OPT_NO_SHORT_BLOCKS, &EncodingOptions::disableShortBlocks},
                          {ID_OPT_XING, &EncodingOptions::xingTag},
                          {ID_OPT_MODE_FIXED, &EncodingOptions::modeFixed}};
    for (const Case& c : cases) {
        EncodingOptions expected = m_dialog->GetWorkingCopy();
        Tick(c.id, true);
        expected.*c.field = true;
        EXPECT_TRUE(SameOptions(m_dialog->GetWorkingCopy(), expected)) << c.id;
        Tick(c.id, false);
        expected.*c.field = false;
        EXPECT_TRUE(SameOptions(m_dialog->GetWorkingCopy(), expected)) << c.id;
    }
}

TEST_F(EncodeOptionsTest, ModeSelectionStoresTheMode)
{
    const int cases[][2] = {{1, 1}, {2, 2}, {3, 3}, {0, 0}, {7, 3}, {-1, 3}};
    for (const auto& c : cases) {
        Radio(m_dialog->GetModeBox(), c[0]);
        EXPECT_EQ(m_dialog->GetWorkingCopy().mode, c[1]) << c[0];
    }
}

TEST_F(EncodeOptionsTest, CancelKeepsTheWorkingCopyForALaterValider)
{
    ShowDialog();
    Radio(m_dialog->GetEncodingTypeBox(), 1);
    Click(ID_OPT_CANCEL);
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_FALSE(m_target.vbr);
    ShowDialog();
    Click(ID_OPT_VALIDATE);
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_TRUE(m_target.vbr);
}

TEST_F(EncodeOptionsTest, ValiderCopiesEveryField)
{
    Radio(m_dialog->GetEncodingTypeBox(), 1);
    Choose(ID_OPT_CBR, 3);
    Choose(ID_OPT_VBR_MIN, 14);
    Choose(ID_OPT_VBR_MAX, 2);
    Choose(ID_OPT_VBR_QUALITY, 7);
    Choose(ID_OPT_SAMPLE_RATE, 0);
    Slide(wxEVT_SCROLL_THUMBTRACK, 6);
    Tick(ID_OPT_STRICT_ISO, true);
    Tick(ID_OPT_XING, true);
    Radio(m_dialog->GetModeBox(), 2);
    Click(ID_OPT_VALIDATE);
    EXPECT_TRUE(SameOptions(m_target, m_dialog->GetWorkingCopy()));
    EXPECT_EQ(m_target.vbrMinBitrate, 192);
    EXPECT_EQ(m_target.vbrMaxBitrate, 24);
    EXPECT_EQ(m_target.quality, 1);
    EXPECT_EQ(m_target.mode, 2);
    EXPECT_EQ(m_target.targetSampleRate, 48000);
}

TEST_F(EncodeOptionsTest, UntouchedSliderPassesQualityZero)
{
    m_target.quality = 2;
    Click(ID_OPT_VALIDATE);
    EXPECT_EQ(m_dialog->GetQualityLabel()->GetLabel(), "High");
    EXPECT_EQ(m_target.quality, 0);
}

TEST_F(EncodeOptionsTest, CloseBoxOnlyHides)
{
    ShowDialog();
    m_dialog->Close();
    Pump(20);
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_FALSE(m_dialog->IsBeingDeleted());
    EXPECT_EQ(m_dialog->GetParent(), m_parent);
}

TEST_F(EncodeOptionsTest, DesignColoursTheDialog)
{
    const wxString before = ReadLog();
    m_dialog->SetSimpleDesign(nullptr);
    EXPECT_NE(ReadLog().find("ERROR : FormEncodingOptions :: SetSimpleDesign - Design Null"), wxString::npos);
    EXPECT_EQ(m_dialog->GetDesign(), nullptr);

    Design design;
    design.generalColor = wxColour(10, 20, 30);
    design.generalTxtColor = wxColour(200, 210, 220);
    design.listColor = wxColour(1, 2, 3);
    design.listTxtColor = wxColour(250, 240, 230);
    for (int i = 0; i < 4; ++i) {
        design.btnColors[i] = wxColour(100 + i, 0, 0);
        design.btnTxtColors[i] = wxColour(0, 100 + i, 0);
    }
    m_dialog->SetSimpleDesign(&design);
    EXPECT_EQ(m_dialog->GetDesign(), &design);
    EXPECT_EQ(m_dialog->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_dialog->GetNotebook()->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_dialog->GetGeneralPage()->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_dialog->GetAdvancedPage()->GetBackgroundColour(), design.generalColor);
    for (int id : {ID_OPT_STRICT_VBR_MIN, ID_OPT_MODE_FIXED}) {
        EXPECT_EQ(m_dialog->GetCheckBox(id)->GetBackgroundColour(), design.generalColor);
        EXPECT_EQ(m_dialog->GetCheckBox(id)->GetForegroundColour(), design.generalTxtColor);
    }
    for (int id : {ID_OPT_CBR, ID_OPT_VBR_MIN, ID_OPT_VBR_MAX, ID_OPT_VBR_QUALITY, ID_OPT_SAMPLE_RATE}) {
        EXPECT_EQ(m_dialog->GetList(id)->GetBackgroundColour(), design.listColor) << id;
        EXPECT_EQ(m_dialog->GetList(id)->GetForegroundColour(), design.listTxtColor) << id;
    }
    for (int id : {ID_OPT_VALIDATE, ID_OPT_CANCEL}) {
        ImageButton* button = m_dialog->GetButton(id);
        EXPECT_EQ(button->GetOuterColour(), design.generalColor);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(button->GetFaceColour(i), design.btnColors[i]);
            EXPECT_EQ(button->GetTextColour(i), design.btnTxtColors[i]);
        }
    }
}

} // namespace
