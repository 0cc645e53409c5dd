// The playlist window's CD side: the drive menu and the listing of a disc's
// tracks into the CD list.
#include <wx/menu.h>

#include "gui/AppWindows.h"
#include "log/Logger.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "playback/SoundReport.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

namespace {
const char* const kSource = ".\\src\\gui\\FormPlaylist";
// The lines under which these reports have always been known.
enum ReportLine : unsigned {
    kCreateLine = 509,
    kSetOutputLine = 522,
    kInitLine = 524,
    kStreamLine = 529,
    kSubSoundsLine = 532,
};
} // namespace

wxMenu* FormPlaylist::BuildDriveMenu()
{
    auto* menu = new wxMenu;
    m_driveNames = CDDriveNames();
    for (size_t i = 0; i < m_driveNames.GetCount(); ++i) {
        LogText(m_driveNames[i]);
        // Only eight drives have menu ids.
        if (ID_PLAYLIST_DRIVE_FIRST + i <= ID_PLAYLIST_DRIVE_LAST)
            menu->Append(ID_PLAYLIST_DRIVE_FIRST + i, m_driveNames[i]);
    }
    return menu;
}

void FormPlaylist::ListDriveTracks(int drive)
{
    if (!g_formMain)
        return;
    g_formMain->Stop();
    if (drive < 0 || drive >= static_cast<int>(m_driveNames.GetCount()))
        return;

    sound::System* system = nullptr;
    int result = sound::System_Create(&system);
    if (result != sound::OK)
        ReportSoundError(result, kSource, kCreateLine);
    if (!system)
        return;
    static const int searchOrder[] = {sound::OUTPUTTYPE_AUTODETECT, sound::OUTPUTTYPE_DSOUND,
                                      sound::OUTPUTTYPE_WINMM, sound::OUTPUTTYPE_ASIO, sound::OUTPUTTYPE_NOSOUND};
    for (int type : searchOrder) {
        if ((result = system->setOutput(type)) != sound::OK)
            ReportSoundError(result, kSource, kSetOutputLine);
        if ((result = system->init(4095, 0, nullptr)) == sound::OK)
            break;
        ReportSoundError(result, kSource, kInitLine);
    }

    const wxString driveName = m_driveNames[drive];
    sound::Sound* disc = nullptr;
    result = system->createStream(driveName.utf8_str(), 0, nullptr, &disc);
    if (result != sound::OK) {
        ReportSoundError(result, kSource, kStreamLine);
        disc = nullptr;
    } else {
        int tracks = 0;
        result = disc->getNumSubSounds(&tracks);
        if (result != sound::OK) {
            ReportSoundError(result, kSource, kSubSoundsLine);
        } else {
            LogMessage("Tracks : %d", tracks);
            for (int j = 0; j < tracks; ++j) {
                wxString address = driveName + wxString::Format("%d", j);
                LogText(address);
                if (!g_formMain->HasEntry(address))
                    g_formMain->AddFile(address);
            }
        }
    }
    if (disc)
        disc->release();
    system->close();
    system->release();
}

} // namespace BrelkosPlayer
