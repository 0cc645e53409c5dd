// Plays one video in the video window through its video control. Made by the
// main window for each video it loads; the control and the window outlive it.
// Everything here runs on the GUI thread.
//
// Once loaded it stays the owner's current player, stopped or not, until
// another medium is loaded or its own fails (Player::StaysAfterStop). A video
// that plays to its end keeps its last frame; one the control gives up on is
// reported through PlayerOwner::EndOfMedia. It starts once the control has
// prerolled the video, through PlayerOwner::MediaReady.
#pragma once

#include "playback/Player.h"

class wxMediaEvent;

namespace BrelkosPlayer {

class BrelkoCtrl;
class FormVideo;
class PlayerOwner;

class VideoPlayer : public Player {
public:
    VideoPlayer(PlayerOwner* owner, BrelkoCtrl* ctrl, FormVideo* window);
    ~VideoPlayer() override;

    // Loads the video into the control; from then on this player hears the
    // control's notifications and is the window's player.
    bool Load(const wxString& path) override;
    bool Start() override { return true; }
    void Play() override;
    void Pause() override;
    // Hides the window and stops the control, unless the video has ended:
    // then the control stands at the end already.
    void Stop() override;
    // The control stays with the window for the next video.
    void End() override {}
    // The video window's own slider moves the video; the main window's does not.
    void SetPosition(float) override {}
    wxString GetMediaTime() override { return wxEmptyString; }
    bool SetVolume(int, int) override { return true; }
    void SetMute(bool mute) override { m_mute = mute; }
    bool GetMute() const override { return m_mute; }
    void Forward() override {}
    void Rewind() override {}
    wxString GetTypeName() const override { return "VideoPlayer"; }
    PlayerState GetState() const override { return m_state; }
    unsigned GetLengthMs() const override;
    unsigned GetPositionMs() override;
    bool StaysAfterStop() const override { return true; }
    bool StartsWhenReady() const override { return true; }

    // The video played to its end and the control shows its last frame.
    bool HasEnded() const { return m_ended; }
    // A seek back from the end plays the video again: a stop must stop it then.
    void PlaysAgain() { m_ended = false; }

private:
    void _onMediaStop(wxMediaEvent& event);
    void _onMediaLoaded(wxMediaEvent& event);

    PlayerOwner* m_owner;
    BrelkoCtrl* m_ctrl;
    FormVideo* m_window;
    PlayerState m_state = Empty;
    bool m_bound = false;
    bool m_ended = false;
    bool m_mute = false;
};

} // namespace BrelkosPlayer
