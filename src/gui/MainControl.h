// What the other windows and the tray icon may ask of the main window, the
// single controller of playback and of the playlist store. They get it when
// they are created and never set the main window's state themselves.
#pragma once

#include <wx/string.h>

#include "gui/Commands.h"

namespace BrelkosPlayer {

class MainControl {
public:
    virtual void Execute(Command command) = 0;

    // Files a path into the store (and the playlist window).
    virtual void AddFile(const wxString& path) = 0;
    // Files every audio and video file under the folder, as the add-folder command does.
    virtual void AddFolder(const wxString& folder) = 0;
    // Whether the path is in the audio, video or CD list (exact comparison).
    virtual bool HasEntry(const wxString& path) const = 0;
    // A picked entry becomes the current file when there is none; it is not loaded.
    virtual void SelectFile(const wxString& path) = 0;
    // Stops whatever is active or loaded, so PlayFile starts the path asked for.
    virtual void PrepareToPlay(const wxString& path) = 0;
    virtual void PlayFile(const wxString& path) = 0;

    virtual void ShufflePlaylist() = 0;
    virtual void SavePlaylist(const wxString& path) = 0;
    virtual void LoadPlaylist(const wxString& path) = 0;

    // Brings the windows back from the tray or from the minimised state.
    virtual void ShowFromTray() = 0;

protected:
    ~MainControl() = default;
};

} // namespace BrelkosPlayer
