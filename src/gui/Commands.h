// The named commands behind every transport input: the three windows' keys
// (README "Keys"), the tray menu and the video window's buttons. The main
// window runs them (MainControl::Execute), so a new input only maps to them.
#pragma once

namespace BrelkosPlayer {

enum class Command {
    None,
    Play,      // the play buttons: resume, or start the current file
    Resume,    // the tray's "Lire": play what is loaded
    PlayPause, // pause while playing, resume while paused
    Pause,
    Stop,
    Next,
    Previous,
    SeekForward,
    SeekBack,
    VolumeUp,
    VolumeDown,
    RemoveEntry, // the current entry of the playlist window
    FullScreen,  // the video window's own display modes
    LeaveFullScreen,
};

// Position slider steps (of 1000) and volume steps (of 100) per key press.
constexpr int kSeekStep = 3;
constexpr int kVolumeStep = 5;

enum class KeyWindow { Main, Playlist, Video };

// The command of a key code in a window; Command::None for keys it leaves alone.
Command CommandForKey(KeyWindow window, int keyCode);

} // namespace BrelkosPlayer
