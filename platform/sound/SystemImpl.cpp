#include "sound/SystemImpl.h"

#include "sound/CdDrives.h"
#include "sound/ChannelImpl.h"
#include "sound/ErrorMapping.h"
#include "sound/FileSource.h"
#include "sound/GStreamerInit.h"
#include "sound/MediaLength.h"
#include "sound/MediaReason.h"
#include "sound/Pipeline.h"
#include "sound/SoundImpl.h"

namespace sound {

namespace {

constexpr int kHighestOutputType = 20;
constexpr int kMaxChannels = 4095;
constexpr std::int64_t kNsPerMs = 1000000;

} // namespace

System::Impl::Impl() = default;

System::Impl::~Impl()
{
    close();
}

Result System::Impl::setOutput(int outputType)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_initialised)
        return ERR_INITIALIZED;
    if (outputType < 0 || outputType > kHighestOutputType)
        return ERR_INVALID_PARAM;
    m_outputType = outputType;
    return OK;
}

Result System::Impl::getOutput(int* outputType)
{
    if (!outputType)
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    *outputType = m_outputType;
    return OK;
}

Result System::Impl::init(int maxChannels)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_initialised)
        return ERR_INITIALIZED;
    if (maxChannels <= 0 || maxChannels > kMaxChannels)
        return ERR_INVALID_PARAM;
    if (!initGStreamer())
        return ERR_INTERNAL;
    Result result = OutputSink::open(m_outputType, &m_output);
    m_initialised = result == OK;
    return result;
}

Result System::Impl::createStream(const char* nameOrPath, Sound** sound)
{
    if (!nameOrPath || !sound)
        return ERR_INVALID_PARAM;
    *sound = nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastReason.clear();
    if (!m_initialised)
        return ERR_UNINITIALIZED;
    Sound::Impl* created = nullptr;
    Result result = CdDrives::isDriveName(nameOrPath) ? createDiscStream(nameOrPath, &created)
                                                      : createFileStream(nameOrPath, &created);
    if (result == OK)
        *sound = &created->handle;
    return result;
}

Result System::Impl::createFileStream(const std::string& path, Sound::Impl** sound)
{
    std::uint64_t size = 0;
    Result checked = checkMediaFile(path, &size, &m_lastReason);
    if (checked != OK)
        return checked;

    // The pipeline prerolled here, which proves the file plays, waits for the first channel.
    std::unique_ptr<Pipeline> pipeline;
    FileSource source(path, size);
    Result result = Pipeline::create(source, m_output, &pipeline);
    if (result == OK)
        result = pipeline->preroll();
    if (result != OK) {
        if (pipeline)
            m_lastReason = pipeline->reason();
        return result;
    }

    std::int64_t duration = pipeline->duration();
    std::uint64_t discovered = 0;
    if (duration <= 0 && probeLength(path, &discovered))
        duration = static_cast<std::int64_t>(discovered);
    unsigned lengthMs = duration > 0 ? static_cast<unsigned>(duration / kNsPerMs) : 0;

    auto created = std::make_unique<Sound::Impl>(this, Sound::Impl::Kind::File, lengthMs);
    created->path = path;
    created->spare = std::move(pipeline);
    *sound = adopt(std::move(created));
    return OK;
}

Result System::Impl::createDiscStream(const std::string& driveName, Sound::Impl** sound)
{
    CdDrive drive;
    if (!CdDrives::find(driveName, &drive))
        return ERR_CDROM_ERROR;
    std::shared_ptr<CdDisc> disc;
    Result result = CdDisc::open(drive, &disc);
    if (result != OK)
        return result;

    unsigned totalMs = 0;
    for (const CdTrack& track : disc->tracks())
        totalMs += track.lengthMs();
    auto whole = std::make_unique<Sound::Impl>(this, Sound::Impl::Kind::Disc, totalMs);
    whole->path = drive.name;
    whole->disc = disc;
    for (const CdTrack& track : disc->tracks()) {
        auto sub = std::make_unique<Sound::Impl>(this, Sound::Impl::Kind::Track, track.lengthMs());
        sub->path = drive.name;
        sub->disc = disc;
        sub->track = track;
        whole->subSounds.push_back(adopt(std::move(sub)));
    }
    *sound = adopt(std::move(whole));
    return OK;
}

Sound::Impl* System::Impl::adopt(std::unique_ptr<Sound::Impl> sound)
{
    m_sounds.push_back(std::move(sound));
    return m_sounds.back().get();
}

Result System::Impl::playSound(int channelIndex, Sound* sound, bool paused, Channel** channel)
{
    if (!sound || !channel)
        return ERR_INVALID_PARAM;
    *channel = nullptr;
    if (channelIndex != CHANNEL_FREE)
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastReason.clear();
    if (!m_initialised)
        return ERR_UNINITIALIZED;
    Sound::Impl* played = sound->impl();
    if (played->system != this || played->released)
        return ERR_INVALID_HANDLE;

    // A stream plays on one channel at a time. Its pipeline is taken over
    // when it can be rewound: much quicker than making a new one.
    std::unique_ptr<Pipeline> pipeline = std::move(played->spare);
    if (played->channel) {
        std::unique_ptr<Pipeline> previous = played->channel->end();
        played->channel = nullptr;
        if (!pipeline && previous && previous->rewind())
            pipeline = std::move(previous);
    }
    if (!pipeline) {
        Result result = played->makePipeline(m_output, &pipeline, &m_lastReason);
        if (result != OK)
            return result;
    }
    auto created = std::make_unique<Channel::Impl>(std::move(pipeline), played->lengthMs, true);
    if (!paused) {
        Result result = created->setPaused(false);
        if (result != OK)
            return result;
    }
    played->channel = created.get();
    *channel = &created->handle;
    m_channels.push_back(std::move(created));
    return OK;
}

Result System::Impl::getLastErrorReason(char* text, int textLength)
{
    if (!text || textLength <= 0)
        return ERR_INVALID_PARAM;
    std::lock_guard<std::mutex> lock(m_mutex);
    copyText(m_lastReason, text, textLength);
    return OK;
}

Result System::Impl::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& sound : m_sounds) {
        if (!sound->released)
            releaseLocked(sound.get());
    }
    for (auto& channel : m_channels)
        channel->end();
    m_initialised = false;
    m_output = OutputSink();
    return OK;
}

Result System::Impl::releaseSound(Sound::Impl* sound)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (sound->system != this || sound->released)
        return ERR_INVALID_HANDLE;
    releaseLocked(sound);
    return OK;
}

void System::Impl::releaseLocked(Sound::Impl* sound)
{
    sound->released = true;
    if (sound->channel) {
        sound->channel->end();
        sound->channel = nullptr;
    }
    sound->spare.reset();
    for (Sound::Impl* sub : sound->subSounds) {
        if (!sub->released)
            releaseLocked(sub);
    }
    sound->disc.reset(); // the last holder closes the drive
}

Result System::Impl::getNumCDROMDrives(int* count)
{
    if (!count)
        return ERR_INVALID_PARAM;
    *count = static_cast<int>(CdDrives::list().size());
    return OK;
}

Result System::Impl::getCDROMDriveName(int index, char* name, int nameLength, char* scsiName,
                                       int scsiNameLength, char* deviceName, int deviceNameLength)
{
    if (!name || nameLength <= 0)
        return ERR_INVALID_PARAM;
    std::vector<CdDrive> drives = CdDrives::list();
    if (index < 0 || static_cast<std::size_t>(index) >= drives.size())
        return ERR_INVALID_PARAM;
    const CdDrive& drive = drives[static_cast<std::size_t>(index)];
    copyText(drive.name, name, nameLength);
    copyText(CdDrives::model(drive), scsiName, scsiNameLength);
    copyText(drive.device, deviceName, deviceNameLength);
    return OK;
}

} // namespace sound
