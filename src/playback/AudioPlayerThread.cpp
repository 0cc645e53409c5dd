#include "playback/AudioPlayerThread.h"

#include "log/Logger.h"
#include "playback/CreateSoundSystem.h"
#include "playback/SoundReport.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

namespace {
const char* const kSource = ".\\src\\other\\AudioPlayerThread";
}

#define REPORT(result) ReportSoundError((result), kSource, __LINE__)

AudioPlayerThread::AudioPlayerThread(PlayerOwner* owner) : PlayerThread(owner)
{
    m_system = CreateSoundSystem(kSource, true, true);
}

AudioPlayerThread::~AudioPlayerThread()
{
    Stop();
}

const char* AudioPlayerThread::GetSource() const
{
    return kSource;
}

bool AudioPlayerThread::Load(const wxString& path)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    int result = sound::ERR_UNINITIALIZED;
    if (m_system)
        // The name's bytes on disk: a name that is not UTF-8 is found too.
        result = m_system->createStream(path.fn_str(), 0, nullptr, &m_sound);
    if (result != sound::OK) {
        ReportLoad(result, __LINE__, m_system);
        m_sound = nullptr;
    }
    m_length = 0;
    SetState(Empty);
    result = m_system && m_sound ? m_system->playSound(sound::CHANNEL_FREE, m_sound, true, &m_channel)
                                 : static_cast<int>(sound::ERR_INVALID_PARAM);
    if (result != sound::OK) {
        ReportLoad(result, __LINE__, m_sound ? m_system : nullptr);
        m_channel = nullptr;
        return false;
    }
    result = m_sound->getLength(&m_length, sound::TIMEUNIT_MS);
    if (result != sound::OK) {
        REPORT(result);
        m_length = 0;
    }
    SetState(Loaded);
    return true;
}

void AudioPlayerThread::Play()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    PlayerState state = GetState();
    if (state < Loaded)
        return;
    if (state == Paused) {
        ResumeThread();
        int result = m_channel ? m_channel->setPaused(false) : static_cast<int>(sound::ERR_INVALID_HANDLE);
        if (result != sound::OK) {
            REPORT(result);
            LogMessage("Play - can't unpause");
            return;
        }
    } else {
        sound::Channel* channel = nullptr;
        int result = m_system && m_sound ? m_system->playSound(sound::CHANNEL_FREE, m_sound, false, &channel)
                                         : static_cast<int>(sound::ERR_INVALID_HANDLE);
        if (result != sound::OK) {
            REPORT(result);
            LogMessage("Play - can't play ");
            return;
        }
        m_channel = channel;
        result = m_channel->setVolume(m_volume);
        if (result != sound::OK)
            REPORT(result);
        // A new channel starts audible: keep a muted player muted.
        if (m_mute && (result = m_channel->setMute(true)) != sound::OK)
            REPORT(result);
    }
    SetState(Playing);
    // The body arms the end notice of the new channel.
    WakeThread();
}

void AudioPlayerThread::Pause()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (GetState() != Playing)
        return;
    int result = m_channel ? m_channel->setPaused(true) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK) {
        REPORT(result);
        return;
    }
    SetState(Paused);
    SuspendThread();
}

void AudioPlayerThread::Stop()
{
    ReleaseAll(m_channel, {&m_sound}, m_system);
}

void AudioPlayerThread::SetMute(bool mute)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_mute = mute;
    int result = m_channel ? m_channel->setMute(mute) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK)
        REPORT(result);
}

} // namespace BrelkosPlayer
