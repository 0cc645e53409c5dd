// The main window's side of playback: the players it makes and what it shows
// of the controller's work; the position and volume controls.
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

bool FormMain::IsAudioFile(const wxString& path)
{
    return MediaPath::IsAudio(path);
}

bool FormMain::IsVideoFile(const wxString& path)
{
    return MediaPath::IsVideo(path);
}

std::unique_ptr<Player> FormMain::MakePlayer(PlaylistStore::Kind kind, PlayerOwner& owner)
{
    switch (kind) {
    case PlaylistStore::Video: return std::unique_ptr<Player>(new VideoPlayer(&owner, m_videoCtrl, m_video));
    case PlaylistStore::Audio: return std::unique_ptr<Player>(new AudioPlayerThread(&owner));
    case PlaylistStore::CD: break;
    }
    return std::unique_ptr<Player>(new CDPlayerThread(&owner));
}

void FormMain::ShowFile(const wxString& path)
{
    if (m_video)
        m_video->SetSizing(true);
    // mp3 files show their own name too, rather than the previous file's.
    m_displayedName = MediaPath::Title(path);
    if (m_videoCtrl)
        m_videoCtrl->SetLabel(m_displayedName);
    if (!_viewHidden())
        _setLabel(m_nameValue, m_displayedName);
    wxString title = "Brelko's Player - " + m_displayedName;
    SetTitle(title);
    if (m_inTray && m_taskBarIcon->IsIconInstalled())
        m_taskBarIcon->SetIcon(AppIcon(), title);
}

void FormMain::ShowLength(const wxString& length)
{
    m_displayedLength = length;
    if (!_viewHidden())
        _setLabel(m_lengthValue, length);
}

void FormMain::ShowPosition(int sliderValue)
{
    // The window asks for it when it comes back (_setViewHidden).
    if (!_viewHidden() && m_positionSlider->GetValue() != sliderValue)
        m_positionSlider->SetValue(sliderValue);
}

void FormMain::_setLabel(wxStaticText* label, const wxString& text)
{
    // GTK lays the label out again even for the same text.
    if (label->GetLabel() != text)
        label->SetLabel(text);
}

void FormMain::_setViewHidden(bool hidden)
{
    m_viewHidden = hidden;
    if (!hidden) {
        _setLabel(m_nameValue, m_displayedName);
        _setLabel(m_lengthValue, m_displayedLength);
    }
    m_controller.SetViewHidden(hidden);
}

void FormMain::EnablePosition()
{
    m_positionSlider->Enable();
}

void FormMain::ShowNoFile()
{
    SetTitle("Brelko's Player");
}

void FormMain::HideVideo()
{
    if (m_videoCtrl)
        m_videoCtrl->Show(false);
}

void FormMain::SelectNextEntry()
{
    if (m_playlist)
        m_playlist->SelectNextEntry();
}

bool FormMain::SelectEntry(const wxString& path)
{
    return m_playlist && m_playlist->SelectEntryByPath(path);
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
    if (GetPlayer())
        GetPlayer()->SetPosition(static_cast<float>(m_positionSlider->GetValue()) /
                                 (m_positionSlider->GetMax() - m_positionSlider->GetMin()));
}

void FormMain::StepVolume(int step)
{
    int volume = std::max(0, std::min(100, m_volumeSlider->GetValue() + step));
    m_volumeSlider->SetValue(volume);
    if (GetPlayer())
        GetPlayer()->SetVolume(volume, 0);
}

void FormMain::SliderPositionScroll(wxScrollEvent&)
{
    if (GetPlayer())
        GetPlayer()->SetPosition(static_cast<float>(m_positionSlider->GetValue()) /
                                 (m_positionSlider->GetMax() - m_positionSlider->GetMin()));
    _desktopSeeked();
}

void FormMain::SliderVolumeScroll(wxScrollEvent&)
{
    if (GetPlayer())
        GetPlayer()->SetVolume(m_volumeSlider->GetValue(), 0);
    _desktopChanged();
}

} // namespace BrelkosPlayer
