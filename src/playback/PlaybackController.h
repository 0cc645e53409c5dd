// The rules of playback without a window: which player plays what, the
// transport operations, the choice of the next file and the hand-over at the
// end of a medium. The main window makes players through a PlayerFactory,
// shows what happens through a PlaybackView and forwards its transport
// operations here.
//
// Threads: everything runs on the GUI thread except the PlayerOwner calls,
// which come from a player's own thread (the video player's: the GUI thread);
// they hand their work over through GuiThread::post.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <wx/string.h>

#include "playback/Player.h"
#include "playback/PlayerOwner.h"
#include "playback/PlayerState.h"
#include "playlist/PlaylistStore.h"

namespace BrelkosPlayer {

enum FileState { Started = 0, FileLoaded = 1, Initialised = 2, NoFile = 3 };

class PlayerFactory {
public:
    // A new player, never null, for a medium of the kind; its news goes to owner.
    virtual std::unique_ptr<Player> MakePlayer(PlaylistStore::Kind kind, PlayerOwner& owner) = 0;

protected:
    ~PlayerFactory() = default;
};

// What the window shows of playback; called on the GUI thread only.
class PlaybackView {
public:
    // A file starts: its name in the title, the name label and the tray.
    virtual void ShowFile(const wxString& path) = 0;
    virtual void ShowLength(const wxString& length) = 0;
    // The position slider (0..1000).
    virtual void ShowPosition(int sliderValue) = 0;
    virtual void EnablePosition() = 0;
    // Nothing left to play: the bare title.
    virtual void ShowNoFile() = 0;
    virtual void HideVideo() = 0;
    // The playlist window follows a choice: the entry after its selected one,
    // or the entry of path (false when it shows no such entry).
    virtual void SelectNextEntry() = 0;
    virtual bool SelectEntry(const wxString& path) = 0;
    // Only named in the console trace of Play.
    virtual const void* VideoControlId() const = 0;
    // What the desktop's media controls show may have changed: a file was
    // set or started, a video became ready, a medium ended.
    virtual void PlaybackChanged() {}

protected:
    ~PlaybackView() = default;
};

class PlaybackController : public PlayerOwner {
public:
    struct GuiThread {
        // Whether the caller runs on the GUI thread.
        std::function<bool()> isCurrent;
        // Runs work later on the GUI thread.
        std::function<void(std::function<void()>)> post;
    };

    // The store is the window's: it edits the lists together with the
    // playlist window, while this changes the current file, kind and played list.
    PlaybackController(PlaylistStore& store, PlayerFactory& factory, PlaybackView& view, GuiThread gui);
    ~PlaybackController() override;

    void SetFile(const wxString& path, bool load, bool start);
    bool LoadFile(const wxString& path);
    void Play();
    void Pause();
    void Stop();
    void NextFile();
    void PreviousFile();
    void StartNextFile();
    // The play button: resume, or start the current file.
    void PlayCommand();
    // Stops whatever is active or loaded, so SetFile starts the path asked for.
    void PrepareToPlay(const wxString& path);
    // Ends the current player, if any.
    void EndPlayer();
    // Forgets the player without ending it and any file: a fresh start.
    void Reset();
    // While the view is hidden (minimised, in the tray) position news is
    // dropped where it arrives; showing it again shows where the player is.
    void SetViewHidden(bool hidden);

    FileState GetFileState() const { return m_fileState; }
    PlayerState GetPlayState() const { return m_playState; }
    Player* GetPlayer() const { return m_player.get(); }

    // PlayerOwner
    void PlayerProgress(unsigned long serial, int sliderValue) override;
    void EndOfMedia(unsigned long serial) override;
    void MediaReady(unsigned long serial) override;

private:
    // The GUI-thread half of the end of a medium.
    void _advanceAfterEnd(unsigned long serial);
    // Ends the current player unless it stays after a stop (Player::StaysAfterStop).
    void _releasePlayer();
    // Shows path as the playlist window's entry and readies it as SetFile's
    // first stages do.
    void _selectInPlaylist(const wxString& path);
    // Where the current player is, as a position slider value.
    int _currentSliderValue();

    PlaylistStore& m_store;
    PlayerFactory& m_factory;
    PlaybackView& m_view;
    GuiThread m_gui;
    std::atomic<bool> m_stopping{false};
    // Read by the player threads.
    std::atomic<bool> m_viewHidden{false};
    FileState m_fileState = NoFile;
    PlayerState m_playState = Stopped;
    std::unique_ptr<Player> m_player;
};

} // namespace BrelkosPlayer
