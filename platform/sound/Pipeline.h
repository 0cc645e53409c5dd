// One playback pipeline: a source, then audioconvert ! audioresample ! volume
// ! the output sink. Its owner serialises the calls; GStreamer's threads only
// touch the shared PipelineState.
#pragma once

#include "sound/SoundSystem.h"

#include <gst/gst.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace sound {

class OutputSink;
class PipelineSource;
class PipelineState;

class Pipeline {
public:
    static Result create(PipelineSource& source, const OutputSink& output,
                         std::unique_ptr<Pipeline>* pipeline);
    ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // To PAUSED, waiting until the first audio is ready. A file that fails,
    // stalls or yields no audio gives its error code.
    Result preroll();
    // Back to the start and paused, ready for another channel. False when it
    // cannot be reused (it ended or failed), so a new one must be made.
    bool rewind();
    Result play();
    Result pause();
    // Flushing, accurate seek. False when GStreamer refused it.
    bool seek(std::uint64_t positionNs);
    // The current position, or the last known one while it is unknown (during a seek).
    std::uint64_t position();
    // -1 when the pipeline cannot tell yet.
    std::int64_t duration() const;
    void setVolume(double volume);
    void setMute(bool mute);
    // See PipelineState::setEndListener.
    void setEndListener(Channel::EndCallback listener, void* data);

    bool ended() const;
    bool endOfStream() const;
    Result error() const;
    std::string errorText() const;
    // The error in the decoder's own words, or ours for a preroll that failed
    // without any; empty while all is well.
    std::string reason() const;

private:
    Pipeline() = default;
    Result waitAsyncDone(unsigned seen, Result onStall);

    GstElement* m_pipeline = nullptr;
    GstElement* m_volume = nullptr;
    std::shared_ptr<PipelineState> m_state;
    std::chrono::milliseconds m_patience{0};
    std::uint64_t m_sourceSize = 0;
    std::uint64_t m_lastPosition = 0;
    bool m_touched = false;    // played or sought since its preroll
    bool m_serverSink = false; // a sound server's stream (PulseAudio, PipeWire)
    bool m_played = false;     // set playing at least once
    std::string m_ownReason;
};

} // namespace sound
