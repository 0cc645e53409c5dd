#include "playback/CDPlayerThread.h"

#include "log/Logger.h"
#include "playback/CreateSoundSystem.h"
#include "playback/SoundReport.h"
#include "playlist/MediaPath.h"
#include "sound/SoundSystem.h"

namespace BrelkosPlayer {

namespace {
const char* const kSource = ".\\src\\other\\CDPlayerThread";
}

#define REPORT(result) ReportSoundError((result), kSource, __LINE__)

CDPlayerThread::CDPlayerThread(PlayerOwner* owner) : PlayerThread(owner)
{
    m_system = CreateSoundSystem(kSource, true, true);
}

CDPlayerThread::~CDPlayerThread()
{
    Stop();
}

const char* CDPlayerThread::GetSource() const
{
    return kSource;
}

void CDPlayerThread::OnStopFailed()
{
    LogMessage("Play - Can't stop");
}

bool CDPlayerThread::Load(const wxString& address)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_drive = MediaPath::TrackDrive(address);
    m_track = MediaPath::TrackIndex(address);

    int result = m_system ? m_system->createStream(m_drive.utf8_str(), 0, nullptr, &m_disc)
                          : static_cast<int>(sound::ERR_UNINITIALIZED);
    if (result != sound::OK) {
        ReportLoad(result, __LINE__, m_system);
        m_disc = nullptr;
    }
    int count = m_trackCount;
    result = m_disc ? m_disc->getNumSubSounds(&count) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK)
        REPORT(result);
    else
        m_trackCount = count;
    LogMessage("Number of tracks : %i/%i", m_track, m_trackCount);
    if (m_track >= m_trackCount)
        return false;

    result = m_disc->getSubSound(m_track, &m_trackSound);
    if (result != sound::OK) {
        REPORT(result);
        m_trackSound = nullptr;
    }
    result = m_trackSound ? m_system->playSound(sound::CHANNEL_FREE, m_trackSound, true, &m_channel)
                          : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK) {
        ReportLoad(result, __LINE__, m_trackSound ? m_system : nullptr);
        m_channel = nullptr;
        LogMessage("Play - Can't load track %i", m_track);
        return false;
    }
    result = m_trackSound->getLength(&m_length, sound::TIMEUNIT_MS);
    if (result != sound::OK) {
        REPORT(result);
        m_length = 0;
    }
    SetState(Loaded);
    return true;
}

void CDPlayerThread::Play()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (GetState() < Loaded)
        return;
    ResumeThread();
    int result = m_channel ? m_channel->setPaused(false) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK) {
        REPORT(result);
        LogMessage("Play - Can't unpause");
        return;
    }
    SetState(Playing);
}

void CDPlayerThread::Pause()
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (GetState() != Playing)
        return;
    int result = m_channel ? m_channel->setPaused(true) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK) {
        REPORT(result);
        LogMessage("Play - Can't pause");
        return;
    }
    SetState(Paused);
    SuspendThread();
}

void CDPlayerThread::Stop()
{
    ReleaseAll(m_channel, {&m_trackSound, &m_disc}, m_system);
}

void CDPlayerThread::SetMute(bool mute)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    int result = m_channel ? m_channel->setMute(mute) : static_cast<int>(sound::ERR_INVALID_HANDLE);
    if (result != sound::OK) {
        REPORT(result);
        LogMessage("Play - Can't mute");
        return;
    }
    m_mute = mute;
}

} // namespace BrelkosPlayer
