#include "playback/SoundReport.h"

#include "log/Logger.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

bool ReportSoundError(int result, const char* source, unsigned line)
{
    LogMessage("FMOD error (%d) : [ %s] in \"%s\"@%u", result, sound::ErrorString(result), source, line);
    return false;
}

wxString OutputTypeName(int outputType)
{
    static const char* const names[] = {"Autodetect",
                                        "Unknown",
                                        "No sound",
                                        "Wave writer",
                                        "Non real-time no sound",
                                        "Non real-time Wave writer",
                                        "DirectSound",
                                        "Windows Multimedia",
                                        "ASIO",
                                        "OSS",
                                        "ALSA",
                                        "ESD",
                                        "Sound Manager",
                                        "Core Audio",
                                        "XBox",
                                        "Playstation 2",
                                        "Playstation 3",
                                        "GameCube",
                                        "XBox 360",
                                        "PSP",
                                        "Wii"};
    if (outputType >= 0 && outputType < static_cast<int>(sizeof names / sizeof names[0]))
        return names[outputType];
    return wxString::Format("[%d] isn't a valid output type...", outputType);
}

wxArrayString CDDriveNames()
{
    wxArrayString names;
    sound::System* system = nullptr;
    sound::System_Create(&system);
    if (!system)
        return names;
    int count = 0;
    system->getNumCDROMDrives(&count);
    for (int i = 0; i < count; ++i) {
        char name[sound::MAX_DRIVE_NAME] = {};
        char scsiName[sound::MAX_DRIVE_NAME] = {};
        char deviceName[sound::MAX_DRIVE_NAME] = {};
        system->getCDROMDriveName(i, name, sizeof name, scsiName, sizeof scsiName, deviceName,
                                  sizeof deviceName);
        names.Add(wxString::FromUTF8(name));
    }
    system->close();
    system->release();
    return names;
}

} // namespace BrelkosPlayer
