// An audio disc opened through libcdio, in a drive or as an image: its audio
// tracks and the reading of their sectors (44.1 kHz, 16-bit stereo, LE).
#pragma once

#include "sound/SoundSystem.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

typedef struct _CdIo CdIo_t;

namespace sound {

struct CdDrive;

struct CdTrack {
    int number = 0;               // on the disc, from 1
    std::int32_t firstSector = 0; // LSN
    std::uint32_t sectors = 0;
    unsigned lengthMs() const
    {
        return static_cast<unsigned>(std::uint64_t(sectors) * 1000 / kSectorsPerSecond);
    }
    static constexpr unsigned kSectorsPerSecond = 75;
    static constexpr unsigned kSectorBytes = 2352;
};

class CdDisc {
public:
    // ERR_CDROM_NODISC for an empty drive, a missing image or a disc without
    // audio tracks; ERR_CDROM_ERROR when the drive or image cannot be read.
    static Result open(const CdDrive& drive, std::shared_ptr<CdDisc>* disc);
    ~CdDisc();
    CdDisc(const CdDisc&) = delete;
    CdDisc& operator=(const CdDisc&) = delete;

    const std::vector<CdTrack>& tracks() const { return m_tracks; }
    // Reads `count` sectors from `firstSector` into `buffer`; false on a read error.
    bool read(std::int32_t firstSector, std::uint32_t count, void* buffer);

private:
    explicit CdDisc(CdIo_t* cdio) : m_cdio(cdio) {}

    std::mutex m_mutex; // several channels may read the same disc
    CdIo_t* m_cdio;
    std::vector<CdTrack> m_tracks;
};

} // namespace sound
