// The encode window: pick a WAV file, adjust the options, start a conversion
// and follow it on a gauge. Two panels share the client area, input and
// progress; exactly one is shown. Created hidden once by the main window and
// reused: closing it only hides it.
#pragma once

#include <functional>
#include <memory>
#include <wx/frame.h>

#include "encoding/EncodingOptions.h"

class wxGauge;
class wxPanel;
class wxStaticText;
class wxTextCtrl;
class wxThreadEvent;

namespace BrelkosPlayer {

class EncodeRelay;
class FormEncodingOptions;
class ImageButton;
struct Design;

enum FormEncodeIds {
    ID_ENC_BROWSE = 0,
    ID_ENC_VALIDATE = 1,
    ID_ENC_CANCEL = 2,
    ID_ENC_PATH = 3,
    ID_ENC_FINISH = 4,
    ID_ENC_OPTIONS = 5,
    ID_ENC_GAUGE = 6,
};

class FormEncode : public wxFrame {
public:
    explicit FormEncode(wxWindow* parent);
    ~FormEncode() override;

    void SetSimpleDesign(const Design* design);

    // The MP3 path beside a WAV file: same folder, same base name.
    static wxString Mp3PathFor(const wxString& wavPath);

    EncodingOptions& GetOptions() { return m_options; }
    const wxString& GetWavPath() const { return m_wavPath; }
    const wxString& GetMp3Path() const { return m_mp3Path; }
    const Design* GetDesign() const { return m_design; }
    wxTextCtrl* GetPathField() const { return m_pathField; }
    wxGauge* GetGauge() const { return m_gauge; }
    wxPanel* GetInputPanel() const { return m_inputPanel; }
    wxPanel* GetProgressPanel() const { return m_progressPanel; }
    wxStaticText* GetStatusText() const { return m_statusText; }
    FormEncodingOptions* GetOptionsDialog() const { return m_optionsDialog; }
    ImageButton* GetButton(int id) const;

    // Test seams. The file chooser returns false for Cancel; the message
    // hook receives the text and caption instead of a modal message box.
    using FileChooser = std::function<bool(wxString& path)>;
    using MessageBoxHook = std::function<void(const wxString& text, const wxString& caption)>;
    static void SetFileChooser(FileChooser chooser);
    static void SetMessageBoxHook(MessageBoxHook hook);

private:
    void BtnBrowseClick(wxCommandEvent& event);
    void BtnValidateClick(wxCommandEvent& event);
    void BtnCancelClick(wxCommandEvent& event);
    void BtnOptionsClick(wxCommandEvent& event);
    void BtnFinishClick(wxCommandEvent& event);
    void EditPathChange(wxCommandEvent& event);
    void _onClose(wxCloseEvent& event);
    void _onSize(wxSizeEvent& event);
    void _onEncodeProgress(wxThreadEvent& event);
    void _onEncodeMessage(wxThreadEvent& event);
    void _onEncodeFinished(wxThreadEvent& event);
    void _showInput();

    wxString m_wavPath;
    wxString m_mp3Path;
    EncodingOptions m_options;
    const Design* m_design = nullptr;
    std::shared_ptr<EncodeRelay> m_relay;

    wxPanel* m_inputPanel = nullptr;
    wxPanel* m_progressPanel = nullptr;
    wxTextCtrl* m_pathField = nullptr;
    ImageButton* m_buttons[6] = {};
    wxStaticText* m_statusText = nullptr;
    wxGauge* m_gauge = nullptr;
    FormEncodingOptions* m_optionsDialog = nullptr;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
