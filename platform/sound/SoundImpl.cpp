#include "sound/SoundImpl.h"

#include "sound/CdTrackSource.h"
#include "sound/FileSource.h"
#include "sound/Pipeline.h"

namespace sound {

Sound::Impl::Impl(System::Impl* owner, Kind soundKind, unsigned length)
    : system(owner), kind(soundKind), lengthMs(length)
{
}

Sound::Impl::~Impl() = default;

Result Sound::Impl::getLength(unsigned* length, unsigned timeUnit) const
{
    if (!length || timeUnit != TIMEUNIT_MS)
        return ERR_INVALID_PARAM;
    if (released)
        return ERR_INVALID_HANDLE;
    *length = lengthMs;
    return OK;
}

Result Sound::Impl::getNumSubSounds(int* count) const
{
    if (!count)
        return ERR_INVALID_PARAM;
    if (released)
        return ERR_INVALID_HANDLE;
    *count = static_cast<int>(subSounds.size());
    return OK;
}

Result Sound::Impl::getSubSound(int index, Sound** subSound) const
{
    if (!subSound)
        return ERR_INVALID_PARAM;
    *subSound = nullptr;
    if (released)
        return ERR_INVALID_HANDLE;
    if (index < 0 || static_cast<std::size_t>(index) >= subSounds.size())
        return ERR_SUBSOUNDS;
    Impl* sub = subSounds[static_cast<std::size_t>(index)];
    if (sub->released)
        return ERR_INVALID_HANDLE;
    *subSound = &sub->handle;
    return OK;
}

Result Sound::Impl::makePipeline(const OutputSink& output, std::unique_ptr<Pipeline>* pipeline,
                                 std::string* reason) const
{
    std::unique_ptr<Pipeline> result;
    Result code = ERR_INVALID_PARAM; // a whole disc does not play: its tracks do
    if (kind == Kind::File) {
        FileSource source(path, 0); // proven playable by createStream: its size does not matter
        code = Pipeline::create(source, output, &result);
    } else if (kind == Kind::Track) {
        CdTrackSource source(disc, track);
        code = Pipeline::create(source, output, &result);
    }
    if (code == OK) {
        code = result->preroll();
        if (code != OK && reason)
            *reason = result->reason();
    }
    if (code == ERR_FILE_BAD && kind == Kind::Track)
        code = ERR_CDROM_ERROR;
    if (code != OK)
        return code;
    *pipeline = std::move(result);
    return OK;
}

} // namespace sound
