#include "gui/FormEncode.h"

#include <wx/filedlg.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "configuration/Design.h"
#include "encoding/EncoderThread.h"
#include "gui/EncodeRelay.h"
#include "gui/FormEncodingOptions.h"
#include "gui/FrameEvents.h"
#include "gui/ImageButton.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

namespace {
const long kFrameStyle =
    wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT;
FormEncode::FileChooser s_fileChooser;
FormEncode::MessageBoxHook s_messageBoxHook;
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(FormEncode, wxFrame)
    EVT_BUTTON(ID_ENC_BROWSE, FormEncode::BtnBrowseClick)
    EVT_BUTTON(ID_ENC_VALIDATE, FormEncode::BtnValidateClick)
    EVT_BUTTON(ID_ENC_CANCEL, FormEncode::BtnCancelClick)
    EVT_BUTTON(ID_ENC_OPTIONS, FormEncode::BtnOptionsClick)
    EVT_BUTTON(ID_ENC_FINISH, FormEncode::BtnFinishClick)
    EVT_TEXT(ID_ENC_PATH, FormEncode::EditPathChange)
    EVT_THREAD(EncodeRelay::ID_ENCODE_PROGRESS, FormEncode::_onEncodeProgress)
    EVT_THREAD(EncodeRelay::ID_ENCODE_MESSAGE, FormEncode::_onEncodeMessage)
    EVT_THREAD(EncodeRelay::ID_ENCODE_FINISHED, FormEncode::_onEncodeFinished)
    EVT_CLOSE(FormEncode::_onClose)
    EVT_SIZE(FormEncode::_onSize)
wxEND_EVENT_TABLE()
// clang-format on

FormEncode::FormEncode(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, "Encoder", wxDefaultPosition, wxSize(435, 146), kFrameStyle),
      m_relay(std::make_shared<EncodeRelay>(this))
{
    KeepEventsInFrame(this);
    const wxSize client = GetClientSize();
    m_inputPanel = new wxPanel(this, wxID_ANY, wxPoint(0, 0), client, wxTAB_TRAVERSAL | wxNO_BORDER);
    m_progressPanel = new wxPanel(this, wxID_ANY, wxPoint(0, 0), client, wxTAB_TRAVERSAL | wxNO_BORDER);

    m_pathField = new wxTextCtrl(m_inputPanel, ID_ENC_PATH, wxEmptyString, wxPoint(68, 32), wxSize(190, 21));
    m_buttons[ID_ENC_BROWSE] =
        new ImageButton(m_inputPanel, ID_ENC_BROWSE, "Parcourir", wxPoint(278, 32), wxSize(70, 25));
    m_buttons[ID_ENC_CANCEL] =
        new ImageButton(m_inputPanel, ID_ENC_CANCEL, "Annuler", wxPoint(23, 81), wxSize(90, 32));
    m_buttons[ID_ENC_OPTIONS] =
        new ImageButton(m_inputPanel, ID_ENC_OPTIONS, "Options", wxPoint(168, 81), wxSize(90, 32));
    m_buttons[ID_ENC_VALIDATE] =
        new ImageButton(m_inputPanel, ID_ENC_VALIDATE, "Valider", wxPoint(314, 81), wxSize(90, 32));
    m_buttons[ID_ENC_FINISH] =
        new ImageButton(m_progressPanel, ID_ENC_FINISH, "Terminer", wxPoint(168, 81), wxSize(90, 32));
    m_statusText = new wxStaticText(m_progressPanel, wxID_ANY, "Statut", wxPoint(192, 16));
    m_gauge =
        new wxGauge(m_progressPanel, ID_ENC_GAUGE, 100, wxPoint(135, 40), wxSize(150, 16), wxGA_HORIZONTAL);

    m_inputPanel->Show();
    m_progressPanel->Hide();
    m_optionsDialog = new FormEncodingOptions(this, &m_options);
    m_optionsDialog->Hide();
}

FormEncode::~FormEncode()
{
    // The program is ending: a conversion still running stops and removes its
    // unfinished MP3 rather than leave a cut-off file that looks complete.
    if (!m_relay->Detach(5000))
        LogText("ERROR : FormEncode :: ~FormEncode - A conversion did not stop in time");
}

wxString FormEncode::Mp3PathFor(const wxString& wavPath)
{
    // Only a dot in the file name counts: one in a folder name would move the
    // MP3 out of the WAV file's folder.
    size_t dot = wavPath.rfind('.');
    size_t slash = wavPath.find_last_of("/\\");
    if (dot == wxString::npos || (slash != wxString::npos && dot < slash))
        return wavPath + ".mp3";
    return wavPath.substr(0, dot) + ".mp3";
}

ImageButton* FormEncode::GetButton(int id) const
{
    return id >= ID_ENC_BROWSE && id <= ID_ENC_OPTIONS ? m_buttons[id] : nullptr;
}

void FormEncode::SetFileChooser(FileChooser chooser)
{
    s_fileChooser = std::move(chooser);
}

void FormEncode::SetMessageBoxHook(MessageBoxHook hook)
{
    s_messageBoxHook = std::move(hook);
}

void FormEncode::SetSimpleDesign(const Design* design)
{
    if (!design) {
        LogText("ERROR : FormEncode :: SetSimpleDesign - Design Null");
        return;
    }
    m_design = design;
    SetBackgroundColour(design->generalColor);
    m_inputPanel->SetBackgroundColour(design->generalColor);
    m_progressPanel->SetBackgroundColour(design->generalColor);
    for (ImageButton* button : m_buttons) {
        if (!button)
            continue;
        button->SetBackgroundColour(design->generalColor);
        button->SetDesignColours(*design);
    }
    m_gauge->SetBackgroundColour(design->generalColor);
    m_gauge->SetForegroundColour(design->generalTxtColor);
    m_pathField->SetBackgroundColour(design->listColor);
    m_pathField->SetForegroundColour(design->listTxtColor);
    m_optionsDialog->SetSimpleDesign(design);
    Refresh(true);
}

void FormEncode::BtnBrowseClick(wxCommandEvent&)
{
    wxString path;
    bool chosen = false;
    if (s_fileChooser) {
        chosen = s_fileChooser(path);
    } else {
        wxFileDialog dialog(this, "Choisissez un fichier", wxEmptyString, wxEmptyString, "*.wav", wxFD_OPEN);
        chosen = dialog.ShowModal() == wxID_OK;
        if (chosen)
            path = dialog.GetPath();
    }
    if (!chosen)
        return;
    m_pathField->SetValue(path);
    m_wavPath = path;
    m_mp3Path = Mp3PathFor(path);
}

void FormEncode::EditPathChange(wxCommandEvent&)
{
    m_wavPath = m_pathField->GetValue();
}

void FormEncode::BtnValidateClick(wxCommandEvent&)
{
    if (m_wavPath.empty() || m_mp3Path.empty()) {
        LogText("ERROR : FormEncode :: BtnValidateClick - Void file names");
        return;
    }
    m_inputPanel->Hide();
    m_progressPanel->Show();
    m_gauge->SetRange(100);
    m_gauge->SetValue(0);
    // Detached: the thread deletes itself and we keep no reference to it.
    auto* thread = new EncoderThread(&m_options, m_wavPath, m_mp3Path, m_relay);
    if (thread->Create() != wxTHREAD_NO_ERROR) {
        delete thread;
        LogText("ERROR : FormEncode :: BtnValidateClick - Cannot create the encoder thread");
        _showInput();
        return;
    }
    if (thread->Run() != wxTHREAD_NO_ERROR) {
        LogText("ERROR : FormEncode :: BtnValidateClick - Cannot start the encoder thread");
        _showInput();
        return;
    }
    m_relay->ConversionStarted();
}

void FormEncode::BtnCancelClick(wxCommandEvent&)
{
    Hide();
}

void FormEncode::BtnOptionsClick(wxCommandEvent&)
{
    m_optionsDialog->Show();
    m_optionsDialog->Raise();
}

void FormEncode::BtnFinishClick(wxCommandEvent&)
{
    Hide();
    _showInput();
}

void FormEncode::_showInput()
{
    m_inputPanel->Show();
    m_progressPanel->Hide();
}

// The window is reached through its program-wide pointer for the whole run:
// closing only hides it.
void FormEncode::_onClose(wxCloseEvent& event)
{
    if (event.CanVeto()) {
        event.Veto();
        Hide();
        return;
    }
    event.Skip();
}

void FormEncode::_onSize(wxSizeEvent& event)
{
    const wxSize client = GetClientSize();
    if (m_inputPanel)
        m_inputPanel->SetSize(0, 0, client.x, client.y);
    if (m_progressPanel)
        m_progressPanel->SetSize(0, 0, client.x, client.y);
    event.Skip(false);
}

void FormEncode::_onEncodeProgress(wxThreadEvent& event)
{
    if (m_gauge->GetValue() != event.GetInt())
        m_gauge->SetValue(event.GetInt());
}

void FormEncode::_onEncodeMessage(wxThreadEvent& event)
{
    const wxString caption = wxString::FromUTF8("Erreur de conversion de WAV à MP3");
    if (s_messageBoxHook)
        s_messageBoxHook(event.GetString(), caption);
    else
        wxMessageBox(event.GetString(), caption, wxOK | wxICON_NONE, nullptr);
}

void FormEncode::_onEncodeFinished(wxThreadEvent& event)
{
    // Only a success returns to the input state; after a failure the progress
    // panel stays until "Terminer".
    if (event.GetInt() != EncoderThread::EncodeOk)
        return;
    Hide();
    _showInput();
}

} // namespace BrelkosPlayer
