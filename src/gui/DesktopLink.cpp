#include "gui/DesktopLink.h"

#include <cmath>
#include <wx/checkbox.h>
#include <wx/slider.h>

#include "desktop/MprisService.h"
#include "gui/FormMain.h"
#include "gui/FormVideo.h"
#include "gui/VideoPlayer.h"
#include "playback/Player.h"
#include "playlist/MediaPath.h"

namespace BrelkosPlayer {

namespace {

// The position sliders' scale (the main window's and the video window's).
const int kSliderSpan = 1000;

// What a click on the box does: it changes and tells its window.
void Click(wxCheckBox* box, bool checked)
{
    if (box->GetValue() == checked)
        return;
    box->SetValue(checked);
    wxCommandEvent click(wxEVT_CHECKBOX, box->GetId());
    click.SetInt(checked);
    click.SetEventObject(box);
    box->GetEventHandler()->ProcessEvent(click);
}

// What a move of the slider does: it takes the value and tells its window.
void Slide(wxSlider* slider, int value)
{
    slider->SetValue(value);
    wxScrollEvent moved(wxEVT_SCROLL_CHANGED, slider->GetId(), slider->GetValue(), wxHORIZONTAL);
    moved.SetEventObject(slider);
    slider->GetEventHandler()->ProcessEvent(moved);
}

int64_t LengthUs(const Player* player)
{
    return player ? static_cast<int64_t>(player->GetLengthMs()) * 1000 : 0;
}

} // namespace

DesktopLink::DesktopLink(FormMain& main) : m_main(main), m_service(new MprisService(*this)) {}

DesktopLink::~DesktopLink() = default;

void DesktopLink::Changed()
{
    m_service->Changed();
}

void DesktopLink::Seeked()
{
    wxSlider* slider = m_main.GetPositionSlider();
    m_service->Seeked(LengthUs(m_main.GetPlayer()) * slider->GetValue() / kSliderSpan);
}

DesktopStatus DesktopLink::GetStatus() const
{
    DesktopStatus status;
    Player* player = m_main.GetPlayer();
    switch (m_main.GetPlayState()) {
    case Playing: status.playback = DesktopStatus::Playing; break;
    case Paused: status.playback = DesktopStatus::Paused; break;
    default: break;
    }
    status.path = m_main.GetCurrentFile();
    status.title = MediaPath::Title(status.path);
    status.lengthUs = LengthUs(player);
    status.volume = m_main.GetVolumeSlider()->GetValue();
    status.loop = m_main.IsLoop();
    status.random = m_main.IsRandom();
    // What the buttons do something with: the transport acts on a player.
    status.canGoNext = player != nullptr;
    status.canGoPrevious = player && !m_main.GetPlayedList().IsEmpty();
    status.canPlay = player || !status.path.empty();
    status.canPause = player != nullptr;
    status.canSeek = status.lengthUs > 0;
    return status;
}

int64_t DesktopLink::GetPositionUs() const
{
    Player* player = m_main.GetPlayer();
    return player ? static_cast<int64_t>(player->GetPositionMs()) * 1000 : 0;
}

void DesktopLink::Execute(Command command)
{
    m_main.Execute(command);
}

void DesktopLink::SetLoop(bool loop)
{
    Click(m_main.GetLoopBox(), loop);
}

void DesktopLink::SetRandom(bool random)
{
    Click(m_main.GetRandomBox(), random);
}

void DesktopLink::SetVolume(int volume)
{
    Slide(m_main.GetVolumeSlider(), volume);
}

void DesktopLink::SetPositionUs(int64_t position)
{
    int64_t length = LengthUs(m_main.GetPlayer());
    if (length <= 0)
        return;
    int value = static_cast<int>(std::lround(static_cast<double>(position) * kSliderSpan / length));
    // A video moves by its own window's slider; the main window's leaves it alone.
    FormVideo* video = m_main.GetVideoWindow();
    if (video && dynamic_cast<VideoPlayer*>(m_main.GetPlayer())) {
        Slide(video->GetPositionSlider(), value);
        m_service->Seeked(length * value / kSliderSpan);
    } else {
        Slide(m_main.GetPositionSlider(), value);
    }
}

void DesktopLink::OpenFile(const wxString& path)
{
    // As a double click on its playlist entry, once it has one.
    if (!m_main.HasEntry(path))
        m_main.AddFile(path);
    m_main.PrepareToPlay(path);
    m_main.PlayFile(path);
}

void DesktopLink::Raise()
{
    m_main.ShowFromTray();
    m_main.Show();
    m_main.Raise();
}

void DesktopLink::Quit()
{
    m_main.Close();
}

} // namespace BrelkosPlayer
