// What the desktop's media controls (MPRIS: media keys, the shell's media
// panel, playerctl) may ask of the player and read from it. Every request
// takes the way of the matching button, box or slider, so the windows and the
// log show what they show for a click. Everything runs on the GUI thread.
#pragma once

#include <cstdint>
#include <wx/string.h>

// The Command enum only (a header): gui/ links this library, not the other way.
#include "gui/Commands.h"

namespace BrelkosPlayer {

// What the media controls show; compared with what they last showed, so only
// the changes go out.
struct DesktopStatus {
    enum Playback { Stopped, Playing, Paused };
    Playback playback = Stopped;
    wxString path;  // the current file or CD track address ("" for none)
    wxString title; // the name the main window shows for it
    int64_t lengthUs = 0;
    int volume = 0; // the volume slider, 0..100
    bool loop = false;
    bool random = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;

    bool operator==(const DesktopStatus& other) const;
    bool operator!=(const DesktopStatus& other) const { return !(*this == other); }
};

class DesktopPlayer {
public:
    virtual DesktopStatus GetStatus() const = 0;
    // Where the medium is, in microseconds.
    virtual int64_t GetPositionUs() const = 0;

    virtual void Execute(Command command) = 0;
    // As a click on "Boucle" and on "Aleatoire".
    virtual void SetLoop(bool loop) = 0;
    virtual void SetRandom(bool random) = 0;
    // As a move of the volume slider (0..100) and of the position slider.
    virtual void SetVolume(int volume) = 0;
    virtual void SetPositionUs(int64_t position) = 0;
    // Files the path and plays it.
    virtual void OpenFile(const wxString& path) = 0;
    // Shows the main window, from the tray too, and raises it.
    virtual void Raise() = 0;
    // Closes the player as its close box does.
    virtual void Quit() = 0;

protected:
    ~DesktopPlayer() = default;
};

} // namespace BrelkosPlayer
