// Plays one audio file as a stream of our sound library.
#pragma once

#include "playback/PlayerThread.h"

namespace sound {
class System;
class Sound;
class Channel;
} // namespace sound

namespace BrelkosPlayer {

class AudioPlayerThread : public PlayerThread {
public:
    explicit AudioPlayerThread(PlayerOwner* owner);
    ~AudioPlayerThread() override;

    bool Load(const wxString& path) override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void SetMute(bool mute) override;
    wxString GetTypeName() const override { return "AudioPlayerThread"; }

    unsigned GetLength() const override { return m_length; }

protected:
    sound::Channel* GetChannel() override { return m_channel; }
    const char* GetSource() const override;

private:
    sound::System* m_system = nullptr;
    sound::Sound* m_sound = nullptr;
    sound::Channel* m_channel = nullptr;
    unsigned m_length = 0;
};

} // namespace BrelkosPlayer
