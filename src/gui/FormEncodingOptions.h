// The encoding options dialog: two notebook pages that edit a working copy of
// the settings; "Valider" copies it into the target record (the encode
// window's), "Annuler" only hides the dialog. Created hidden once, reused.
#pragma once

#include <wx/frame.h>

#include "encoding/EncodingOptions.h"

class wxCheckBox;
class wxComboBox;
class wxNotebook;
class wxPanel;
class wxRadioBox;
class wxScrollEvent;
class wxSlider;
class wxStaticBox;
class wxStaticText;

namespace BrelkosPlayer {

class ImageButton;
struct Design;

enum FormEncodingOptionsIds {
    ID_OPT_VBR_MIN = 1,
    ID_OPT_VBR_MAX = 2,
    ID_OPT_MODE_FIXED = 3,
    ID_OPT_VBR_QUALITY = 4,
    ID_OPT_SAMPLE_RATE = 5,
    ID_OPT_CBR = 6,
    ID_OPT_VALIDATE = 7,
    ID_OPT_CANCEL = 8,
    ID_OPT_ENCODING_TYPE = 9,
    ID_OPT_MODE = 10,
    ID_OPT_STRICT_VBR_MIN = 11,
    ID_OPT_VOICE = 12,
    ID_OPT_KEEP_FREQUENCIES = 13,
    ID_OPT_XING = 14,
    ID_OPT_NO_SHORT_BLOCKS = 15,
    ID_OPT_STRICT_ISO = 16,
    ID_OPT_QUALITY = 17,
};

class FormEncodingOptions : public wxFrame {
public:
    // target: the record "Valider" overwrites; it outlives the dialog.
    FormEncodingOptions(wxWindow* parent, EncodingOptions* target);

    void SetSimpleDesign(const Design* design);

    const EncodingOptions& GetWorkingCopy() const { return m_working; }
    const Design* GetDesign() const { return m_design; }
    wxNotebook* GetNotebook() const { return m_notebook; }
    wxPanel* GetGeneralPage() const { return m_generalPage; }
    wxPanel* GetAdvancedPage() const { return m_advancedPage; }
    wxRadioBox* GetEncodingTypeBox() const { return m_encodingType; }
    wxRadioBox* GetModeBox() const { return m_modeBox; }
    wxStaticBox* GetCbrBox() const { return m_cbrBox; }
    wxStaticBox* GetVbrBox() const { return m_vbrBox; }
    wxStaticText* GetQualityLabel() const { return m_qualityLabel; }
    wxSlider* GetQualitySlider() const { return m_qualitySlider; }
    // By id: the five lists, the seven check boxes, the two buttons.
    wxComboBox* GetList(int id) const;
    wxCheckBox* GetCheckBox(int id) const;
    ImageButton* GetButton(int id) const;

    // The quality slider's label for a position.
    static wxString QualityLabel(int position);

private:
    void _createGeneralPage();
    void _createAdvancedPage();

    void BtnValidateClick(wxCommandEvent& event);
    void BtnCancelClick(wxCommandEvent& event);
    void RadioEncodingTypeClick(wxCommandEvent& event);
    void ComboCbrSelect(wxCommandEvent& event);
    void ComboVbrMinSelect(wxCommandEvent& event);
    void ComboVbrMaxSelect(wxCommandEvent& event);
    void ComboVbrQualitySelect(wxCommandEvent& event);
    void ComboSampleRateSelect(wxCommandEvent& event);
    void SliderQualityTrack(wxScrollEvent& event);
    void CheckOptionClick(wxCommandEvent& event);
    void RadioModeClick(wxCommandEvent& event);
    void _onClose(wxCloseEvent& event);

    EncodingOptions m_working;
    EncodingOptions* m_target;
    const Design* m_design = nullptr;

    wxNotebook* m_notebook = nullptr;
    wxPanel* m_generalPage = nullptr;
    wxPanel* m_advancedPage = nullptr;
    wxRadioBox* m_encodingType = nullptr;
    wxStaticBox* m_cbrBox = nullptr;
    wxStaticBox* m_vbrBox = nullptr;
    wxComboBox* m_cbrList = nullptr;
    wxComboBox* m_vbrMinList = nullptr;
    wxComboBox* m_vbrMaxList = nullptr;
    wxComboBox* m_vbrQualityList = nullptr;
    wxComboBox* m_sampleRateList = nullptr;
    wxStaticText* m_qualityLabel = nullptr;
    wxSlider* m_qualitySlider = nullptr;
    wxCheckBox* m_checkBoxes[7] = {};
    wxRadioBox* m_modeBox = nullptr;
    ImageButton* m_validate = nullptr;
    ImageButton* m_cancel = nullptr;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
