#include "gui/FormEncodingOptions.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobox.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "configuration/Design.h"
#include "gui/FrameEvents.h"
#include "gui/ImageButton.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

namespace {

const long kFrameStyle =
    wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT;

struct CheckOption {
    int id;
    const char* label;
    int y;
    bool EncodingOptions::*field;
};

const CheckOption kCheckOptions[7] = {
    {ID_OPT_STRICT_VBR_MIN, "Strictly Enforce VBR min bit rate", 12, &EncodingOptions::strictVbrMin},
    {ID_OPT_VOICE, "Voice Encoding Mode", 30, &EncodingOptions::voiceMode},
    {ID_OPT_KEEP_FREQUENCIES, "Keep All Frequencies", 48, &EncodingOptions::keepAllFrequencies},
    {ID_OPT_STRICT_ISO, "Strict ISO Complience", 66, &EncodingOptions::strictIso},
    {ID_OPT_NO_SHORT_BLOCKS, "Disable Short Blocks", 84, &EncodingOptions::disableShortBlocks},
    {ID_OPT_XING, "Enable Xing VBR Tag", 102, &EncodingOptions::xingTag},
    {ID_OPT_MODE_FIXED, "Mode Fixed", 120, &EncodingOptions::modeFixed},
};

wxArrayString BitrateLabels()
{
    wxArrayString labels;
    for (int i = 0; i < EncodingOptions::kBitrateCount; ++i)
        labels.Add(wxString::Format("%d kbps", EncodingOptions::BitrateAt(i)));
    return labels;
}

wxArrayString SampleRateLabels()
{
    wxArrayString labels;
    for (const char* label : {"48 kHz", "44.1 kHz", "32 kHz", "24 kHz", "22.05 kHz", "16 kHz"})
        labels.Add(label);
    return labels;
}

wxArrayString VbrQualityLabels()
{
    wxArrayString labels;
    for (const char* label : {"0 - ~1:4", "1 - ~1:5", "2 - ~1:6", "3 - ~1:7", "4 - ~1:8", "5 - ~1:9",
                              "6 - ~1:10", "7 - ~1:11", "8 - ~1:12", "9 - ~1:14"})
        labels.Add(label);
    return labels;
}

wxComboBox* MakeList(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                     const wxArrayString& labels, int selection)
{
    auto* list = new wxComboBox(parent, id, wxEmptyString, pos, size, labels, wxCB_READONLY | wxCB_DROPDOWN);
    list->SetSelection(selection);
    return list;
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(FormEncodingOptions, wxFrame)
    EVT_BUTTON(ID_OPT_VALIDATE, FormEncodingOptions::BtnValidateClick)
    EVT_BUTTON(ID_OPT_CANCEL, FormEncodingOptions::BtnCancelClick)
    EVT_RADIOBOX(ID_OPT_ENCODING_TYPE, FormEncodingOptions::RadioEncodingTypeClick)
    EVT_COMBOBOX(ID_OPT_CBR, FormEncodingOptions::ComboCbrSelect)
    EVT_COMBOBOX(ID_OPT_VBR_MIN, FormEncodingOptions::ComboVbrMinSelect)
    EVT_COMBOBOX(ID_OPT_VBR_MAX, FormEncodingOptions::ComboVbrMaxSelect)
    EVT_COMBOBOX(ID_OPT_VBR_QUALITY, FormEncodingOptions::ComboVbrQualitySelect)
    EVT_COMBOBOX(ID_OPT_SAMPLE_RATE, FormEncodingOptions::ComboSampleRateSelect)
    EVT_COMMAND_SCROLL_THUMBTRACK(ID_OPT_QUALITY, FormEncodingOptions::SliderQualityTrack)
    EVT_CHECKBOX(ID_OPT_STRICT_VBR_MIN, FormEncodingOptions::CheckOptionClick)
    EVT_CHECKBOX(ID_OPT_VOICE, FormEncodingOptions::CheckOptionClick)
    EVT_CHECKBOX(ID_OPT_KEEP_FREQUENCIES, FormEncodingOptions::CheckOptionClick)
    EVT_CHECKBOX(ID_OPT_STRICT_ISO, FormEncodingOptions::CheckOptionClick)
    EVT_CHECKBOX(ID_OPT_NO_SHORT_BLOCKS, FormEncodingOptions::CheckOptionClick)
    EVT_CHECKBOX(ID_OPT_XING, FormEncodingOptions::CheckOptionClick)
    EVT_CHECKBOX(ID_OPT_MODE_FIXED, FormEncodingOptions::CheckOptionClick)
    EVT_RADIOBOX(ID_OPT_MODE, FormEncodingOptions::RadioModeClick)
    EVT_CLOSE(FormEncodingOptions::_onClose)
wxEND_EVENT_TABLE()
// clang-format on

FormEncodingOptions::FormEncodingOptions(wxWindow* parent, EncodingOptions* target)
    : wxFrame(parent, wxID_ANY, wxString::FromUTF8("Options d'encodage"), wxDefaultPosition, wxSize(434, 258),
              kFrameStyle),
      m_target(target)
{
    KeepEventsInFrame(this);
    // GTK's notebook has no flat look; the default tabs stand in for it.
    m_notebook = new wxNotebook(this, wxID_ANY, wxPoint(0, 0), wxSize(426, 184));
    m_generalPage = new wxPanel(m_notebook, wxID_ANY, wxPoint(0, 0), wxSize(426, 184));
    m_advancedPage = new wxPanel(m_notebook, wxID_ANY, wxPoint(0, 0), wxSize(426, 184));
    m_notebook->AddPage(m_generalPage, "General");
    m_notebook->AddPage(m_advancedPage, wxString::FromUTF8("Avancé"));
    _createGeneralPage();
    _createAdvancedPage();
    m_validate = new ImageButton(this, ID_OPT_VALIDATE, "Valider", wxPoint(282, 191), wxSize(90, 32));
    m_cancel = new ImageButton(this, ID_OPT_CANCEL, "Annuler", wxPoint(76, 191), wxSize(90, 32));
}

void FormEncodingOptions::_createGeneralPage()
{
    wxArrayString types;
    types.Add("Constant Bit Rate");
    types.Add("Variable Bit Rate");
    m_encodingType = new wxRadioBox(m_generalPage, ID_OPT_ENCODING_TYPE, "Encoding Type", wxPoint(0, 0),
                                    wxSize(425, 36), types, 2, wxRA_SPECIFY_COLS);
    m_encodingType->SetSelection(m_working.vbr ? 1 : 0);

    const wxArrayString bitrates = BitrateLabels();
    m_cbrBox = new wxStaticBox(m_generalPage, wxID_ANY, "CBR Options", wxPoint(0, 35), wxSize(201, 57));
    new wxStaticText(m_cbrBox, wxID_ANY, "Kbit/s", wxPoint(11, 28));
    m_cbrList = MakeList(m_cbrBox, ID_OPT_CBR, wxPoint(44, 24), wxSize(145, 21), bitrates,
                         EncodingOptions::BitrateIndex(m_working.cbrBitrate));

    m_vbrBox = new wxStaticBox(m_generalPage, wxID_ANY, "VBR Options", wxPoint(216, 35), wxSize(210, 98));
    new wxStaticText(m_vbrBox, wxID_ANY, "Min.", wxPoint(10, 19));
    m_vbrMinList = MakeList(m_vbrBox, ID_OPT_VBR_MIN, wxPoint(52, 16), wxSize(145, 21), bitrates,
                            EncodingOptions::BitrateIndex(m_working.vbrMinBitrate));
    new wxStaticText(m_vbrBox, wxID_ANY, "Max.", wxPoint(10, 46));
    m_vbrMaxList = MakeList(m_vbrBox, ID_OPT_VBR_MAX, wxPoint(52, 43), wxSize(145, 21), bitrates,
                            EncodingOptions::BitrateIndex(m_working.vbrMaxBitrate));
    new wxStaticText(m_vbrBox, wxID_ANY, "VBR Quality", wxPoint(10, 74));
    m_vbrQualityList = MakeList(m_vbrBox, ID_OPT_VBR_QUALITY, wxPoint(73, 70), wxSize(124, 21),
                                VbrQualityLabels(), m_working.vbrQuality);
    m_vbrBox->Enable(m_working.vbr);
    m_cbrBox->Enable(!m_working.vbr);

    new wxStaticText(m_generalPage, wxID_ANY, "Encoding Quality", wxPoint(11, 98));
    m_qualityLabel = new wxStaticText(m_generalPage, wxID_ANY, QualityLabel(0), wxPoint(141, 98));
    // GTK will not draw a slider below its themed height: keep the box and
    // grow it around its centre line when the theme needs more.
    const wxPoint sliderPos(0, 116);
    const wxSize sliderSize(201, 14);
    m_qualitySlider =
        new wxSlider(m_generalPage, ID_OPT_QUALITY, 0, 0, 10, sliderPos, sliderSize, wxSL_HORIZONTAL);
    int needed = m_qualitySlider->GetBestSize().y;
    if (needed > sliderSize.y)
        m_qualitySlider->SetSize(sliderPos.x, sliderPos.y - (needed - sliderSize.y) / 2, sliderSize.x,
                                 needed);

    new wxStaticText(m_generalPage, wxID_ANY, "Target Sample Rate", wxPoint(7, 140));
    m_sampleRateList =
        MakeList(m_generalPage, ID_OPT_SAMPLE_RATE, wxPoint(108, 136), wxSize(102, 21), SampleRateLabels(),
                 EncodingOptions::SampleRateIndex(m_working.targetSampleRate));
}

void FormEncodingOptions::_createAdvancedPage()
{
    for (size_t i = 0; i < 7; ++i) {
        const CheckOption& option = kCheckOptions[i];
        m_checkBoxes[i] = new wxCheckBox(m_advancedPage, option.id, option.label, wxPoint(7, option.y));
        m_checkBoxes[i]->SetValue(m_working.*option.field);
    }
    wxArrayString modes;
    modes.Add("Standard Stereo");
    modes.Add("Joint Stereo");
    modes.Add("Dual Channel");
    modes.Add("Mono");
    m_modeBox = new wxRadioBox(m_advancedPage, ID_OPT_MODE, "Mode Selection", wxPoint(256, 17),
                               wxSize(122, 105), modes, 1, wxRA_SPECIFY_COLS);
    m_modeBox->SetSelection(m_working.mode);
}

wxString FormEncodingOptions::QualityLabel(int position)
{
    switch (EncodingOptions::QualityForSlider(position)) {
    case 3: return "High";
    case 2: return "Medium";
    case 1: return "Low";
    default: return "Fast Mode";
    }
}

wxComboBox* FormEncodingOptions::GetList(int id) const
{
    switch (id) {
    case ID_OPT_CBR: return m_cbrList;
    case ID_OPT_VBR_MIN: return m_vbrMinList;
    case ID_OPT_VBR_MAX: return m_vbrMaxList;
    case ID_OPT_VBR_QUALITY: return m_vbrQualityList;
    case ID_OPT_SAMPLE_RATE: return m_sampleRateList;
    default: return nullptr;
    }
}

wxCheckBox* FormEncodingOptions::GetCheckBox(int id) const
{
    for (size_t i = 0; i < 7; ++i)
        if (kCheckOptions[i].id == id)
            return m_checkBoxes[i];
    return nullptr;
}

ImageButton* FormEncodingOptions::GetButton(int id) const
{
    return id == ID_OPT_VALIDATE ? m_validate : id == ID_OPT_CANCEL ? m_cancel : nullptr;
}

void FormEncodingOptions::SetSimpleDesign(const Design* design)
{
    if (!design) {
        LogText("ERROR : FormEncodingOptions :: SetSimpleDesign - Design Null");
        return;
    }
    m_design = design;
    SetBackgroundColour(design->generalColor);
    m_notebook->SetBackgroundColour(design->generalColor);
    m_generalPage->SetBackgroundColour(design->generalColor);
    m_advancedPage->SetBackgroundColour(design->generalColor);
    for (ImageButton* button : {m_validate, m_cancel}) {
        button->SetBackgroundColour(design->generalColor);
        button->SetDesignColours(*design);
    }
    for (wxCheckBox* box : m_checkBoxes) {
        box->SetBackgroundColour(design->generalColor);
        box->SetForegroundColour(design->generalTxtColor);
    }
    for (wxComboBox* list : {m_cbrList, m_vbrMinList, m_vbrMaxList, m_vbrQualityList, m_sampleRateList}) {
        list->SetBackgroundColour(design->listColor);
        list->SetForegroundColour(design->listTxtColor);
    }
    Refresh(true);
}

void FormEncodingOptions::BtnValidateClick(wxCommandEvent&)
{
    if (m_target)
        *m_target = m_working;
    Hide();
}

void FormEncodingOptions::BtnCancelClick(wxCommandEvent&)
{
    Hide();
}

void FormEncodingOptions::RadioEncodingTypeClick(wxCommandEvent& event)
{
    m_working.vbr = event.GetSelection() != 0;
    m_vbrBox->Enable(m_working.vbr);
    m_cbrBox->Enable(!m_working.vbr);
}

void FormEncodingOptions::ComboCbrSelect(wxCommandEvent& event)
{
    int kbps = EncodingOptions::BitrateAt(event.GetSelection());
    if (kbps > 0)
        m_working.cbrBitrate = kbps;
}

void FormEncodingOptions::ComboVbrMinSelect(wxCommandEvent& event)
{
    int kbps = EncodingOptions::BitrateAt(event.GetSelection());
    if (kbps > 0)
        m_working.vbrMinBitrate = kbps;
}

void FormEncodingOptions::ComboVbrMaxSelect(wxCommandEvent& event)
{
    int kbps = EncodingOptions::BitrateAt(event.GetSelection());
    if (kbps > 0)
        m_working.vbrMaxBitrate = kbps;
}

void FormEncodingOptions::ComboVbrQualitySelect(wxCommandEvent& event)
{
    m_working.vbrQuality = event.GetSelection();
}

void FormEncodingOptions::ComboSampleRateSelect(wxCommandEvent& event)
{
    int hz = EncodingOptions::SampleRateAt(event.GetSelection());
    if (hz > 0)
        m_working.targetSampleRate = hz;
}

void FormEncodingOptions::SliderQualityTrack(wxScrollEvent& event)
{
    m_qualityLabel->SetLabel(QualityLabel(event.GetPosition()));
    m_working.quality = EncodingOptions::QualityForSlider(event.GetPosition());
}

void FormEncodingOptions::CheckOptionClick(wxCommandEvent& event)
{
    for (const CheckOption& option : kCheckOptions)
        if (option.id == event.GetId())
            m_working.*option.field = event.IsChecked();
}

void FormEncodingOptions::RadioModeClick(wxCommandEvent& event)
{
    int selection = event.GetSelection();
    m_working.mode = selection >= 0 && selection <= 2 ? selection : 3;
}

// The dialog lives as long as the encode window: closing only hides it.
void FormEncodingOptions::_onClose(wxCloseEvent& event)
{
    if (event.CanVeto()) {
        event.Veto();
        Hide();
        return;
    }
    event.Skip();
}

} // namespace BrelkosPlayer
