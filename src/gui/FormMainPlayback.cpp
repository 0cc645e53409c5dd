// The main window's playback control: which player plays what, the transport
// operations and the choice of the next file.
#include <sstream>
#include <wx/filename.h>
#include <wx/icon.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include "files/FolderFiles.h"
#include "gui/BrelkoCtrl.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/FormVideo.h"
#include "gui/TaskBarIcon.h"
#include "gui/VideoPlayer.h"
#include "log/Logger.h"
#include "playback/AudioPlayerThread.h"
#include "playback/CDPlayerThread.h"
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

bool FormMain::IsAudioFile(const wxString& path)
{
    return MediaPath::IsAudio(path);
}

bool FormMain::IsVideoFile(const wxString& path)
{
    return MediaPath::IsVideo(path);
}

void FormMain::_endPlayer()
{
    if (!m_player)
        return;
    std::unique_ptr<Player> player = std::move(m_player);
    player->End();
}

void FormMain::_releasePlayer()
{
    if (m_player && !m_player->StaysAfterStop())
        _endPlayer();
}

bool FormMain::LoadFile(const wxString& path)
{
    Trace("FormMain :: LoadFile - Begin\n");
    // A video player stays until a loaded medium takes its place.
    if (m_player && !m_player->StaysAfterStop()) {
        Trace("FormMain :: LoadFile - Thread not Null\n");
        _endPlayer();
    }
    if (path.empty())
        return false;

    std::unique_ptr<Player> player;
    if (IsVideoFile(path)) {
        Trace("FormMain :: LoadFile - Video\n");
        m_store.SetCurrentKind(PlaylistStore::Video);
        player.reset(new VideoPlayer(this, m_videoCtrl, m_video));
        if (player->Load(path)) {
            _endPlayer();
            m_player = std::move(player);
            return true;
        }
        Trace("Can't load " + path + "\n");
        return false;
    }

    _endPlayer();
    Trace("FormMain :: LoadFile - Not Video\n");
    if (IsAudioFile(path)) {
        player.reset(new AudioPlayerThread(this));
        m_store.SetCurrentKind(PlaylistStore::Audio);
    } else {
        player.reset(new CDPlayerThread(this));
        m_store.SetCurrentKind(PlaylistStore::CD);
    }
    m_player = std::move(player);
    if (m_player->Load(path))
        return true;
    LogText("FormMain :: LoadFile - Can't load " + path);
    return false;
}

void FormMain::SetFile(const wxString& path, bool load, bool start)
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

    if (m_video)
        m_video->SetSizing(true);
    _setTitleName(path);
    // A video starts once it has prerolled (MediaReady).
    if (m_player && !m_player->StartsWhenReady()) {
        m_lengthValue->SetLabel(m_player->GetMediaTime());
        Play();
        m_store.MarkPlayed(path);
        m_fileState = Started;
        m_positionSlider->Enable();
    }
    _desktopChanged();
}

void FormMain::_setTitleName(const wxString& path)
{
    // mp3 files show their own name too, rather than the previous file's.
    m_displayedName = MediaPath::Title(path);
    if (m_videoCtrl)
        m_videoCtrl->SetLabel(m_displayedName);
    m_nameValue->SetLabel(m_displayedName);
    wxString title = "Brelko's Player - " + m_displayedName;
    SetTitle(title);
    if (m_inTray && m_taskBarIcon->IsIconInstalled())
        m_taskBarIcon->SetIcon(AppIcon(), title);
}

void FormMain::Play()
{
    if (!m_player) {
        LogMessage("FormMain :: Play - End - Player thread null");
        return;
    }
    Trace("VideoPlayer : " + PointerText(m_videoCtrl) +
          " - PlayerThread : " + PointerText(dynamic_cast<PlayerThread*>(m_player.get())) + "\n");
    m_player->Start();
    m_player->Play();
    m_playState = Playing;
}

void FormMain::PlayCommand()
{
    if (m_playState == Paused)
        Play();
    else if (m_playState != Playing)
        SetFile(m_store.GetCurrentFile(), true, true);
}

void FormMain::SelectFile(const wxString& path)
{
    SetFile(path, false, false);
}

void FormMain::PrepareToPlay(const wxString& path)
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

void FormMain::_selectInPlaylist(const wxString& path)
{
    if (m_playlist && m_playlist->SelectEntryByPath(path))
        SetFile(path, true, false);
}

void FormMain::Pause()
{
    if (!m_player) {
        LogMessage("FormMain :: Pause - End - Player thread null");
        return;
    }
    m_player->Pause();
    m_playState = Paused;
}

void FormMain::Stop()
{
    if (!m_player) {
        LogMessage("ERROR : FormMain :: Stop - Player thread null");
        return;
    }
    m_stopping = true;
    if (m_player->StaysAfterStop())
        m_player->Stop();
    else
        _endPlayer();
    m_positionSlider->SetValue(0);
    m_playState = Stopped;
    m_fileState = NoFile;
    m_stopping = false;
}

void FormMain::NextFile()
{
    if (!m_player) {
        LogMessage("FormMain :: NextFile - End - Player thread null");
        return;
    }
    Stop();
    StartNextFile();
}

void FormMain::StartNextFile()
{
    // A file that cannot be loaded counts as played and the next one is
    // tried, at most once per entry, so a list of broken files ends.
    size_t failures = 0;
    for (;;) {
        PlaylistStore::Next next = m_store.ChooseNext();
        switch (next.how) {
        case PlaylistStore::Following:
            if (m_playlist)
                m_playlist->SelectNextEntry();
            break;
        case PlaylistStore::Jump:
        case PlaylistStore::Loop: _selectInPlaylist(next.path); break;
        case PlaylistStore::End:
            if (m_videoCtrl)
                m_videoCtrl->Show(false);
            SetTitle("Brelko's Player");
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

void FormMain::PreviousFile()
{
    if (!m_player) {
        LogMessage("FormMain :: PreviousFile - End - Player thread null");
        return;
    }
    if (m_store.GetPlayedList().IsEmpty())
        return;
    m_positionSlider->SetValue(0);
    bool active = m_playState == Playing || m_playState == Paused;
    Stop();
    wxString previous;
    if (!m_store.ChoosePrevious(previous)) {
        if (m_videoCtrl)
            m_videoCtrl->Show(false);
        return;
    }
    m_positionSlider->SetValue(0);
    _selectInPlaylist(previous);
    SetFile(previous, true, active);
}

void FormMain::PlayerProgress(unsigned long serial, int sliderValue)
{
    CallAfter([this, serial, sliderValue] {
        if (m_player && m_player->GetSerial() == serial)
            m_positionSlider->SetValue(sliderValue);
    });
}

void FormMain::EndOfMedia(unsigned long serial)
{
    if (m_stopping) {
        LogMessage("FormMain :: EndOfMedia - End - Already stopping");
        m_stopping = false;
        return;
    }
    // The video player speaks on the GUI thread: a failed video leaves its
    // window before anything else happens.
    if (wxThread::IsMain()) {
        _advanceAfterEnd(serial);
        return;
    }
    CallAfter([this, serial] { _advanceAfterEnd(serial); });
}

void FormMain::MediaReady(unsigned long serial)
{
    // A video loaded while another medium took over since is not played.
    if (m_player && m_player->GetSerial() == serial)
        Play();
    _desktopChanged();
}

void FormMain::_advanceAfterEnd(unsigned long serial)
{
    // The user stopped or moved on meanwhile: that end is old news.
    if (!m_player || m_player->GetSerial() != serial)
        return;
    if (m_player->StaysAfterStop()) {
        // Such a player ends only when its medium cannot be played: it stops
        // and goes, and nothing else starts.
        Stop();
        _endPlayer();
        _desktopChanged();
        return;
    }
    _endPlayer();
    m_fileState = NoFile;
    m_positionSlider->SetValue(0);
    StartNextFile();
    _desktopChanged();
}

void FormMain::AddFile(const wxString& path)
{
    if (path.empty()) {
        LogMessage("ERROR : FormMain :: AddFile - Void file name");
        return;
    }
    m_store.Add(path);
    if (m_playlist)
        m_playlist->AddFileByKind(path);
}

void FormMain::AddFolder(const wxString& folder)
{
    // Not wxDir::GetAllFiles: it walks links back up the tree without end.
    wxArrayString files = FolderFiles::Collect(folder);
    wxString previous;
    for (const wxString& path : files) {
        if ((IsAudioFile(path) || IsVideoFile(path)) && path != previous) {
            AddFile(path);
            previous = path;
        }
    }
}

void FormMain::StepPosition(int step)
{
    m_positionSlider->SetValue(m_positionSlider->GetValue() + step);
    if (m_player)
        m_player->SetPosition(static_cast<float>(m_positionSlider->GetValue()) /
                              (m_positionSlider->GetMax() - m_positionSlider->GetMin()));
}

void FormMain::StepVolume(int step)
{
    int volume = std::max(0, std::min(100, m_volumeSlider->GetValue() + step));
    m_volumeSlider->SetValue(volume);
    if (m_player)
        m_player->SetVolume(volume, 0);
}

void FormMain::SliderPositionScroll(wxScrollEvent&)
{
    if (m_player)
        m_player->SetPosition(static_cast<float>(m_positionSlider->GetValue()) /
                              (m_positionSlider->GetMax() - m_positionSlider->GetMin()));
    _desktopSeeked();
}

void FormMain::SliderVolumeScroll(wxScrollEvent&)
{
    if (m_player)
        m_player->SetVolume(m_volumeSlider->GetValue(), 0);
    _desktopChanged();
}

} // namespace BrelkosPlayer
