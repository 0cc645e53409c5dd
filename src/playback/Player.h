// What the main window plays a medium through: an audio file or a CD track on
// a player thread, or a video in the video window. News goes to the player's
// PlayerOwner and carries the player's serial, so the owner can drop what a
// player it has already let go still says.
#pragma once

#include <wx/string.h>

#include "playback/PlayerState.h"

namespace BrelkosPlayer {

class Player {
public:
    Player();
    virtual ~Player() = default;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    virtual bool Load(const wxString& path) = 0;
    // Gets ready to play; later calls do nothing (a thread player runs its thread).
    virtual bool Start() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    // Lets go of the medium, before the owner deletes the player.
    virtual void End() = 0;
    virtual void SetPosition(float fraction) = 0;
    virtual wxString GetMediaTime() = 0;
    virtual bool SetVolume(int level, int reserved) = 0;
    virtual void SetMute(bool mute) = 0;
    virtual bool GetMute() const = 0;
    virtual void Forward() = 0;
    virtual void Rewind() = 0;
    virtual wxString GetTypeName() const = 0;
    virtual PlayerState GetState() const = 0;
    // The medium's length and where it is, in milliseconds (0 while unknown),
    // for the desktop's media controls; they log nothing.
    virtual unsigned GetLengthMs() const = 0;
    virtual unsigned GetPositionMs() = 0;

    // Whether the player stays the owner's current one after a stop, so the
    // transport keeps acting on it until another medium is loaded (the video
    // player: its window stays for the next video).
    virtual bool StaysAfterStop() const { return false; }
    // Whether Play waits until the medium is ready: the player then asks its
    // owner through PlayerOwner::MediaReady.
    virtual bool StartsWhenReady() const { return false; }

    unsigned long GetSerial() const { return m_serial; }

private:
    const unsigned long m_serial;
};

} // namespace BrelkosPlayer
