// The main window's playback control: which player plays what, the transport
// operations and the choice of the next file.
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <wx/icon.h>
#include <wx/filename.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include "log/Logger.h"
#include "gui/BrelkoCtrl.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/FormVideo.h"
#include "gui/TaskBarIcon.h"
#include "playback/AudioPlayerThread.h"
#include "playback/CDPlayerThread.h"
#include "files/FolderFiles.h"
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
    PlayerThread* player = m_player;
    m_player = nullptr;
    player->End();
    delete player;
}

bool FormMain::LoadFile(const wxString& path)
{
    Trace("FormMain :: LoadFile - Begin\n");
    if (m_player) {
        Trace("FormMain :: LoadFile - Thread not Null\n");
        _endPlayer();
    }
    if (path.empty())
        return false;

    if (IsVideoFile(path)) {
        Trace("FormMain :: LoadFile - Video\n");
        m_currentList = &m_videoList;
        if (m_videoCtrl && m_videoCtrl->Load(path)) {
            s_videoMode = true;
            return true;
        }
        Trace("Can't load " + path + "\n");
        return false;
    }

    s_videoMode = false;
    Trace("FormMain :: LoadFile - Not Video\n");
    if (IsAudioFile(path)) {
        m_player = new AudioPlayerThread(this);
        m_currentList = &m_audioList;
    } else {
        m_player = new CDPlayerThread(this);
        m_currentList = &m_cdList;
    }
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
        m_currentFile = path;
        m_fileState = Initialised;
        Trace("FormMain :: SetFile - Initialised\n");
    }
    if (load && m_fileState == Initialised && LoadFile(path)) {
        m_fileState = FileLoaded;
        Trace("FormMain :: SetFile - Loaded\n");
    }
    if (!start || m_fileState != FileLoaded)
        return;

    s_videoSizing = true;
    _setTitleName(path);
    if (m_player) {
        m_lengthValue->SetLabel(m_player->GetMediaTime());
        Play();
        m_playedList.Add(path);
        m_fileState = Started;
        m_positionSlider->Enable();
    }
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
    if (!m_player && !s_videoMode) {
        LogMessage("FormMain :: Play - End - Player thread null");
        return;
    }
    Trace("VideoPlayer : " + PointerText(m_videoCtrl) + " - PlayerThread : " + PointerText(m_player) + "\n");
    if (s_videoMode && !m_player) {
        s_videoEnded = false;
        Trace("coin !\n");
        m_videoCtrl->Play();
        Trace("coin !\n");
        m_videoCtrl->Show(true);
        m_video->Show(true);
        Trace("coin !\n");
    } else {
        if (!m_player->IsStarted())
            m_player->Start();
        m_player->Play();
    }
    m_playState = Playing;
}

void FormMain::PlayCommand()
{
    if (m_playState == Paused)
        Play();
    else if (m_playState != Playing)
        SetFile(m_currentFile, true, true);
}

void FormMain::Pause()
{
    if (!m_player && !s_videoMode) {
        LogMessage("FormMain :: Pause - End - Player thread null");
        return;
    }
    if (m_player)
        m_player->Pause();
    else
        m_videoCtrl->Pause();
    m_playState = Paused;
}

void FormMain::Stop()
{
    if (!m_player && !s_videoMode) {
        LogMessage("ERROR : FormMain :: Stop - Player thread null");
        return;
    }
    m_stopping = true;
    if (m_player) {
        _endPlayer();
    } else if (!s_videoEnded && m_videoCtrl) {
        m_video->Show(false);
        m_videoCtrl->Show(false);
        m_videoCtrl->Stop();
    }
    m_positionSlider->SetValue(0);
    m_playState = Stopped;
    m_fileState = NoFile;
    m_stopping = false;
}

void FormMain::NextFile()
{
    if (!m_player && !s_videoMode) {
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
        const wxArrayString& list = *m_currentList;
        size_t n = list.GetCount();
        // Duplicate paths can leave no entry outside the played list even
        // though the list is longer: then it counts as played through.
        bool remaining = false;
        for (size_t i = 0; i < n && !remaining; ++i)
            remaining = n > m_playedList.GetCount() && m_playedList.Index(list[i]) == wxNOT_FOUND;
        if (!m_random)
            remaining = n > m_playedList.GetCount();
        wxString candidate;
        if (remaining) {
            if (m_random) {
                std::srand(static_cast<unsigned>(std::time(nullptr)));
                do {
                    int r = std::rand() % 32768;
                    size_t k = static_cast<size_t>(r * (1.0 / 32768.0) * n);
                    candidate = list[k < n ? k : n - 1];
                } while (m_playedList.Index(candidate) != wxNOT_FOUND);
                if (m_playlist)
                    m_playlist->SelectEntryByPath(candidate);
            } else {
                int i = list.Index(m_currentFile);
                // After the last entry, go on from the first: entries remain unplayed.
                size_t next = i == wxNOT_FOUND ? 0 : static_cast<size_t>(i) + 1;
                if (next < n) {
                    candidate = list[next];
                    if (m_playlist)
                        m_playlist->SelectNextEntry();
                } else {
                    candidate = list[0];
                    if (m_playlist)
                        m_playlist->SelectEntryByPath(candidate);
                }
            }
        } else if (m_loop && n > 0) {
            m_playedList.Clear();
            candidate = list[0];
            if (m_playlist)
                m_playlist->SelectEntryByPath(candidate);
        } else {
            m_playedList.Clear();
            if (m_videoCtrl)
                m_videoCtrl->Show(false);
            SetTitle("Brelko's Player");
            return;
        }

        SetFile(candidate, true, true);
        if (m_fileState == Started || (s_videoMode && m_fileState == FileLoaded))
            return;
        if (++failures > n)
            return;
        m_playedList.Add(candidate);
        _endPlayer();
        m_fileState = NoFile;
    }
}

void FormMain::PreviousFile()
{
    if (!m_player && !s_videoMode) {
        LogMessage("FormMain :: PreviousFile - End - Player thread null");
        return;
    }
    if (m_playedList.IsEmpty())
        return;
    m_positionSlider->SetValue(0);
    bool active = m_playState == Playing || m_playState == Paused;
    Stop();
    int current = m_playedList.Index(m_currentFile);
    if (current != wxNOT_FOUND)
        m_playedList.RemoveAt(current);
    if (m_playedList.IsEmpty()) {
        if (m_videoCtrl)
            m_videoCtrl->Show(false);
        return;
    }
    wxString previous = m_playedList.Last();
    m_positionSlider->SetValue(0);
    m_playedList.RemoveAt(m_playedList.Index(previous));
    if (m_playlist)
        m_playlist->SelectEntryByPath(previous);
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
    CallAfter([this, serial] { _advanceAfterEnd(serial); });
}

void FormMain::_advanceAfterEnd(unsigned long serial)
{
    // The user stopped or moved on meanwhile: that end is old news.
    if (!m_player || m_player->GetSerial() != serial)
        return;
    _endPlayer();
    m_fileState = NoFile;
    m_positionSlider->SetValue(0);
    StartNextFile();
}

void FormMain::AddFile(const wxString& path)
{
    if (path.empty()) {
        LogMessage("ERROR : FormMain :: AddFile - Void file name");
        return;
    }
    bool video = IsVideoFile(path);
    if ((video || IsAudioFile(path)) && wxFileName::FileExists(path))
        (video ? m_videoList : m_audioList).Add(path);
    else
        m_cdList.Add(path);
    if (m_playlist)
        m_playlist->AddFileByKind(path);
}

bool FormMain::HasEntry(const wxString& path) const
{
    return m_audioList.Index(path) != wxNOT_FOUND || m_videoList.Index(path) != wxNOT_FOUND ||
           m_cdList.Index(path) != wxNOT_FOUND;
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
}

void FormMain::SliderVolumeScroll(wxScrollEvent&)
{
    if (m_player)
        m_player->SetVolume(m_volumeSlider->GetValue(), 0);
}

void FormMain::_onMediaStop(wxMediaEvent& event)
{
    Trace("FormMain :: _onMediaStop\n");
    if (m_videoCtrl && m_videoCtrl->HasFailed()) {
        // GStreamer accepts any file at Load and gives up on a broken one
        // only now: trace it like a failed load and leave video mode.
        Trace("Can't load " + m_videoCtrl->GetPath() + "\n");
        if (s_videoMode && !m_player) {
            s_videoEnded = false; // so that Stop hides the window and stops the control
            Stop();
            s_videoMode = false;
        }
        return;
    }
    // The control already stands at the end, showing the last frame; a seek
    // past the end would start GStreamer over and end the video again, without end.
    s_videoEnded = true;
    event.Veto();
}

void FormMain::_onMediaLoaded(wxMediaEvent&)
{
    Trace("FormMain :: _onMediaLoaded\n");
    // A video loaded while an audio file took over since is not played.
    if (!s_videoSizing || !s_videoMode || m_player || !m_video)
        return;
    m_video->FitToVideo();
    Play();
}

} // namespace BrelkosPlayer
