// The player on the session bus as org.mpris.MediaPlayer2.brelkosplayer, the
// name media keys, the shell's media panel and playerctl look for. GDBus
// dispatches the calls on the GUI thread's main loop (the one wxGTK runs), so
// no thread of our own is involved. Without a session bus the player runs as
// before and one log line says so.
#pragma once

#include <cstdint>
#include <memory>

namespace BrelkosPlayer {

class DesktopPlayer;

class MprisService {
public:
    explicit MprisService(DesktopPlayer& player);
    ~MprisService();
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // Something the controls show may have changed: once the current event
    // is handled, what differs from the last published status goes out as
    // PropertiesChanged.
    void Changed();
    // The medium jumped to this position (Seeked).
    void Seeked(int64_t positionUs);

    // Whether the bus name was asked for (false without a session bus).
    bool IsOnBus() const;

    static const char* const kBusName;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace BrelkosPlayer
