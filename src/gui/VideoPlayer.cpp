#include "gui/VideoPlayer.h"

#include "gui/BrelkoCtrl.h"
#include "gui/FormVideo.h"
#include "log/Logger.h"
#include "playback/PlayerOwner.h"
#include "sound/MediaReason.h"

namespace BrelkosPlayer {

namespace {

void Trace(const wxString& text)
{
    ConsoleTrace(std::string(text.utf8_str()));
}

} // namespace

VideoPlayer::VideoPlayer(PlayerOwner* owner, BrelkoCtrl* ctrl, FormVideo* window)
    : m_owner(owner), m_ctrl(ctrl), m_window(window)
{
}

VideoPlayer::~VideoPlayer()
{
    if (m_bound) {
        m_ctrl->Unbind(wxEVT_MEDIA_STOP, &VideoPlayer::_onMediaStop, this);
        m_ctrl->Unbind(wxEVT_MEDIA_LOADED, &VideoPlayer::_onMediaLoaded, this);
    }
    if (m_window && m_window->GetPlayer() == this)
        m_window->AttachPlayer(nullptr);
}

unsigned VideoPlayer::GetLengthMs() const
{
    // The control knows the length once the video has prerolled.
    wxFileOffset length = m_ctrl && (m_ctrl->IsReady() || m_ctrl->HasEnded()) ? m_ctrl->Length() : 0;
    return length > 0 ? static_cast<unsigned>(length) : 0;
}

unsigned VideoPlayer::GetPositionMs()
{
    wxFileOffset position = m_ctrl && (m_ctrl->IsReady() || m_ctrl->HasEnded()) ? m_ctrl->Tell() : 0;
    return position > 0 ? static_cast<unsigned>(position) : 0;
}

bool VideoPlayer::Load(const wxString& path)
{
    if (!m_ctrl || !m_ctrl->Load(path))
        return false;
    m_state = Loaded;
    if (!m_bound) {
        // The control queues its notifications: none about this video can have gone out yet.
        m_ctrl->Bind(wxEVT_MEDIA_STOP, &VideoPlayer::_onMediaStop, this);
        m_ctrl->Bind(wxEVT_MEDIA_LOADED, &VideoPlayer::_onMediaLoaded, this);
        m_bound = true;
    }
    if (m_window)
        m_window->AttachPlayer(this);
    return true;
}

void VideoPlayer::Play()
{
    m_ended = false;
    Trace("coin !\n");
    m_ctrl->Play();
    Trace("coin !\n");
    m_ctrl->Show(true);
    if (m_window)
        m_window->Show(true);
    Trace("coin !\n");
    m_state = Playing;
}

void VideoPlayer::Pause()
{
    m_ctrl->Pause();
    m_state = Paused;
}

void VideoPlayer::Stop()
{
    m_state = Stopped;
    if (m_ended || !m_ctrl)
        return;
    if (m_window)
        m_window->Show(false);
    m_ctrl->Show(false);
    m_ctrl->Stop();
}

void VideoPlayer::_onMediaStop(wxMediaEvent& event)
{
    // Other listeners of the control hear it too.
    event.Skip();
    Trace("FormMain :: _onMediaStop\n");
    if (m_ctrl->HasFailed()) {
        // GStreamer accepts any file at Load and gives up on a broken one
        // only now: trace it like a failed load and let the owner drop this player.
        Trace("Can't load " + m_ctrl->GetPath() + "\n");
        // The control keeps GStreamer's error to itself: ask GStreamer again.
        std::string reason = sound::whyNotPlayable(std::string(m_ctrl->GetPath().fn_str()));
        if (!reason.empty())
            LogText("ERROR : VideoPlayer :: Load - Reason: " + wxString::FromUTF8(reason));
        m_ended = false;                  // so that the owner's stop hides the window and stops the control
        m_owner->EndOfMedia(GetSerial()); // may delete this player
        return;
    }
    // The control already stands at the end, showing the last frame; a seek
    // past the end would start GStreamer over and end the video again, without end.
    m_ended = true;
    event.Veto();
}

void VideoPlayer::_onMediaLoaded(wxMediaEvent& event)
{
    event.Skip();
    Trace("FormMain :: _onMediaLoaded\n");
    if (!m_window || !m_window->IsSizing())
        return;
    m_window->FitToVideo();
    m_owner->MediaReady(GetSerial());
}

} // namespace BrelkosPlayer
