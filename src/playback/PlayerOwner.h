// What a player thread tells whoever owns it. Both calls come on the player's
// own thread; the serial says which player speaks, so the owner can drop news
// from a player it has already let go.
#pragma once

namespace BrelkosPlayer {

class PlayerOwner {
public:
    virtual ~PlayerOwner() = default;
    // Position as a slider value 0..1000; only sent when it changes.
    virtual void PlayerProgress(unsigned long serial, int sliderValue) = 0;
    // The body is about to return, after the medium ended or a stop was asked.
    virtual void EndOfMedia(unsigned long serial) = 0;
};

} // namespace BrelkosPlayer
