// The abstract player: one medium, one sound system, one thread that follows
// the playing medium. The thread is joinable: its owner ends and deletes it on
// the GUI thread, so the object never vanishes under a pointer that the GUI
// still holds.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <wx/string.h>
#include <wx/thread.h>

#include "playback/Player.h"

namespace sound {
class Channel;
class Sound;
class System;
} // namespace sound

namespace BrelkosPlayer {

class PlayerOwner;

class PlayerThread : public wxThread, public Player {
public:
    explicit PlayerThread(PlayerOwner* owner);
    ~PlayerThread() override;

    // Both players move, time and turn their channel the same way.
    void SetPosition(float fraction) override;
    wxString GetMediaTime() override;
    bool SetVolume(int level, int reserved) override;
    void Forward() override;
    void Rewind() override;

    // Where the channel is, in milliseconds (0 without a channel).
    unsigned GetPosition();
    unsigned GetLengthMs() const override { return GetLength(); }
    unsigned GetPositionMs() override { return GetPosition(); }
    PlayerState GetState() const override { return static_cast<PlayerState>(m_state.load()); }
    bool GetMute() const override { return m_mute; }
    // True once the owner created and ran the thread.
    bool IsStarted() const { return m_started; }
    // Creates and runs the thread once; later calls do nothing.
    bool Start() override;
    // Asks the body to finish and waits for it (or releases a never-started player).
    void End() override;

    // Length in minutes and seconds, e.g. 185000 ms gives "3min5s".
    static wxString FormatMediaTime(unsigned lengthMs);
    // The volume slider's 0..100 on the channel's 0.0..1.0.
    static float ChannelVolume(int level);

protected:
    ExitCode Entry() override;

    // For the body: the channel of the medium being played and its length.
    virtual sound::Channel* GetChannel() = 0;
    virtual unsigned GetLength() const = 0;
    virtual const char* GetSource() const = 0;
    // The body's final stop failed (the CD player logs it).
    virtual void OnStopFailed() {}

    void SetState(PlayerState state) { m_state = state; }
    // Holds the body at its next pass until ResumeThread or End; resumes a held body.
    void SuspendThread();
    void ResumeThread();
    // Cuts the body's rest short, so that it looks at the channel at once.
    void WakeThread();
    // Stops the channel when it plays, then releases the sounds in order and
    // the system; every pointer is left null.
    void ReleaseAll(sound::Channel*& channel, std::initializer_list<sound::Sound**> sounds,
                    sound::System*& system);
    // Writes the failure line of a library call with this player's source.
    bool Report(int result, unsigned line) const;
    // The failure line of a load, then the decoder's reason on a line of its
    // own when `system` has one (null: a failure before the system was asked).
    bool ReportLoad(int result, unsigned line, sound::System* system) const;

    // Serialises the GUI's commands with the body's polling.
    std::recursive_mutex m_mutex;
    bool m_mute = false;
    float m_volume = 1.0f; // last SetVolume, applied again on every start

private:
    // Forward and Rewind: moves a playing or paused channel, kept within 0..length.
    void _stepChannel(int deltaMs);
    // A channel that has ended: logs the stream error that ended it, if one did.
    void _reportChannelError(sound::Channel* channel);
    // Its lines: GStreamer's words for the error, then the decoder's reason.
    void _logPlaybackFailure(sound::Channel* channel, char* text, int textLength);
    // For the body: waits while a pause is asked; true once End asked to finish.
    bool _holdWhilePaused();
    // For the body: the pause between two passes, cut short by End, by any
    // command and by the channel's end; true once End asked.
    bool _rest(std::chrono::milliseconds time);
    // The channel's end notice, on a GStreamer thread.
    static void _channelEnded(void* player);

    std::atomic<int> m_state{Empty};
    PlayerOwner* m_owner;
    bool m_started = false;
    // Not wxThread::Pause and Delete: in wx 3.2 (src/unix/threadpsx.cpp) Delete
    // resumes a paused thread outside the thread's lock, and a body that reaches
    // TestDestroy at that moment sleeps on a semaphore that nobody posts while
    // Delete joins it: a hang. The body waits on this condition instead.
    std::mutex m_holdMutex;
    std::condition_variable m_holdChanged;
    bool m_pauseAsked = false;
    bool m_endAsked = false;
    bool m_woken = false; // something happened since the body's last look
};

} // namespace BrelkosPlayer
