#include "gui/TaskBarIcon.h"

#include <wx/menu.h>

#include "gui/AppWindows.h"
#include "gui/FormMain.h"
#include "playback/SoundReport.h"
#include "playback/DiscTracks.h"

namespace BrelkosPlayer {

wxBEGIN_EVENT_TABLE(TaskBarIcon, wxTaskBarIcon)
    EVT_TASKBAR_LEFT_DCLICK(TaskBarIcon::OnLeftDoubleClick)
    EVT_MENU_RANGE(ID_TRAY_PREVIOUS, ID_TRAY_NEXT, TaskBarIcon::OnMenu)
    EVT_MENU_RANGE(ID_TRAY_FIRST_DRIVE, ID_TRAY_LAST_DRIVE, TaskBarIcon::OnMenu)
wxEND_EVENT_TABLE()

TaskBarIcon::TaskBarIcon() = default;

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
    if (g_formMain && (g_formMain->IsInTray() || g_formMain->IsIconized())) {
        wxIconizeEvent restore(0, false);
        restore.SetEventObject(g_formMain);
        g_formMain->GetEventHandler()->ProcessEvent(restore);
    }
}

void TaskBarIcon::OnMenu(wxCommandEvent& event)
{
    if (!g_formMain)
        return;
    switch (event.GetId()) {
    case ID_TRAY_PREVIOUS: g_formMain->PreviousFile(); break;
    case ID_TRAY_PLAY: g_formMain->Play(); break;
    case ID_TRAY_PAUSE: g_formMain->Pause(); break;
    case ID_TRAY_STOP: g_formMain->Stop(); break;
    case ID_TRAY_NEXT: g_formMain->NextFile(); break;
    default: PlayCD(event.GetId() - ID_TRAY_FIRST_DRIVE); break;
    }
}

void TaskBarIcon::PlayCD(int driveIndex)
{
    // The lines under which these reports have always been known.
    static const DiscTracksReport report = {".\\src\\gui\\TaskBarIcon", {}, 77, 80};
    g_formMain->Stop();
    if (driveIndex < 0 || driveIndex >= static_cast<int>(m_driveNames.GetCount()))
        return;
    wxArrayString addresses;
    ReadDiscTracks(m_driveNames[driveIndex], report, addresses);
    // Filed in the main window's store as well as shown, so the tracks play
    // one after another; addresses already listed are not added twice.
    for (const wxString& address : addresses) {
        if (!g_formMain->HasEntry(address))
            g_formMain->AddFile(address);
    }
}

} // namespace BrelkosPlayer
