// What a player tells whoever owns it. A player thread calls on its own
// thread, the video player on the GUI thread; the serial says which player
// speaks, so the owner can drop news from a player it has already let go.
#pragma once

namespace BrelkosPlayer {

class PlayerOwner {
public:
    virtual ~PlayerOwner() = default;
    // Position as a slider value 0..1000; only sent when it changes.
    virtual void PlayerProgress(unsigned long serial, int sliderValue) = 0;
    // The player let go of its medium: it ended, could not be played, or a stop was asked.
    virtual void EndOfMedia(unsigned long serial) = 0;
    // The medium of a player that starts only when ready (Player::StartsWhenReady) is ready.
    virtual void MediaReady(unsigned long) {}
};

} // namespace BrelkosPlayer
