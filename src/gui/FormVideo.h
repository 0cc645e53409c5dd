// The video window: holds the video control, sized to the video, with a full-
// screen mode whose transport controls show on mouse motion and hide again
// after a second. Its buttons and keys call the main window's operations.
#pragma once

#include <wx/cursor.h>
#include <wx/frame.h>
#include <wx/timer.h>

class wxPanel;
class wxSlider;

namespace BrelkosPlayer {

class BrelkoCtrl;
class ImageButton;
class VideoPlayer;
class MainControl;

enum FormVideoIds {
    ID_VIDEO_HIDE_TIMER = 0,
    ID_VIDEO_PREVIOUS = 1,
    ID_VIDEO_PLAY = 2,
    ID_VIDEO_PAUSE = 3,
    ID_VIDEO_STOP = 4,
    ID_VIDEO_NEXT = 5,
    ID_VIDEO_SLIDER = 6,
    ID_VIDEO_SLIDE_TIMER = 7,
    ID_VIDEO_POSITION_TIMER = 8,
};

class FormVideo : public wxFrame {
public:
    FormVideo(wxWindow* parent, MainControl& main);
    ~FormVideo() override;

    // Called by the video control created inside this window (null when it
    // goes): the controls panel lives on the control.
    void AttachVideoCtrl(BrelkoCtrl* ctrl);
    BrelkoCtrl* GetVideoCtrl() const { return m_ctrl; }
    // The player of the video this window shows (null when the main window
    // plays something else): its buttons and keys stop it on close, a seek
    // from the end plays it again.
    void AttachPlayer(VideoPlayer* player) { m_player = player; }
    VideoPlayer* GetPlayer() const { return m_player; }
    // Set once the main window has started a medium: only then does a loaded
    // video size this window and start.
    void SetSizing(bool sizing) { m_sizing = sizing; }
    bool IsSizing() const { return m_sizing; }

    // Takes the loaded video's size as the video size and sizes the window to
    // it (in full screen, it becomes the size to return to).
    void FitToVideo();
    // The size of the video area for a video of the given natural size:
    // a sink that scales the picture to its window reports that window back
    // (sinkArea), and then the current size stays; a video larger than the
    // display's work area is scaled down into it, keeping its proportions.
    static wxSize ChooseVideoSize(const wxSize& natural, const wxSize& sinkArea, const wxSize& current,
                                  const wxSize& workArea);
    int GetVideoWidth() const { return m_videoWidth; }
    int GetVideoHeight() const { return m_videoHeight; }

    bool IsFullScreenMode() const { return m_fullScreen; }
    // Sets the full-screen flag and applies the display mode when it changes.
    void SetFullScreenMode(bool fullScreen);

    bool Show(bool show = true) override;

    wxPanel* GetControlsPanel() const { return m_panel; }
    wxSlider* GetPositionSlider() const { return m_slider; }
    ImageButton* GetButton(int id) const;
    const wxCursor& GetBlankCursor() const { return m_blankCursor; }

    static const int kHideMs = 1000;
    static const int kSlideMs = 50;
    static const int kSlideStep = 2;
    static const int kPositionMs = 200;
    static const int kPanelWidth = 400;
    static const int kPanelHeight = 40;

    // Handlers, public so that the video control can pass its own mouse and
    // key events on to them.
    void VideoLeftDClick(wxMouseEvent& event);
    void VideoMouseMove(wxMouseEvent& event);
    void VideoKeyDown(wxKeyEvent& event);

private:
    void _createPanel();
    void _loadButtonImage(ImageButton* button, const wxString& suffix);
    void _applyDisplayMode();
    bool _handleKey(int keyCode);
    void _setCursors(const wxCursor& cursor);
    void _showPanel();
    void _restartHideTimer();
    wxRect _displayRect() const;
    wxPoint _panelHome() const;

    void TimerHide(wxTimerEvent& event);
    void TimerSlide(wxTimerEvent& event);
    void TimerPosition(wxTimerEvent& event);
    void BtnPreviousClick(wxCommandEvent& event);
    void BtnPlayClick(wxCommandEvent& event);
    void BtnPauseClick(wxCommandEvent& event);
    void BtnStopClick(wxCommandEvent& event);
    void BtnNextClick(wxCommandEvent& event);
    void SliderPositionScroll(wxScrollEvent& event);
    void _onClose(wxCloseEvent& event);

    MainControl& m_main;
    BrelkoCtrl* m_ctrl = nullptr;
    VideoPlayer* m_player = nullptr;
    bool m_sizing = false;
    wxPanel* m_panel = nullptr;
    bool m_panelNative = false;
    ImageButton* m_buttons[ID_VIDEO_NEXT + 1] = {};
    wxSlider* m_slider = nullptr;
    bool m_sliderDragging = false;
    wxTimer m_hideTimer;
    wxTimer m_slideTimer;
    wxTimer m_positionTimer;
    wxCursor m_blankCursor;
    int m_videoWidth = 0;
    int m_videoHeight = 0;
    bool m_fullScreen = false;
    int m_savedX = 0;
    int m_savedY = 0;
    wxSize m_savedSize;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
