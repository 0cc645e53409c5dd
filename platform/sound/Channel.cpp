#include "sound/ChannelImpl.h"

namespace sound {

Result Channel::isPlaying(bool* playing)
{
    return m_impl->isPlaying(playing);
}

Result Channel::getPosition(unsigned* position, unsigned timeUnit)
{
    if (timeUnit != TIMEUNIT_MS)
        return ERR_INVALID_PARAM;
    return m_impl->getPosition(position);
}

Result Channel::setPosition(unsigned position, unsigned timeUnit)
{
    if (timeUnit != TIMEUNIT_MS)
        return ERR_INVALID_PARAM;
    return m_impl->setPosition(position);
}

Result Channel::setPaused(bool paused)
{
    return m_impl->setPaused(paused);
}

Result Channel::getPaused(bool* paused)
{
    return m_impl->getPaused(paused);
}

Result Channel::getError(Result* error, char* text, int textLength)
{
    return m_impl->getError(error, text, textLength);
}

Result Channel::getErrorReason(char* text, int textLength)
{
    return m_impl->getErrorReason(text, textLength);
}

Result Channel::setMute(bool mute)
{
    return m_impl->setMute(mute);
}

Result Channel::setVolume(float volume)
{
    return m_impl->setVolume(volume);
}

Result Channel::stop()
{
    return m_impl->stop();
}

Result Channel::setEndCallback(EndCallback notify, void* data)
{
    return m_impl->setEndCallback(notify, data);
}

} // namespace sound
