#include "gui/BrelkoCtrl.h"

#include <wx/filename.h>

#include "gui/FormVideo.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

namespace {

// Marks the notifications this control sends itself, so that its own filter
// lets them through.
const int kOwnNotification = 0x42724b;

bool IsMediaNotification(wxEventType type)
{
    return type == wxEVT_MEDIA_LOADED || type == wxEVT_MEDIA_STOP || type == wxEVT_MEDIA_PAUSE ||
           type == wxEVT_MEDIA_PLAY || type == wxEVT_MEDIA_FINISHED || type == wxEVT_MEDIA_STATECHANGED;
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(BrelkoCtrl, wxMediaCtrl)
    EVT_TIMER(ID_VIDEO_CTRL_RETRY_TIMER, BrelkoCtrl::_onRetryTimer)
    EVT_TIMER(ID_VIDEO_CTRL_LOAD_TIMER, BrelkoCtrl::_onLoadTimer)
    EVT_LEFT_DCLICK(BrelkoCtrl::VideoLeftDClick)
    EVT_MOTION(BrelkoCtrl::VideoMouseMove)
    EVT_KEY_DOWN(BrelkoCtrl::VideoKeyDown)
wxEND_EVENT_TABLE()
// clang-format on

BrelkoCtrl::BrelkoCtrl(wxWindow* parent)
    : wxMediaCtrl(parent, ID_VIDEO_CTRL, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, wxEmptyString,
                  wxDefaultValidator, "mediaCtrl"),
      m_retryTimer(this, ID_VIDEO_CTRL_RETRY_TIMER), m_loadTimer(this, ID_VIDEO_CTRL_LOAD_TIMER)
{
    if (auto* frame = dynamic_cast<FormVideo*>(parent))
        frame->AttachVideoCtrl(this);
}

BrelkoCtrl::~BrelkoCtrl()
{
    m_retryTimer.Stop();
    m_loadTimer.Stop();
    if (auto* frame = dynamic_cast<FormVideo*>(GetParent()))
        frame->AttachVideoCtrl(nullptr);
}

bool BrelkoCtrl::Load(const wxString& path)
{
    // The back end takes any path and reports a missing file only later.
    if (path.empty() || !wxFileName::FileExists(path))
        return false;
    m_retryTimer.Stop();
    m_playPending = false;
    m_retries = 0;
    m_path = path;
    m_phase = PhaseLoading;
    m_currentAnswered = false;
    m_pausesSinceLoaded = 0;
    m_stopsInFlight = 0;
    m_loadTimer.StartOnce(kAnswerTimeoutMs);
    if (m_pendingLoads > 0) {
        m_deferredPath = path;
        return true;
    }
    m_deferredPath.clear();
    if (_issueLoad(path))
        return true;
    m_loadTimer.Stop();
    m_phase = PhaseIdle;
    return false;
}

bool BrelkoCtrl::_issueLoad(const wxString& path)
{
    ++m_pendingLoads;
    if (wxMediaCtrl::Load(path))
        return true;
    --m_pendingLoads;
    return false;
}

bool BrelkoCtrl::Play()
{
    if (m_phase == PhaseEnded)
        m_phase = PhaseReady;
    else if (m_phase == PhaseIdle || m_phase == PhaseFailed) {
        // Started again after a stop or a failure: report it once more.
        m_phase = PhaseLoading;
        m_pausesSinceLoaded = 0;
        if (!m_path.empty())
            m_loadTimer.StartOnce(kLoadTimeoutMs);
    }
    m_playPending = true;
    m_retries = 0;
    m_retryTimer.StartOnce(kRetryMs);
    return wxMediaCtrl::Play();
}

bool BrelkoCtrl::Pause()
{
    m_retryTimer.Stop();
    m_playPending = false;
    if (m_phase == PhaseEnded)
        m_phase = PhaseReady;
    return wxMediaCtrl::Pause();
}

bool BrelkoCtrl::Stop()
{
    m_retryTimer.Stop();
    m_loadTimer.Stop();
    m_playPending = false;
    // Only a pipeline that runs (or is about to) answers a stop with a notification.
    if (m_phase == PhaseLoading || m_phase == PhaseReady)
        ++m_stopsInFlight;
    m_phase = PhaseIdle;
    return wxMediaCtrl::Stop();
}

bool BrelkoCtrl::TryBefore(wxEvent& event)
{
    if (IsMediaNotification(event.GetEventType())) {
        auto& mediaEvent = static_cast<wxMediaEvent&>(event);
        if (mediaEvent.GetInt() != kOwnNotification && _dropNotification(mediaEvent))
            return true;
    }
    return wxMediaCtrl::TryBefore(event);
}

bool BrelkoCtrl::_dropNotification(wxMediaEvent& event)
{
    wxEventType type = event.GetEventType();
    if (type == wxEVT_MEDIA_LOADED) {
        // The back end's own loaded notification comes before the preroll:
        // it only tells which medium the following notifications are about.
        if (m_pendingLoads > 0)
            --m_pendingLoads;
        if (m_pendingLoads == 0 && !m_deferredPath.empty()) {
            wxString path;
            path.swap(m_deferredPath);
            if (!_issueLoad(path)) {
                m_phase = PhaseFailed;
                _queueOwn(wxEVT_MEDIA_STOP);
            }
            return true;
        }
        if (m_pendingLoads == 0 && !m_currentAnswered) {
            m_currentAnswered = true;
            if (m_phase == PhaseLoading)
                m_loadTimer.StartOnce(kLoadTimeoutMs);
        }
        return true;
    }
    if (type == wxEVT_MEDIA_STOP)
        return _dropStop();
    if (type == wxEVT_MEDIA_PLAY) {
        m_playPending = false;
        m_retryTimer.Stop();
    }
    if ((type == wxEVT_MEDIA_PAUSE || type == wxEVT_MEDIA_PLAY) && m_pendingLoads == 0 && m_currentAnswered) {
        // The first pause notification goes with the early loaded one; the
        // second, or a play, means the medium has prerolled.
        if (type == wxEVT_MEDIA_PAUSE)
            ++m_pausesSinceLoaded;
        if (m_phase == PhaseLoading && (type == wxEVT_MEDIA_PLAY || m_pausesSinceLoaded >= 2))
            _becomeReady();
        else if (m_phase == PhaseEnded && type == wxEVT_MEDIA_PLAY)
            m_phase = PhaseReady; // a seek from the end plays it again
    }
    return false;
}

bool BrelkoCtrl::_dropStop()
{
    // Stops of the previous medium arrive before the new one's loaded notification.
    if (m_pendingLoads > 0 || !m_currentAnswered)
        return true;
    if (GetState() == wxMEDIASTATE_PLAYING) {
        // Sent while the pipeline still plays: the end of the video. Its twin
        // follows once the pipeline has stopped.
        if (m_phase != PhaseReady)
            return true;
        m_phase = PhaseEnded;
        return false;
    }
    if (m_stopsInFlight > 0) {
        --m_stopsInFlight;
        return true;
    }
    if (m_phase == PhaseLoading || m_phase == PhaseReady) {
        // Nobody asked for this stop: the pipeline gave up on the medium.
        m_phase = PhaseFailed;
        m_loadTimer.Stop();
        m_retryTimer.Stop();
        m_playPending = false;
        return false;
    }
    return true;
}

void BrelkoCtrl::_becomeReady()
{
    m_phase = PhaseReady;
    m_loadTimer.Stop();
    _queueOwn(wxEVT_MEDIA_LOADED);
}

void BrelkoCtrl::_queueOwn(wxEventType type)
{
    auto* event = new wxMediaEvent(type, GetId());
    event->SetEventObject(this);
    event->SetInt(kOwnNotification);
    QueueEvent(event);
}

void BrelkoCtrl::_onRetryTimer(wxTimerEvent&)
{
    if (!m_playPending || GetState() == wxMEDIASTATE_PLAYING ||
        (m_phase != PhaseLoading && m_phase != PhaseReady)) {
        m_playPending = false;
        return;
    }
    if (m_retries >= kMaxRetries) {
        LogText("ERROR : BrelkoCtrl :: Play - No answer from the video sink: " + m_path);
        m_playPending = false;
        return;
    }
    ++m_retries;
    LogText("BrelkoCtrl :: Play - Retry");
    m_retryTimer.StartOnce(kRetryMs);
    wxMediaCtrl::Play();
}

void BrelkoCtrl::_onLoadTimer(wxTimerEvent&)
{
    if (m_phase != PhaseLoading)
        return;
    // The back end never answered an earlier Load: stop waiting for it.
    m_pendingLoads = 0;
    if (!m_deferredPath.empty()) {
        wxString path;
        path.swap(m_deferredPath);
        if (_issueLoad(path)) {
            m_loadTimer.StartOnce(kAnswerTimeoutMs);
            return;
        }
    }
    m_currentAnswered = true;
    wxMediaState state = GetState();
    if ((state == wxMEDIASTATE_PAUSED || state == wxMEDIASTATE_PLAYING) && Length() > 0) {
        _becomeReady();
        return;
    }
    LogText("ERROR : BrelkoCtrl :: Load - No answer for " + m_path);
    m_phase = PhaseFailed;
    _queueOwn(wxEVT_MEDIA_STOP);
}

void BrelkoCtrl::VideoLeftDClick(wxMouseEvent& event)
{
    if (auto* frame = dynamic_cast<FormVideo*>(GetParent()))
        frame->VideoLeftDClick(event);
    else
        event.Skip();
}

void BrelkoCtrl::VideoMouseMove(wxMouseEvent& event)
{
    if (auto* frame = dynamic_cast<FormVideo*>(GetParent()))
        frame->VideoMouseMove(event);
    else
        event.Skip();
}

void BrelkoCtrl::VideoKeyDown(wxKeyEvent& event)
{
    if (auto* frame = dynamic_cast<FormVideo*>(GetParent()))
        frame->VideoKeyDown(event);
    else
        event.Skip();
}

} // namespace BrelkosPlayer
