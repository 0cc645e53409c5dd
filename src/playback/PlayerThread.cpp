#include "playback/PlayerThread.h"

#include <algorithm>
#include <cstdlib>

#include "log/Logger.h"
#include "playback/PlayerOwner.h"
#include "playback/SoundReport.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

namespace {
// Between passes the body sleeps: the channel's end notice and every command
// of the owner wake it at once, so this only paces the position slider, a
// few moves a second, as a person follows it.
constexpr std::chrono::milliseconds kPositionPeriod(250);
// The position slider is about 290 px for 1000 steps: moving it by less than
// a pixel costs the GUI a redraw that nobody sees.
constexpr int kVisibleStep = 3;
} // namespace

PlayerThread::PlayerThread(PlayerOwner* owner) : wxThread(wxTHREAD_JOINABLE), m_owner(owner) {}

PlayerThread::~PlayerThread() = default;

bool PlayerThread::Start()
{
    if (m_started)
        return true;
    if (Create(0) != wxTHREAD_NO_ERROR)
        return false;
    m_started = true;
    return Run() == wxTHREAD_NO_ERROR;
}

void PlayerThread::End()
{
    if (!m_started) {
        Stop();
        return;
    }
    // A held or resting body wakes at once and returns; Wait joins it.
    {
        std::lock_guard<std::mutex> lock(m_holdMutex);
        m_endAsked = true;
    }
    m_holdChanged.notify_all();
    Wait(wxTHREAD_WAIT_BLOCK);
}

wxString PlayerThread::FormatMediaTime(unsigned lengthMs)
{
    return wxString::Format("%umin%us", lengthMs / 60000, (lengthMs % 60000) / 1000);
}

float PlayerThread::ChannelVolume(int level)
{
    if (level < 0)
        level = 0;
    if (level > 100)
        level = 100;
    return level / 100.0f;
}

void PlayerThread::SuspendThread()
{
    {
        std::lock_guard<std::mutex> lock(m_holdMutex);
        m_pauseAsked = true;
        m_woken = true;
    }
    m_holdChanged.notify_all();
}

void PlayerThread::ResumeThread()
{
    {
        std::lock_guard<std::mutex> lock(m_holdMutex);
        m_pauseAsked = false;
        m_woken = true;
    }
    m_holdChanged.notify_all();
}

void PlayerThread::WakeThread()
{
    {
        std::lock_guard<std::mutex> lock(m_holdMutex);
        m_woken = true;
    }
    m_holdChanged.notify_all();
}

void PlayerThread::_channelEnded(void* player)
{
    static_cast<PlayerThread*>(player)->WakeThread();
}

bool PlayerThread::_holdWhilePaused()
{
    std::unique_lock<std::mutex> lock(m_holdMutex);
    m_holdChanged.wait(lock, [this] { return !m_pauseAsked || m_endAsked; });
    return m_endAsked;
}

bool PlayerThread::_rest(std::chrono::milliseconds time)
{
    std::unique_lock<std::mutex> lock(m_holdMutex);
    m_holdChanged.wait_for(lock, time, [this] { return m_endAsked || m_woken; });
    m_woken = false;
    return m_endAsked;
}

bool PlayerThread::Report(int result, unsigned line) const
{
    return ReportSoundError(result, GetSource(), line);
}

void PlayerThread::_stepChannel(int deltaMs)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    PlayerState state = GetState();
    sound::Channel* channel = GetChannel();
    if ((state != Playing && state != Paused) || !channel)
        return;
    unsigned position = 0;
    int result = channel->getPosition(&position, sound::TIMEUNIT_MS);
    if (result != sound::OK)
        Report(result, __LINE__);
    long long target = static_cast<long long>(position) + deltaMs;
    target = std::max(0LL, std::min<long long>(target, GetLength()));
    result = channel->setPosition(static_cast<unsigned>(target), sound::TIMEUNIT_MS);
    if (result != sound::OK)
        Report(result, __LINE__);
    WakeThread();
}

void PlayerThread::_reportChannelError(sound::Channel* channel)
{
    sound::Result error = sound::OK;
    char text[1024] = {};
    int result = channel->getError(&error, text, sizeof text);
    if (result != sound::OK)
        Report(result, __LINE__);
    else if (error != sound::OK)
        _logPlaybackFailure(channel, text, sizeof text);
}

void PlayerThread::Forward()
{
    _stepChannel(1000);
}

void PlayerThread::Rewind()
{
    _stepChannel(-1000);
}

unsigned PlayerThread::GetPosition()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    sound::Channel* channel = GetChannel();
    unsigned position = 0;
    if (channel && channel->getPosition(&position, sound::TIMEUNIT_MS) != sound::OK)
        position = 0;
    return position;
}

void PlayerThread::SetPosition(float fraction)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    sound::Channel* channel = GetChannel();
    unsigned position = static_cast<unsigned>(GetLength() * static_cast<double>(fraction));
    int result = channel ? channel->setPosition(position, sound::TIMEUNIT_MS)
                         : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK)
        Report(result, __LINE__);
    WakeThread();
}

wxString PlayerThread::GetMediaTime()
{
    wxString text = FormatMediaTime(GetLength());
    LogMessage("GetMediaTime : %s", static_cast<const char*>(text.utf8_str()));
    return text;
}

bool PlayerThread::SetVolume(int level, int)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_volume = ChannelVolume(level);
    sound::Channel* channel = GetChannel();
    int result = channel ? channel->setVolume(m_volume) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK)
        return Report(result, __LINE__);
    return true;
}

void PlayerThread::ReleaseAll(sound::Channel*& channel, std::initializer_list<sound::Sound**> sounds,
                              sound::System*& system)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    PlayerState state = GetState();
    if ((state == Playing || state == Paused) && channel) {
        int result = channel->stop();
        if (result != sound::OK)
            Report(result, __LINE__);
    }
    channel = nullptr;
    for (sound::Sound** sound : sounds) {
        if (*sound) {
            int result = (*sound)->release();
            if (result != sound::OK)
                Report(result, __LINE__);
            *sound = nullptr;
        }
    }
    if (system) {
        int result = system->close();
        if (result != sound::OK)
            Report(result, __LINE__);
        result = system->release();
        if (result != sound::OK)
            Report(result, __LINE__);
        system = nullptr;
    }
}

wxThread::ExitCode PlayerThread::Entry()
{
    LogMessage("AudioPlayerThread :: Execute - Begin");
    bool playing = true;
    int lastSlider = -1;
    if (GetState() != Stopped) {
        for (;;) {
            if (!IsAlive() || GetState() < Loaded || _holdWhilePaused() || !playing)
                break;
            unsigned position = 0;
            unsigned length = 0;
            {
                std::lock_guard<std::recursive_mutex> lock(m_mutex);
                sound::Channel* channel = GetChannel();
                length = GetLength();
                if (!channel) {
                    playing = false;
                } else {
                    // Armed before asking, so that an end after the answer still wakes the rest below.
                    channel->setEndCallback(&PlayerThread::_channelEnded, this);
                    int result = channel->isPlaying(&playing);
                    if (result != sound::OK)
                        Report(result, __LINE__);
                    else if (!playing)
                        _reportChannelError(channel);
                    result = channel->getPosition(&position, sound::TIMEUNIT_MS);
                    if (result != sound::OK)
                        Report(result, __LINE__);
                }
            }
            int slider = length > 0 ? static_cast<int>(static_cast<double>(position) / length * 1000.0) : 0;
            bool visible = std::abs(slider - lastSlider) >= kVisibleStep || slider == 0 || slider >= 1000;
            if (slider != lastSlider && visible && m_owner) {
                lastSlider = slider;
                m_owner->PlayerProgress(GetSerial(), slider);
            }
            if (GetState() == Stopped)
                break;
            if (playing && _rest(kPositionPeriod))
                break;
        }
    }
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        PlayerState state = GetState();
        sound::Channel* channel = GetChannel();
        if ((state == Playing || state == Paused) && channel) {
            int result = channel->stop();
            if (result == sound::OK)
                SetState(Stopped);
            else
                OnStopFailed();
        }
        Stop();
    }
    if (m_owner)
        m_owner->EndOfMedia(GetSerial());
    LogMessage("AudioPlayerThread :: Execute - End");
    return 0;
}

// Below the rest of the file: the failure lines above name their line numbers.
bool PlayerThread::ReportLoad(int result, unsigned line, sound::System* system) const
{
    Report(result, line);
    char reason[1024] = {};
    if (system && system->getLastErrorReason(reason, sizeof reason) == sound::OK && *reason)
        LogText("ERROR : " + GetTypeName() + " :: Load - Reason: " + wxString::FromUTF8(reason));
    return false;
}

void PlayerThread::_logPlaybackFailure(sound::Channel* channel, char* text, int textLength)
{
    LogText("ERROR : " + GetTypeName() + " :: Execute - Playback failed: " + wxString::FromUTF8(text));
    if (channel->getErrorReason(text, textLength) == sound::OK && *text)
        LogText("ERROR : " + GetTypeName() + " :: Execute - Reason: " + wxString::FromUTF8(text));
}

} // namespace BrelkosPlayer
