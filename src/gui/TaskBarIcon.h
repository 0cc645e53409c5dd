// The notification-area icon, shown while the main window is iconized; its
// menu drives playback and lists the CD drives.
#pragma once

#include <wx/arrstr.h>
#include <wx/bmpbndl.h>
#include <wx/icon.h>
#include <wx/taskbar.h>

namespace BrelkosPlayer {

class MainControl;

enum TaskBarIconIds {
    ID_TRAY_PREVIOUS = 0,
    ID_TRAY_PLAY = 1,
    ID_TRAY_PAUSE = 2,
    ID_TRAY_STOP = 3,
    ID_TRAY_NEXT = 4,
    ID_TRAY_FIRST_DRIVE = 6,
    ID_TRAY_LAST_DRIVE = 14,
};

class TaskBarIcon : public wxTaskBarIcon {
public:
    explicit TaskBarIcon(MainControl& main);

    const wxArrayString& GetDriveNames() const { return m_driveNames; }
    // The text shown over the icon, as last set.
    const wxString& GetTooltip() const { return m_tooltip; }
    bool SetIcon(const wxBitmapBundle& icon, const wxString& tooltip = wxEmptyString) override;
    wxMenu* CreatePopupMenu() override;

    // Handlers, public so tests can drive them.
    void OnLeftDoubleClick(wxTaskBarIconEvent& event);
    void OnMenu(wxCommandEvent& event);
    void PlayCD(int driveIndex);

private:
    MainControl& m_main;
    wxArrayString m_driveNames;
    wxString m_tooltip;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
