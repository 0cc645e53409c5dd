#include "gui/TaskBarIcon.h"

#include <wx/menu.h>

#include "gui/MainControl.h"
#include "playback/DiscTracks.h"
#include "playback/SoundReport.h"

namespace BrelkosPlayer {

wxBEGIN_EVENT_TABLE(TaskBarIcon, wxTaskBarIcon)
    EVT_TASKBAR_LEFT_DCLICK(TaskBarIcon::OnLeftDoubleClick)
    EVT_MENU_RANGE(ID_TRAY_PREVIOUS, ID_TRAY_NEXT, TaskBarIcon::OnMenu)
    EVT_MENU_RANGE(ID_TRAY_FIRST_DRIVE, ID_TRAY_LAST_DRIVE, TaskBarIcon::OnMenu)
wxEND_EVENT_TABLE()

TaskBarIcon::TaskBarIcon(MainControl& main) : m_main(main) {}

bool TaskBarIcon::SetIcon(const wxBitmapBundle& icon, const wxString& tooltip)
{
    m_tooltip = tooltip;
    return wxTaskBarIcon::SetIcon(icon, tooltip);
}

wxMenu* TaskBarIcon::CreatePopupMenu()
{
    auto* menu = new wxMenu;
    menu->Append(ID_TRAY_PREVIOUS, wxString::FromUTF8("Précédent"));
    menu->Append(ID_TRAY_PLAY, "Lire");
    menu->Append(ID_TRAY_PAUSE, "Pause");
    menu->Append(ID_TRAY_STOP, "Stop");
    menu->Append(ID_TRAY_NEXT, "Suivant");
    auto* drives = new wxMenu;
    m_driveNames = CDDriveNames();
    for (size_t i = 0; i < m_driveNames.GetCount(); ++i)
        drives->Append(ID_TRAY_FIRST_DRIVE + i, m_driveNames[i]);
    menu->AppendSubMenu(drives, "PlayCD");
    return menu;
}

void TaskBarIcon::OnLeftDoubleClick(wxTaskBarIconEvent&)
{
    m_main.ShowFromTray();
}

void TaskBarIcon::OnMenu(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case ID_TRAY_PREVIOUS: m_main.Execute(Command::Previous); break;
    case ID_TRAY_PLAY: m_main.Execute(Command::Resume); break;
    case ID_TRAY_PAUSE: m_main.Execute(Command::Pause); break;
    case ID_TRAY_STOP: m_main.Execute(Command::Stop); break;
    case ID_TRAY_NEXT: m_main.Execute(Command::Next); break;
    default: PlayCD(event.GetId() - ID_TRAY_FIRST_DRIVE); break;
    }
}

void TaskBarIcon::PlayCD(int driveIndex)
{
    // The lines under which these reports have always been known.
    static const DiscTracksReport report = {".\\src\\gui\\TaskBarIcon", {}, 77, 80, true};
    m_main.Execute(Command::Stop);
    if (driveIndex < 0 || driveIndex >= static_cast<int>(m_driveNames.GetCount()))
        return;
    wxArrayString addresses;
    ReadDiscTracks(m_driveNames[driveIndex], report, addresses);
    // Filed in the main window's store as well as shown, so the tracks play
    // one after another; addresses already listed are not added twice.
    for (const wxString& address : addresses) {
        if (!m_main.HasEntry(address))
            m_main.AddFile(address);
    }
}

} // namespace BrelkosPlayer
