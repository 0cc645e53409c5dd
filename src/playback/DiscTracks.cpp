#include "playback/DiscTracks.h"

#include "playback/SoundReport.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

bool ReadDiscTracks(const wxString& drive, const DiscTracksReport& report, wxArrayString& addresses)
{
    sound::System* system = CreateSoundSystem(report.source, false, false, report.system);
    if (!system)
        return false;
    sound::Sound* disc = nullptr;
    int tracks = 0;
    int result = system->createStream(drive.utf8_str(), 0, nullptr, &disc);
    if (result != sound::OK) {
        ReportSoundError(result, report.source, report.stream);
        disc = nullptr;
        if (report.countUnopenedDisc)
            ReportSoundError(sound::ERR_INVALID_HANDLE, report.source, report.tracks);
    } else if ((result = disc->getNumSubSounds(&tracks)) != sound::OK) {
        ReportSoundError(result, report.source, report.tracks);
    } else {
        for (int j = 0; j < tracks; ++j)
            addresses.Add(drive + wxString::Format("%d", j));
    }
    if (disc)
        disc->release();
    system->close();
    system->release();
    return result == sound::OK;
}

} // namespace BrelkosPlayer
