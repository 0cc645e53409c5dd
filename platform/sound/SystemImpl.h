// The system: output choice, and owner of every sound and channel it made.
// Its lock serialises what changes ownership (createStream, playSound,
// release, close); channel calls never take it.
#pragma once

#include "sound/OutputSink.h"
#include "sound/SoundSystem.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sound {

struct System::Impl {
    Impl();
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    Result setOutput(int outputType);
    Result getOutput(int* outputType);
    Result init(int maxChannels);
    Result createStream(const char* nameOrPath, Sound** sound);
    Result playSound(int channelIndex, Sound* sound, bool paused, Channel** channel);
    Result getLastErrorReason(char* text, int textLength);
    Result close();
    Result releaseSound(Sound::Impl* sound);
    Result getNumCDROMDrives(int* count);
    Result getCDROMDriveName(int index, char* name, int nameLength, char* scsiName, int scsiNameLength,
                             char* deviceName, int deviceNameLength);

private:
    Result createFileStream(const std::string& path, Sound::Impl** sound);
    Result createDiscStream(const std::string& driveName, Sound::Impl** sound);
    Sound::Impl* adopt(std::unique_ptr<Sound::Impl> sound);
    void releaseLocked(Sound::Impl* sound);

    std::mutex m_mutex;
    int m_outputType = OUTPUTTYPE_AUTODETECT;
    bool m_initialised = false;
    OutputSink m_output;
    std::vector<std::unique_ptr<Sound::Impl>> m_sounds;
    std::vector<std::unique_ptr<Channel::Impl>> m_channels;
    std::string m_lastReason; // of the last createStream or playSound
};

} // namespace sound
