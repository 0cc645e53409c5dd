#pragma once

namespace BrelkosPlayer {

// The numbers are fixed (1 is not used); the main window's play state uses the last three.
enum PlayerState { Empty = 0, Loaded = 2, Playing = 3, Paused = 4, Stopped = 5 };

} // namespace BrelkosPlayer
