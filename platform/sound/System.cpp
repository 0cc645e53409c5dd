#include "sound/SystemImpl.h"

#include <new>

namespace sound {

Result System_Create(System** system)
{
    if (!system)
        return ERR_INVALID_PARAM;
    *system = new (std::nothrow) System;
    return *system ? OK : ERR_INTERNAL;
}

System::System() : m_impl(new Impl) {}

System::~System()
{
    delete m_impl;
}

Result System::getVersion(unsigned* version)
{
    if (!version)
        return ERR_INVALID_PARAM;
    *version = VERSION;
    return OK;
}

Result System::setOutput(int outputType)
{
    return m_impl->setOutput(outputType);
}

Result System::getOutput(int* outputType)
{
    return m_impl->getOutput(outputType);
}

Result System::init(int maxChannels, unsigned, void*)
{
    return m_impl->init(maxChannels);
}

Result System::createStream(const char* nameOrPath, unsigned, void*, Sound** sound)
{
    return m_impl->createStream(nameOrPath, sound);
}

Result System::playSound(int channelIndex, Sound* sound, bool paused, Channel** channel)
{
    return m_impl->playSound(channelIndex, sound, paused, channel);
}

Result System::close()
{
    return m_impl->close();
}

Result System::release()
{
    delete this;
    return OK;
}

Result System::getNumCDROMDrives(int* count)
{
    return m_impl->getNumCDROMDrives(count);
}

Result System::getLastErrorReason(char* text, int textLength)
{
    return m_impl->getLastErrorReason(text, textLength);
}

Result System::getCDROMDriveName(int index, char* name, int nameLength, char* scsiName, int scsiNameLength,
                                 char* deviceName, int deviceNameLength)
{
    return m_impl->getCDROMDriveName(index, name, nameLength, scsiName, scsiNameLength, deviceName,
                                     deviceNameLength);
}

} // namespace sound
