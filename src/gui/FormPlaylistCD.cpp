// The playlist window's CD side: the drive menu and the listing of a disc's
// tracks into the CD list.
#include <wx/menu.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/MainControl.h"
#include "log/Logger.h"
#include "playback/DiscTracks.h"
#include "playback/SoundReport.h"

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
    m_main.Execute(Command::Stop);
    if (drive < 0 || drive >= static_cast<int>(m_driveNames.GetCount()))
        return;

    static const DiscTracksReport report = {
        kSource,
        {kCreateLine, 0 /* no version check */, kSetOutputLine, kInitLine},
        kStreamLine,
        kSubSoundsLine,
        false};
    wxArrayString addresses;
    if (!ReadDiscTracks(m_driveNames[drive], report, addresses))
        return;
    LogMessage("Tracks : %d", static_cast<int>(addresses.GetCount()));
    for (const wxString& address : addresses) {
        LogText(address);
        if (!m_main.HasEntry(address))
            m_main.AddFile(address);
    }
}

} // namespace BrelkosPlayer
