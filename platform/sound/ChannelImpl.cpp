#include "sound/ChannelImpl.h"

#include "sound/ErrorMapping.h"
#include "sound/Pipeline.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>

namespace sound {

namespace {

constexpr std::uint64_t kNsPerMs = 1000000;
// A seek still refused this long after it was asked is dropped: the stream
// cannot seek, and the position shows where it really is. A time rather than
// a count of retries, since they come as often as someone reads the position.
constexpr std::chrono::seconds kSeekPatience(1);

} // namespace

Channel::Impl::Impl(std::unique_ptr<Pipeline> pipeline, unsigned lengthMs, bool paused)
    : m_pipeline(std::move(pipeline)), m_length(lengthMs), m_paused(paused)
{
    // A reused pipeline still has the settings of its previous channel.
    m_pipeline->setVolume(1.0);
    m_pipeline->setMute(false);
}

Channel::Impl::~Impl()
{
    if (m_pipeline)
        m_pipeline->setEndListener(nullptr, nullptr);
}

Result Channel::Impl::checkPlaying() const
{
    return m_pipeline && !m_pipeline->ended() ? OK : ERR_INVALID_HANDLE;
}

void Channel::Impl::retryPendingSeek()
{
    if (!m_seekPending)
        return;
    if (m_pipeline->ended() || std::chrono::steady_clock::now() - m_seekAskedAt > kSeekPatience ||
        m_pipeline->seek(m_pendingPosition * kNsPerMs))
        m_seekPending = false;
}

Result Channel::Impl::isPlaying(bool* playing)
{
    if (!playing)
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    *playing = m_pipeline && !m_pipeline->ended();
    return m_pipeline ? OK : ERR_INVALID_HANDLE;
}

Result Channel::Impl::getPosition(unsigned* positionMs)
{
    if (!positionMs)
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pipeline) {
        *positionMs = m_lastPosition;
        return ERR_INVALID_HANDLE;
    }
    retryPendingSeek();
    if (m_seekPending) {
        m_lastPosition = m_pendingPosition;
    } else if (m_pipeline->endOfStream() && m_length > 0) {
        m_lastPosition = m_length;
    } else if (!m_pipeline->ended()) {
        std::uint64_t position = m_pipeline->position() / kNsPerMs;
        // Past the end, GStreamer can report more than the length.
        m_lastPosition = static_cast<unsigned>(m_length > 0 ? std::min<std::uint64_t>(position, m_length)
                                                            : std::min<std::uint64_t>(position, ~0u));
    }
    *positionMs = m_lastPosition;
    return OK;
}

Result Channel::Impl::setPosition(unsigned positionMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Result result = checkPlaying();
    if (result != OK)
        return result;
    if (m_length > 0)
        positionMs = std::min(positionMs, m_length);
    // A seek GStreamer refuses (while the pipeline is not prerolled) would be lost.
    m_seekPending = !m_pipeline->seek(positionMs * kNsPerMs);
    m_pendingPosition = positionMs;
    m_seekAskedAt = std::chrono::steady_clock::now();
    m_lastPosition = positionMs;
    return OK;
}

Result Channel::Impl::setPaused(bool paused)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Result result = checkPlaying();
    if (result != OK)
        return result;
    result = paused ? m_pipeline->pause() : m_pipeline->play();
    if (result == OK)
        m_paused = paused;
    return result;
}

Result Channel::Impl::getPaused(bool* paused)
{
    if (!paused)
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    *paused = m_paused;
    return m_pipeline ? OK : ERR_INVALID_HANDLE;
}

Result Channel::Impl::getError(Result* error, char* text, int textLength)
{
    if (!error)
        return ERR_INVALID_PARAM;
    *error = OK;
    if (text && textLength > 0)
        *text = '\0';
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pipeline)
        return ERR_INVALID_HANDLE;
    *error = m_pipeline->error();
    if (*error != OK)
        copyText(m_pipeline->errorText(), text, textLength);
    return OK;
}

Result Channel::Impl::getErrorReason(char* text, int textLength)
{
    copyText(std::string(), text, textLength);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pipeline)
        return ERR_INVALID_HANDLE;
    if (m_pipeline->error() != OK)
        copyText(m_pipeline->reason(), text, textLength);
    return OK;
}

Result Channel::Impl::setMute(bool mute)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Result result = checkPlaying();
    if (result == OK)
        m_pipeline->setMute(mute);
    return result;
}

Result Channel::Impl::setVolume(float volume)
{
    if (std::isnan(volume))
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    Result result = checkPlaying();
    if (result == OK)
        m_pipeline->setVolume(std::clamp(volume, 0.0f, 1.0f));
    return result;
}

Result Channel::Impl::stop()
{
    // The pipeline goes to NULL when the temporary dies, outside the channel's lock.
    return end() ? OK : ERR_INVALID_HANDLE;
}

Result Channel::Impl::setEndCallback(EndCallback notify, void* data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_pipeline)
        return ERR_INVALID_HANDLE;
    m_pipeline->setEndListener(notify, data);
    return OK;
}

std::unique_ptr<Pipeline> Channel::Impl::end()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_seekPending = false;
    // A reused pipeline must not tell this channel's listener of its next end.
    if (m_pipeline)
        m_pipeline->setEndListener(nullptr, nullptr);
    return std::move(m_pipeline);
}

} // namespace sound
