#include "sound/SoundImpl.h"
#include "sound/SystemImpl.h"

namespace sound {

Result Sound::getLength(unsigned* length, unsigned timeUnit)
{
    return m_impl->getLength(length, timeUnit);
}

Result Sound::getNumSubSounds(int* count)
{
    return m_impl->getNumSubSounds(count);
}

Result Sound::getSubSound(int index, Sound** subSound)
{
    return m_impl->getSubSound(index, subSound);
}

Result Sound::release()
{
    return m_impl->system->releaseSound(m_impl);
}

} // namespace sound
