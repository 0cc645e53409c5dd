// A channel: one pipeline playing one sound, from playSound until it stops.
// Its calls lock only the channel, so a thread can poll it while another
// commands it or replays its sound.
#pragma once

#include "sound/SoundSystem.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace sound {

class Pipeline;

struct Channel::Impl {
    // `pipeline` is prerolled, and playing unless `paused`.
    Impl(std::unique_ptr<Pipeline> pipeline, unsigned lengthMs, bool paused);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    Channel handle{this};

    Result isPlaying(bool* playing);
    Result getPosition(unsigned* positionMs);
    Result setPosition(unsigned positionMs);
    Result setPaused(bool paused);
    Result getPaused(bool* paused);
    Result getError(Result* error, char* text, int textLength);
    Result getErrorReason(char* text, int textLength);
    Result setMute(bool mute);
    Result setVolume(float volume);
    Result stop();
    Result setEndCallback(EndCallback notify, void* data);

    // Stops the channel for its sound or system and hands its pipeline back
    // (null if it had already stopped). Every later call answers ERR_INVALID_HANDLE.
    std::unique_ptr<Pipeline> end();

private:
    // OK while the medium still plays; ERR_INVALID_HANDLE once stopped or ended.
    Result checkPlaying() const;
    void retryPendingSeek();

    mutable std::mutex m_mutex;
    std::unique_ptr<Pipeline> m_pipeline; // null once stopped
    const unsigned m_length;              // 0 when unknown
    unsigned m_lastPosition = 0;
    bool m_paused;
    bool m_seekPending = false; // GStreamer refused the seek: it is tried again
    unsigned m_pendingPosition = 0;
    std::chrono::steady_clock::time_point m_seekAskedAt;
};

} // namespace sound
