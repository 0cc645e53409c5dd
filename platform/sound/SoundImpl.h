// A sound: a file stream, a CD (whose sub-sounds are its audio tracks) or one
// of its tracks. Sounds belong to the System that made them; after release
// they stay behind, inert, so that a stale handle answers ERR_INVALID_HANDLE.
#pragma once

#include "sound/CdDisc.h"
#include "sound/SoundSystem.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace sound {

class OutputSink;
class Pipeline;

struct Sound::Impl {
    enum class Kind { File, Disc, Track };

    Impl(System::Impl* owner, Kind soundKind, unsigned length);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    Sound handle{this};
    System::Impl* const system;
    const Kind kind;
    const unsigned lengthMs;
    std::string path;             // File
    std::shared_ptr<CdDisc> disc; // Disc and Track
    CdTrack track;                // Track
    std::vector<Impl*> subSounds; // Disc: its tracks, owned by the system
    std::atomic<bool> released{false};

    // Guarded by the system's lock.
    std::unique_ptr<Pipeline> spare;  // prerolled by createStream for the first channel
    Channel::Impl* channel = nullptr; // the channel it last played on

    Result getLength(unsigned* length, unsigned timeUnit) const;
    Result getNumSubSounds(int* count) const;
    Result getSubSound(int index, Sound** subSound) const;
    // A new pipeline of this sound, prerolled.
    // `reason` gets the decoder's words when the pipeline fails to preroll.
    Result makePipeline(const OutputSink& output, std::unique_ptr<Pipeline>* pipeline,
                        std::string* reason) const;
};

} // namespace sound
