#include "playback/CreateSoundSystem.h"

#include "log/Logger.h"
#include "playback/SoundReport.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

sound::System* CreateSoundSystem(const char* source, bool checkVersion, bool logChoice,
                                 const SoundSystemLines& lines)
{
    sound::System* system = nullptr;
    int result = sound::System_Create(&system);
    if (result != sound::OK)
        ReportSoundError(result, source, lines.create);
    if (!system)
        return nullptr;

    if (checkVersion) {
        unsigned version = 0;
        result = system->getVersion(&version);
        if (result != sound::OK)
            ReportSoundError(result, source, lines.version);
        if (version < sound::VERSION)
            LogMessage("Warning! You are using an old version of FMOD [0x%x].  This program requires [0x%x]",
                       version, sound::VERSION);
    }

    static const int searchOrder[] = {sound::OUTPUTTYPE_AUTODETECT, sound::OUTPUTTYPE_DSOUND,
                                      sound::OUTPUTTYPE_WINMM, sound::OUTPUTTYPE_ASIO,
                                      sound::OUTPUTTYPE_NOSOUND};
    for (int type : searchOrder) {
        result = system->setOutput(type);
        if (result != sound::OK)
            ReportSoundError(result, source, lines.setOutput);
        result = system->init(4095, 0, nullptr);
        if (result == sound::OK) {
            if (logChoice)
                LogText("FMOD is initialized with Output type : [" + OutputTypeName(type) + "]");
            break;
        }
        ReportSoundError(result, source, lines.init);
    }
    return system;
}

} // namespace BrelkosPlayer
