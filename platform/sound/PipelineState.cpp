#include "sound/PipelineState.h"

#include "sound/ErrorMapping.h"

#include <gst/pbutils/missing-plugins.h>

namespace sound {

PipelineState::PipelineState(const GstElement* pipeline) : m_pipeline(pipeline), m_lastProgress(now()) {}

std::int64_t PipelineState::now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void PipelineState::handleMessage(GstMessage* message)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const bool ends =
        GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR || GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        if (m_error == OK) {
            GError* error = nullptr;
            gchar* debug = nullptr;
            gst_message_parse_error(message, &error, &debug);
            m_error = resultFromGstError(error, GST_MESSAGE_SRC(message));
            if (m_error == ERR_FORMAT && !m_missingPlugins.empty())
                m_error = ERR_PLUGIN_MISSING;
            m_errorText = textOfGstError(error, debug, GST_MESSAGE_SRC(message));
            m_errorMessage = textOfGstError(error, nullptr, nullptr);
            g_clear_error(&error);
            g_free(debug);
        }
        break;
    case GST_MESSAGE_EOS: m_endOfStream = true; break;
    case GST_MESSAGE_ASYNC_DONE:
        // Children post their own; only the pipeline's means "all prerolled".
        if (GST_MESSAGE_SRC(message) != GST_OBJECT_CAST(m_pipeline))
            return;
        ++m_asyncDone;
        m_seeking = false;
        break;
    case GST_MESSAGE_ELEMENT:
        if (gst_is_missing_plugin_message(message)) {
            // parsebin and decodebin may both miss the same decoder: named once.
            gchar* description = gst_missing_plugin_message_get_description(message);
            const std::string name = description ? description : "unknown";
            g_free(description);
            const std::string listed = ", " + m_missingPlugins + ", ";
            if (listed.find(", " + name + ", ") == std::string::npos)
                m_missingPlugins += (m_missingPlugins.empty() ? "" : ", ") + name;
        }
        return;
    default: return;
    }
    m_changed.notify_all();
    if (ends) {
        // Not under m_mutex: the listener may take its owner's locks.
        lock.unlock();
        std::lock_guard<std::mutex> listening(m_listenerMutex);
        if (m_listener)
            m_listener(m_listenerData);
    }
}

void PipelineState::setEndListener(Channel::EndCallback listener, void* data)
{
    std::lock_guard<std::mutex> listening(m_listenerMutex);
    m_listener = listener;
    m_listenerData = data;
    if (m_listener && ended())
        m_listener(m_listenerData);
}

void PipelineState::noteProgress(std::uint64_t readUpTo)
{
    m_lastProgress.store(now(), std::memory_order_relaxed);
    std::uint64_t end = m_readEnd.load(std::memory_order_relaxed);
    while (readUpTo > end && !m_readEnd.compare_exchange_weak(end, readUpTo, std::memory_order_relaxed)) {
    }
}

void PipelineState::noteAudio()
{
    noteProgress();
    m_audio.store(true, std::memory_order_relaxed);
}

PipelineState::Wait PipelineState::waitAsyncDone(unsigned seen, const Patience& patience)
{
    using std::chrono::nanoseconds;
    const auto deadline = std::chrono::steady_clock::now() + patience.limit;
    const std::int64_t idleNs = nanoseconds(patience.idle).count();
    const std::int64_t afterEndNs = nanoseconds(patience.afterEnd).count();
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_error != OK)
            return Wait::Failed;
        if (m_asyncDone > seen)
            return Wait::Done;
        if (std::chrono::steady_clock::now() >= deadline)
            return Wait::TimedOut;
        // Some demuxers' errors are swallowed by decodebin while it is still
        // plugging them: the pipeline then never prerolls, and nothing moves.
        const std::int64_t idle = now() - m_lastProgress.load(std::memory_order_relaxed);
        const bool allRead =
            patience.sourceSize > 0 && m_readEnd.load(std::memory_order_relaxed) >= patience.sourceSize;
        if (idle > idleNs || (allRead && idle > afterEndNs))
            return Wait::Stalled;
        m_changed.wait_for(lock, std::chrono::milliseconds(20));
    }
}

unsigned PipelineState::asyncDoneCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_asyncDone;
}

bool PipelineState::ended() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_endOfStream || m_error != OK;
}

bool PipelineState::endOfStream() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_endOfStream;
}

Result PipelineState::error() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

std::string PipelineState::errorText() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_errorText;
}

std::string PipelineState::reason() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_error == OK)
        return std::string();
    if (!m_missingPlugins.empty())
        return "missing plug-in: " + m_missingPlugins;
    return m_errorMessage;
}

bool PipelineState::gotAudio() const
{
    return m_audio.load(std::memory_order_relaxed);
}

void PipelineState::beginSeek()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_seeking = true;
}

void PipelineState::cancelSeek()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_seeking = false;
}

bool PipelineState::seeking() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seeking;
}

void PipelineState::clearEndOfStream()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_endOfStream = false;
}

} // namespace sound
