// The video control: the toolkit's media control, made to tell its owner what
// the program relies on. On GTK the GStreamer back end says "loaded" before
// the medium has prerolled (length still 0), accepts a missing or broken file
// and reports it only as a stop notification later, sends a stop notification
// for every stop of its pipeline (ours, the one inside each Load, the end of a
// video twice) and can lose a Play issued while the video sink starts.
//
// This control passes on one loaded notification per medium, once it has
// prerolled, and one stop notification per end of a video or failure of the
// medium (HasFailed() tells which); the other stops are dropped. A Play that
// is not answered within a second is issued again.
#pragma once

#include <wx/mediactrl.h>
#include <wx/timer.h>

namespace BrelkosPlayer {

enum BrelkoCtrlIds {
    ID_VIDEO_CTRL = 13,
    ID_VIDEO_CTRL_RETRY_TIMER = 1,
    ID_VIDEO_CTRL_LOAD_TIMER = 2,
};

class BrelkoCtrl : public wxMediaCtrl {
public:
    // A child of the video window; attaches itself to it when the parent is one.
    explicit BrelkoCtrl(wxWindow* parent);
    ~BrelkoCtrl() override;

    // These hide wxMediaCtrl's (which are not virtual), so that the filtering
    // knows what was asked: always call them through a BrelkoCtrl.
    // Load returns false at once for a path that names no file.
    bool Load(const wxString& path);
    bool Play();
    bool Pause();
    bool Stop();

    // The path of the last Load.
    const wxString& GetPath() const { return m_path; }
    // The medium could not be played (the pending stop notification is its failure).
    bool HasFailed() const { return m_phase == PhaseFailed; }
    // The medium has prerolled and the loaded notification went out.
    bool IsReady() const { return m_phase == PhaseReady; }
    // The video played to its end.
    bool HasEnded() const { return m_phase == PhaseEnded; }
    // Times the current Play had to be issued again.
    int GetPlayRetries() const { return m_retries; }

    static const int kRetryMs = 1000;
    static const int kMaxRetries = 3;
    // The back end answers a Load at once; a Load it leaves unanswered this
    // long is given up.
    static const int kAnswerTimeoutMs = 2000;
    // A medium that neither prerolls nor fails in this time counts as failed:
    // GStreamer sometimes reports a broken file's error by no state change at all.
    static const int kLoadTimeoutMs = 5000;

protected:
    bool TryBefore(wxEvent& event) override;

private:
    enum Phase { PhaseIdle, PhaseLoading, PhaseReady, PhaseEnded, PhaseFailed };

    // True when a notification of the back end is to be dropped.
    bool _dropNotification(wxMediaEvent& event);
    bool _dropStop();
    bool _issueLoad(const wxString& path);
    void _becomeReady();
    void _queueOwn(wxEventType type);

    void _onRetryTimer(wxTimerEvent& event);
    void _onLoadTimer(wxTimerEvent& event);
    void VideoLeftDClick(wxMouseEvent& event);
    void VideoMouseMove(wxMouseEvent& event);
    void VideoKeyDown(wxKeyEvent& event);

    Phase m_phase = PhaseIdle;
    wxString m_path;
    // A Load asked for while the back end still owes the notification of an
    // earlier one: issued when that notification arrives, so that each back-end
    // Load is answered by exactly one loaded notification.
    wxString m_deferredPath;
    int m_pendingLoads = 0;
    // The current medium's own (early) loaded notification has arrived: stop
    // notifications from here on are about it, not about the previous one.
    bool m_currentAnswered = false;
    int m_pausesSinceLoaded = 0;
    // Our own Stop calls whose stop notification has not arrived yet.
    int m_stopsInFlight = 0;
    bool m_playPending = false;
    int m_retries = 0;
    wxTimer m_retryTimer;
    wxTimer m_loadTimer;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
