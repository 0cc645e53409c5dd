#include "gui/FormVideo.h"
#include "gui/FrameEvents.h"

#include <algorithm>
#include <cstdlib>
#include <wx/display.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/slider.h>
#include <wx/stdpaths.h>

#include "files/DataPaths.h"
#include "gui/BrelkoCtrl.h"
#include "gui/FormMain.h"
#include "gui/ImageButton.h"
#include "gui/MainControl.h"
#include "gui/ToolkitCalls.h"
#include "gui/VideoPlayer.h"

namespace BrelkosPlayer {

namespace {

const long kFullScreenStyle =
    wxBORDER_NONE | wxFRAME_NO_TASKBAR | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT;
const long kWindowedStyle = wxCAPTION | wxSTAY_ON_TOP | wxCLOSE_BOX | wxSYSTEM_MENU | wxRESIZE_BORDER |
                            wxFRAME_FLOAT_ON_PARENT | wxFRAME_NO_TASKBAR;

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(FormVideo, wxFrame)
    EVT_LEFT_DCLICK(FormVideo::VideoLeftDClick)
    EVT_MOTION(FormVideo::VideoMouseMove)
    EVT_CHAR_HOOK(FormVideo::VideoKeyDown)
    EVT_KEY_DOWN(FormVideo::VideoKeyDown)
    EVT_TIMER(ID_VIDEO_HIDE_TIMER, FormVideo::TimerHide)
    EVT_TIMER(ID_VIDEO_SLIDE_TIMER, FormVideo::TimerSlide)
    EVT_TIMER(ID_VIDEO_POSITION_TIMER, FormVideo::TimerPosition)
    EVT_BUTTON(ID_VIDEO_PREVIOUS, FormVideo::BtnPreviousClick)
    EVT_BUTTON(ID_VIDEO_PLAY, FormVideo::BtnPlayClick)
    EVT_BUTTON(ID_VIDEO_PAUSE, FormVideo::BtnPauseClick)
    EVT_BUTTON(ID_VIDEO_STOP, FormVideo::BtnStopClick)
    EVT_BUTTON(ID_VIDEO_NEXT, FormVideo::BtnNextClick)
    EVT_COMMAND_SCROLL(ID_VIDEO_SLIDER, FormVideo::SliderPositionScroll)
    EVT_CLOSE(FormVideo::_onClose)
wxEND_EVENT_TABLE()
// clang-format on

FormVideo::FormVideo(wxWindow* parent, MainControl& main)
    : wxFrame(parent, wxID_ANY, "Video", wxDefaultPosition, wxDefaultSize, wxDEFAULT_FRAME_STYLE, "frame"),
      m_main(main), m_hideTimer(this, ID_VIDEO_HIDE_TIMER), m_slideTimer(this, ID_VIDEO_SLIDE_TIMER),
      m_positionTimer(this, ID_VIDEO_POSITION_TIMER), m_blankCursor(wxCURSOR_BLANK)
{
    KeepEventsInFrame(this);
    wxPoint pos = GetPosition();
    m_savedX = pos.x;
    m_savedY = pos.y;
    m_savedSize = GetClientSize();
}

FormVideo::~FormVideo()
{
    m_hideTimer.Stop();
    m_slideTimer.Stop();
    m_positionTimer.Stop();
}

void FormVideo::AttachVideoCtrl(BrelkoCtrl* ctrl)
{
    m_ctrl = ctrl;
    if (ctrl) {
        _createPanel();
        return;
    }
    // The control takes the panel with it.
    m_hideTimer.Stop();
    m_slideTimer.Stop();
    m_positionTimer.Stop();
    m_panel = nullptr;
    m_slider = nullptr;
    std::fill(std::begin(m_buttons), std::end(m_buttons), nullptr);
}

void FormVideo::_createPanel()
{
    m_panel = new wxPanel(m_ctrl, wxID_ANY, wxPoint(0, 60), wxSize(200, 40), wxTAB_TRAVERSAL | wxNO_BORDER,
                          "panel");
    // Painted by us: over the video nothing else would clear it.
    m_panel->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    m_panel->Hide();
    m_panelNative = false;

    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    struct Transport {
        int id;
        const char* image;
    };
    static const Transport transport[] = {{ID_VIDEO_PREVIOUS, "/rsc/PNGPrevious.png"},
                                          {ID_VIDEO_PLAY, "/rsc/PNGPlay.png"},
                                          {ID_VIDEO_PAUSE, "/rsc/PNGPause.png"},
                                          {ID_VIDEO_STOP, "/rsc/PNGStop.png"},
                                          {ID_VIDEO_NEXT, "/rsc/PNGNext.png"}};
    for (const Transport& t : transport) {
        m_buttons[t.id] = new ImageButton(m_panel, t.id, wxEmptyString,
                                          wxPoint((t.id - ID_VIDEO_PREVIOUS) * 40, 0), wxSize(40, 40));
        _loadButtonImage(m_buttons[t.id], t.image);
    }
    m_slider = new wxSlider(m_panel, ID_VIDEO_SLIDER, 0, 0, 1000, wxPoint(200, 0), wxSize(200, 40),
                            wxSL_HORIZONTAL, wxDefaultValidator, "slider");

    // Motion over the controls is motion over the video: they stay up while in use.
    m_panel->Bind(wxEVT_MOTION, &FormVideo::VideoMouseMove, this);
    for (wxWindow* child : m_panel->GetChildren())
        child->Bind(wxEVT_MOTION, &FormVideo::VideoMouseMove, this);
}

void FormVideo::_loadButtonImage(ImageButton* button, const wxString& suffix)
{
    wxString folder = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath(wxPATH_GET_VOLUME);
    wxString path = DataPaths::DataFolder(folder) + suffix;
    if (!wxFileName::FileExists(path))
        return;
    wxLogNull quiet;
    wxImage image(path, wxBITMAP_TYPE_ANY);
    if (image.IsOk())
        button->SetImage(ButtonNormal, wxBitmap(image));
}

ImageButton* FormVideo::GetButton(int id) const
{
    return id >= ID_VIDEO_PREVIOUS && id <= ID_VIDEO_NEXT ? m_buttons[id] : nullptr;
}

wxSize FormVideo::ChooseVideoSize(const wxSize& natural, const wxSize& sinkArea, const wxSize& current,
                                  const wxSize& workArea)
{
    if (natural.x <= 0 || natural.y <= 0)
        return current;
    if (std::abs(natural.x - sinkArea.x) <= 2 && std::abs(natural.y - sinkArea.y) <= 2)
        return current;
    if (workArea.x <= 0 || workArea.y <= 0 || (natural.x <= workArea.x && natural.y <= workArea.y))
        return natural;
    double scale = std::min(double(workArea.x) / natural.x, double(workArea.y) / natural.y);
    return wxSize(std::max(1, int(natural.x * scale)), std::max(1, int(natural.y * scale)));
}

void FormVideo::FitToVideo()
{
    wxSize current = m_fullScreen ? m_savedSize : GetClientSize();
    wxSize natural;
    wxSize sinkArea;
    if (m_ctrl) {
        m_ctrl->InvalidateBestSize();
        natural = m_ctrl->GetBestSize();
        sinkArea = m_ctrl->GetClientSize();
    }
    int index = wxDisplay::GetFromWindow(this);
    wxDisplay display(index == wxNOT_FOUND ? 0u : unsigned(index));
    wxSize size = ChooseVideoSize(natural, sinkArea, current, display.GetClientArea().GetSize());
    m_videoWidth = size.x;
    m_videoHeight = size.y;
    if (m_fullScreen) {
        m_savedSize = size;
        return;
    }
    SetClientSize(size);
    if (m_ctrl)
        m_ctrl->SetSize(size);
}

bool FormVideo::Show(bool show)
{
    // The slider follows the video only while somebody can see it.
    if (show)
        m_positionTimer.Start(kPositionMs);
    else
        m_positionTimer.Stop();
    return wxFrame::Show(show);
}

void FormVideo::SetFullScreenMode(bool fullScreen)
{
    // Applying full screen twice would save the full-screen place as the one to return to.
    if (fullScreen == m_fullScreen)
        return;
    m_fullScreen = fullScreen;
    _applyDisplayMode();
}

wxRect FormVideo::_displayRect() const
{
    int index = wxDisplay::GetFromWindow(this);
    return wxDisplay(index == wxNOT_FOUND ? 0u : unsigned(index)).GetGeometry();
}

// Bottom centre of the video control, which covers the display in full
// screen; its client area, as GTK draws a border round it.
wxPoint FormVideo::_panelHome() const
{
    wxSize area = m_ctrl ? m_ctrl->GetClientSize() : _displayRect().GetSize();
    return wxPoint((area.x - kPanelWidth) / 2, area.y - kPanelHeight);
}

void FormVideo::_applyDisplayMode()
{
    if (m_fullScreen) {
        wxPoint pos = GetPosition();
        m_savedX = pos.x;
        m_savedY = pos.y;
        m_savedSize = GetClientSize();
        wxRect screen = _displayRect();
        Move(screen.GetPosition());
        SetWindowStyle(kFullScreenStyle);
        // GTK keeps the decorations on a style change; full-screen mode drops
        // them (through the window manager when one runs).
        ShowFullScreen(true);
        SetSize(screen);
        if (m_ctrl) {
            m_ctrl->SetSize(GetClientSize());
            m_ctrl->Refresh();
        }
        m_hideTimer.StartOnce(kHideMs);
        if (m_panel) {
            m_panel->SetSize(wxRect(_panelHome(), wxSize(kPanelWidth, kPanelHeight)));
            _showPanel();
        }
        return;
    }
    m_hideTimer.Stop();
    m_slideTimer.Stop();
    SetWindowStyle(kWindowedStyle);
    if (IsFullScreen())
        ShowFullScreen(false);
    SetClientSize(m_savedSize);
    Move(m_savedX, m_savedY);
    if (m_ctrl)
        m_ctrl->SetSize(m_savedSize);
    _setCursors(*wxSTANDARD_CURSOR);
    if (m_panel) {
        m_panel->Hide();
        m_panel->Move(_panelHome());
    }
}

void FormVideo::_showPanel()
{
    m_panel->Show();
    m_panel->Raise();
    if (!m_panelNative)
        m_panelNative = GiveNativeWindow(m_panel);
}

void FormVideo::_setCursors(const wxCursor& cursor)
{
    SetCursor(cursor);
    if (m_ctrl)
        m_ctrl->SetCursor(cursor);
    if (m_panel)
        m_panel->SetCursor(cursor);
}

void FormVideo::_restartHideTimer()
{
    m_hideTimer.StartOnce(kHideMs);
}

void FormVideo::VideoLeftDClick(wxMouseEvent&)
{
    SetFullScreenMode(!m_fullScreen);
}

void FormVideo::VideoMouseMove(wxMouseEvent& event)
{
    event.Skip();
    if (!m_fullScreen || !m_panel)
        return;
    if (m_slideTimer.IsRunning()) {
        m_slideTimer.Stop();
        m_panel->Move(_panelHome());
    }
    _showPanel();
    _setCursors(*wxSTANDARD_CURSOR);
    _restartHideTimer();
}

void FormVideo::TimerHide(wxTimerEvent&)
{
    if (!m_fullScreen || !m_panel)
        return;
    m_slideTimer.Start(kSlideMs);
    m_panel->Hide();
    _setCursors(m_blankCursor);
}

void FormVideo::TimerSlide(wxTimerEvent&)
{
    if (!m_panel) {
        m_slideTimer.Stop();
        return;
    }
    wxPoint pos = m_panel->GetPosition();
    pos.y += kSlideStep;
    m_panel->Move(pos);
    if (pos.y >= _panelHome().y + kPanelHeight) {
        m_slideTimer.Stop();
        m_panel->Hide();
        m_panel->Move(_panelHome());
    }
}

void FormVideo::TimerPosition(wxTimerEvent&)
{
    if (!m_ctrl || !m_slider || m_sliderDragging)
        return;
    wxFileOffset length = m_ctrl->Length();
    if (length <= 0)
        return;
    wxFileOffset position = std::max<wxFileOffset>(0, m_ctrl->Tell());
    int value = int(std::min<wxFileOffset>(1000, position * 1000 / length));
    if (value != m_slider->GetValue())
        m_slider->SetValue(value);
}

void FormVideo::VideoKeyDown(wxKeyEvent& event)
{
    if (!_handleKey(event.GetKeyCode()))
        event.Skip();
}

// The video keys of the README's "Keys" section (CommandForKey). On GTK they arrive as the
// toolkit's own codes, never as Windows virtual-key codes (Enter 13, Escape
// 27, Space 32, Page Up 33, Page Down 34, Left 37, Right 39, keypad + 107,
// keypad - 109).
bool FormVideo::_handleKey(int keyCode)
{
    Command command = CommandForKey(KeyWindow::Video, keyCode);
    switch (command) {
    case Command::None: return false;
    case Command::FullScreen: SetFullScreenMode(true); break;
    case Command::LeaveFullScreen: SetFullScreenMode(false); break;
    default: m_main.Execute(command); break;
    }
    return true;
}

void FormVideo::BtnPreviousClick(wxCommandEvent&)
{
    m_main.Execute(Command::Previous);
    _restartHideTimer();
}

void FormVideo::BtnPlayClick(wxCommandEvent&)
{
    m_main.Execute(Command::Play);
    _restartHideTimer();
}

void FormVideo::BtnPauseClick(wxCommandEvent&)
{
    m_main.Execute(Command::Pause);
    _restartHideTimer();
}

void FormVideo::BtnStopClick(wxCommandEvent&)
{
    m_main.Execute(Command::Stop);
    _restartHideTimer();
}

void FormVideo::BtnNextClick(wxCommandEvent&)
{
    m_main.Execute(Command::Next);
    _restartHideTimer();
}

void FormVideo::SliderPositionScroll(wxScrollEvent& event)
{
    m_sliderDragging = event.GetEventType() == wxEVT_SCROLL_THUMBTRACK;
    wxFileOffset length = m_ctrl ? m_ctrl->Length() : 0;
    if (length > 0) {
        m_ctrl->Seek(wxFileOffset(m_slider->GetValue()) * length / 1000, wxFromStart);
        // A seek from the end plays the video again, so a stop must stop it.
        if (m_player && m_slider->GetValue() < 1000)
            m_player->PlaysAgain();
    }
    _restartHideTimer();
}

void FormVideo::_onClose(wxCloseEvent& event)
{
    if (!event.CanVeto()) {
        event.Skip();
        return;
    }
    // The window stays for the next video: only the video stops.
    event.Veto();
    SetFullScreenMode(false);
    if (m_player)
        m_main.Execute(Command::Stop);
    if (m_ctrl)
        m_ctrl->Stop();
    Hide();
}

} // namespace BrelkosPlayer
