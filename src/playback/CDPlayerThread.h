// Plays one track of an audio CD, named by its CD track address: the drive
// name followed by the zero-based track index.
#pragma once

#include "playback/PlayerThread.h"

namespace sound {
class System;
class Sound;
class Channel;
} // namespace sound

namespace BrelkosPlayer {

class CDPlayerThread : public PlayerThread {
public:
    explicit CDPlayerThread(PlayerOwner* owner);
    ~CDPlayerThread() override;

    bool Load(const wxString& address) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void SetMute(bool mute) override;
    wxString GetTypeName() const override { return "CDPlayerThread"; }

    unsigned GetLength() const override { return m_length; }
    int GetTrackCount() const { return m_trackCount; }

protected:
    sound::Channel* GetChannel() override { return m_channel; }
    const char* GetSource() const override;
    void OnStopFailed() override;

private:
    sound::System* m_system = nullptr;
    sound::Sound* m_disc = nullptr;
    sound::Sound* m_trackSound = nullptr;
    sound::Channel* m_channel = nullptr;
    wxString m_drive;
    int m_trackCount = 0;
    int m_track = 0;
    unsigned m_length = 0;
};

} // namespace BrelkosPlayer
