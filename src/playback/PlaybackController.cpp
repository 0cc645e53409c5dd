#include "playback/PlaybackController.h"

#include <algorithm>
#include <sstream>

#include "log/Logger.h"
#include "playback/PlayerThread.h"
#include "playlist/MediaPath.h"

namespace BrelkosPlayer {

namespace {

wxString PointerText(const void* pointer)
{
    std::ostringstream text;
    text << pointer;
    return text.str();
}

void Trace(const wxString& text)
{
    ConsoleTrace(std::string(text.utf8_str()));
}

} // namespace

PlaybackController::PlaybackController(PlaylistStore& store, PlayerFactory& factory, PlaybackView& view,
                                       GuiThread gui)
    : m_store(store), m_factory(factory), m_view(view), m_gui(std::move(gui))
{
}

PlaybackController::~PlaybackController()
{
    EndPlayer();
}

void PlaybackController::EndPlayer()
{
    if (!m_player)
        return;
    // Out of m_player first: ending may report the end, which must find no
    // current player.
    std::unique_ptr<Player> player = std::move(m_player);
    player->End();
}

void PlaybackController::Reset()
{
    m_player.reset();
    m_stopping = false;
    m_fileState = NoFile;
}

void PlaybackController::_releasePlayer()
{
    if (m_player && !m_player->StaysAfterStop())
        EndPlayer();
}

bool PlaybackController::LoadFile(const wxString& path)
{
    Trace("FormMain :: LoadFile - Begin\n");
    // A video player stays until a loaded medium takes its place.
    if (m_player && !m_player->StaysAfterStop()) {
        Trace("FormMain :: LoadFile - Thread not Null\n");
        EndPlayer();
    }
    if (path.empty())
        return false;

    std::unique_ptr<Player> player;
    if (MediaPath::IsVideo(path)) {
        Trace("FormMain :: LoadFile - Video\n");
        m_store.SetCurrentKind(PlaylistStore::Video);
        player = m_factory.MakePlayer(PlaylistStore::Video, *this);
        if (player->Load(path)) {
            EndPlayer();
            m_player = std::move(player);
            return true;
        }
        Trace("Can't load " + path + "\n");
        return false;
    }

    EndPlayer();
    Trace("FormMain :: LoadFile - Not Video\n");
    PlaylistStore::Kind kind = MediaPath::IsAudio(path) ? PlaylistStore::Audio : PlaylistStore::CD;
    player = m_factory.MakePlayer(kind, *this);
    m_store.SetCurrentKind(kind);
    m_player = std::move(player);
    if (m_player->Load(path))
        return true;
    LogText("FormMain :: LoadFile - Can't load " + path);
    return false;
}

void PlaybackController::SetFile(const wxString& path, bool load, bool start)
{
    if (path.empty()) {
        LogMessage("FormMain :: SetFile - End - Void file name");
        return;
    }
    if (m_fileState == NoFile) {
        m_store.SetCurrentFile(path);
        m_fileState = Initialised;
        Trace("FormMain :: SetFile - Initialised\n");
    }
    if (load && m_fileState == Initialised && LoadFile(path)) {
        m_fileState = FileLoaded;
        Trace("FormMain :: SetFile - Loaded\n");
    }
    if (!start || m_fileState != FileLoaded)
        return;

    m_view.ShowFile(path);
    // A video starts once it has prerolled (MediaReady).
    if (m_player && !m_player->StartsWhenReady()) {
        m_view.ShowLength(m_player->GetMediaTime());
        Play();
        m_store.MarkPlayed(path);
        m_fileState = Started;
        m_view.EnablePosition();
    }
    m_view.PlaybackChanged();
}

void PlaybackController::Play()
{
    if (!m_player) {
        LogMessage("FormMain :: Play - End - Player thread null");
        return;
    }
    Trace("VideoPlayer : " + PointerText(m_view.VideoControlId()) +
          " - PlayerThread : " + PointerText(dynamic_cast<PlayerThread*>(m_player.get())) + "\n");
    m_player->Start();
    m_player->Play();
    m_playState = Playing;
}

void PlaybackController::PlayCommand()
{
    if (m_playState == Paused)
        Play();
    else if (m_playState != Playing)
        SetFile(m_store.GetCurrentFile(), true, true);
}

void PlaybackController::PrepareToPlay(const wxString& path)
{
    // Paused counts as active too: SetFile would otherwise find the old file
    // started and ignore the new one.
    if (m_playState == Playing || m_playState == Paused)
        Stop();
    // A file chosen or loaded earlier would also win over the new one.
    if (m_fileState != NoFile && m_store.GetCurrentFile() != path) {
        if (m_player)
            Stop();
        m_fileState = NoFile;
    }
}

void PlaybackController::_selectInPlaylist(const wxString& path)
{
    if (m_view.SelectEntry(path))
        SetFile(path, true, false);
}

void PlaybackController::Pause()
{
    if (!m_player) {
        LogMessage("FormMain :: Pause - End - Player thread null");
        return;
    }
    m_player->Pause();
    // A player whose medium has just ended refuses the pause (its channel is
    // gone) and its end is on its way: the state follows what the player did.
    if (m_player->GetState() == Paused)
        m_playState = Paused;
}

void PlaybackController::Stop()
{
    if (!m_player) {
        LogMessage("ERROR : FormMain :: Stop - Player thread null");
        return;
    }
    m_stopping = true;
    if (m_player->StaysAfterStop())
        m_player->Stop();
    else
        EndPlayer();
    m_view.ShowPosition(0);
    m_playState = Stopped;
    m_fileState = NoFile;
    m_stopping = false;
}

void PlaybackController::NextFile()
{
    if (!m_player) {
        LogMessage("FormMain :: NextFile - End - Player thread null");
        return;
    }
    Stop();
    StartNextFile();
}

void PlaybackController::StartNextFile()
{
    // A file that cannot be loaded counts as played and the next one is
    // tried, at most once per entry, so a list of broken files ends.
    size_t failures = 0;
    for (;;) {
        PlaylistStore::Next next = m_store.ChooseNext();
        switch (next.how) {
        case PlaylistStore::Following: m_view.SelectNextEntry(); break;
        case PlaylistStore::Jump:
        case PlaylistStore::Loop: _selectInPlaylist(next.path); break;
        case PlaylistStore::End:
            m_view.HideVideo();
            m_view.ShowNoFile();
            return;
        }

        SetFile(next.path, true, true);
        if (m_fileState == Started || (m_player && m_player->StartsWhenReady() && m_fileState == FileLoaded))
            return;
        if (!m_store.ContinueAfterFailure(next, failures))
            return;
        _releasePlayer();
        m_fileState = NoFile;
    }
}

void PlaybackController::PreviousFile()
{
    if (!m_player) {
        LogMessage("FormMain :: PreviousFile - End - Player thread null");
        return;
    }
    if (m_store.GetPlayedList().IsEmpty())
        return;
    m_view.ShowPosition(0);
    bool active = m_playState == Playing || m_playState == Paused;
    Stop();
    wxString previous;
    if (!m_store.ChoosePrevious(previous)) {
        m_view.HideVideo();
        return;
    }
    m_view.ShowPosition(0);
    _selectInPlaylist(previous);
    SetFile(previous, true, active);
}

void PlaybackController::SetViewHidden(bool hidden)
{
    m_viewHidden = hidden;
    if (!hidden)
        m_view.ShowPosition(_currentSliderValue());
}

int PlaybackController::_currentSliderValue()
{
    if (!m_player || m_playState == Stopped)
        return 0;
    unsigned length = m_player->GetLengthMs();
    if (length == 0)
        return 0;
    // The same scale as the player threads' news (PlayerThread.cpp).
    unsigned long long slider = static_cast<unsigned long long>(m_player->GetPositionMs()) * 1000 / length;
    return static_cast<int>(std::min<unsigned long long>(slider, 1000));
}

void PlaybackController::PlayerProgress(unsigned long serial, int sliderValue)
{
    // Nothing shows it: not even a wake-up of the GUI thread.
    if (m_viewHidden)
        return;
    m_gui.post([this, serial, sliderValue] {
        if (!m_viewHidden && m_player && m_player->GetSerial() == serial)
            m_view.ShowPosition(sliderValue);
    });
}

void PlaybackController::EndOfMedia(unsigned long serial)
{
    if (m_stopping) {
        LogMessage("FormMain :: EndOfMedia - End - Already stopping");
        m_stopping = false;
        return;
    }
    // The video player speaks on the GUI thread: a failed video leaves its
    // window before anything else happens.
    if (m_gui.isCurrent()) {
        _advanceAfterEnd(serial);
        return;
    }
    m_gui.post([this, serial] { _advanceAfterEnd(serial); });
}

void PlaybackController::MediaReady(unsigned long serial)
{
    // A video loaded while another medium took over since is not played.
    if (m_player && m_player->GetSerial() == serial)
        Play();
    m_view.PlaybackChanged();
}

void PlaybackController::_advanceAfterEnd(unsigned long serial)
{
    // The user stopped or moved on meanwhile: that end is old news.
    if (!m_player || m_player->GetSerial() != serial)
        return;
    if (m_player->StaysAfterStop()) {
        // Such a player ends only when its medium cannot be played: it stops
        // and goes, and nothing else starts.
        Stop();
        EndPlayer();
        m_view.PlaybackChanged();
        return;
    }
    EndPlayer();
    m_fileState = NoFile;
    m_view.ShowPosition(0);
    StartNextFile();
    m_view.PlaybackChanged();
}

} // namespace BrelkosPlayer
