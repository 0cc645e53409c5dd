// What a pipeline's GStreamer threads report to the threads that drive it.
// Bus messages arrive through a sync handler on the posting thread (so the bus
// never queues anything), data flow through pad probes. The state is shared
// with those callbacks, so it outlives the last of them.
#pragma once

#include "sound/SoundSystem.h"

#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

namespace sound {

class PipelineState {
public:
    // The pipeline is only compared with message sources, never used.
    explicit PipelineState(const GstElement* pipeline);

    void handleMessage(GstMessage* message);
    // Something moved in the pipeline: an element plugged, or data read from
    // its source, up to byte `readUpTo` when that is known.
    void noteProgress(std::uint64_t readUpTo = 0);
    // A buffer reached the audio chain.
    void noteAudio();

    struct Patience {
        std::chrono::milliseconds idle;     // without any progress
        std::chrono::milliseconds afterEnd; // without progress once the whole source was read
        std::uint64_t sourceSize;           // 0 when unknown
        std::chrono::milliseconds limit;    // in all
    };
    enum class Wait { Done, Failed, Stalled, TimedOut };
    // Waits for the pipeline's ASYNC_DONE number `seen` + 1 or later, for an
    // error, or until the pipeline stalls or the limit passes.
    Wait waitAsyncDone(unsigned seen, const Patience& patience);

    unsigned asyncDoneCount() const;
    bool ended() const; // end of stream or error
    bool endOfStream() const;
    Result error() const;
    // GStreamer's words for the error; empty without one.
    std::string errorText() const;
    // The error in the decoder's own words: the missing plug-ins when
    // GStreamer asked for some, else its message. Empty without one.
    std::string reason() const;
    bool gotAudio() const;

    // A flushing seek leaves the position unknown until its ASYNC_DONE.
    void beginSeek();
    void cancelSeek();
    bool seeking() const;
    void clearEndOfStream();
    // Called on the posting thread when the stream ends (end of stream or
    // error), or at once when it already has. Null removes it; once that
    // returns, the previous listener neither runs nor will run.
    void setEndListener(Channel::EndCallback listener, void* data);

private:
    static std::int64_t now();

    const GstElement* m_pipeline;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_asyncDone = 0;
    bool m_endOfStream = false;
    Result m_error = OK;
    std::string m_errorText;
    std::string m_errorMessage;
    std::string m_missingPlugins; // their descriptions, comma-separated
    bool m_seeking = false;
    std::atomic<std::int64_t> m_lastProgress;
    std::atomic<std::uint64_t> m_readEnd{0};
    std::atomic<bool> m_audio{false}; // set for every buffer: no lock
    // Held while the listener runs, so that removing it waits for a running call.
    std::mutex m_listenerMutex;
    Channel::EndCallback m_listener = nullptr;
    void* m_listenerData = nullptr;
};

} // namespace sound
