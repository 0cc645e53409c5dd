#include "sound/CdDisc.h"

#include "sound/CdDrives.h"

#include <cdio/cdio.h>

#include <sys/stat.h>

namespace sound {

namespace {

// Lead-out, lead-in and pregap between the sessions of a CD-Extra disc: the
// last audio track of the first session does not really run up to the data
// track of the second.
constexpr std::uint32_t kSessionGap = 11400;

std::uint32_t audioSectors(CdIo_t* cdio, track_t track, track_t last, lsn_t lastSession)
{
    std::uint32_t sectors = cdio_get_track_sec_count(cdio, track);
    if (track < last && cdio_get_track_format(cdio, track + 1) != TRACK_FORMAT_AUDIO && lastSession > 0 &&
        cdio_get_track_lsn(cdio, track + 1) >= lastSession && sectors > kSessionGap)
        sectors -= kSessionGap;
    return sectors;
}

} // namespace

Result CdDisc::open(const CdDrive& drive, std::shared_ptr<CdDisc>* disc)
{
    CdDrives::quietLibcdio();
    struct stat info {};
    if (stat(drive.device.c_str(), &info) != 0)
        return drive.image ? ERR_CDROM_NODISC : ERR_CDROM_ERROR;
    CdIo_t* cdio = cdio_open(drive.device.c_str(), drive.image ? DRIVER_UNKNOWN : DRIVER_DEVICE);
    if (!cdio)
        return ERR_CDROM_ERROR;
    std::shared_ptr<CdDisc> result(new CdDisc(cdio));

    track_t first = cdio_get_first_track_num(cdio);
    track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return ERR_CDROM_NODISC;
    track_t last = static_cast<track_t>(first + count - 1);
    lsn_t lastSession = 0;
    if (cdio_get_last_session(cdio, &lastSession) != DRIVER_OP_SUCCESS)
        lastSession = 0;
    for (track_t track = first; track <= last; ++track) {
        if (cdio_get_track_format(cdio, track) != TRACK_FORMAT_AUDIO)
            continue;
        lsn_t start = cdio_get_track_lsn(cdio, track);
        std::uint32_t sectors = audioSectors(cdio, track, last, lastSession);
        if (start == CDIO_INVALID_LSN || sectors == 0)
            continue;
        result->m_tracks.push_back(CdTrack{track, start, sectors});
    }
    if (result->m_tracks.empty())
        return ERR_CDROM_NODISC;
    *disc = std::move(result);
    return OK;
}

CdDisc::~CdDisc()
{
    cdio_destroy(m_cdio);
}

bool CdDisc::read(std::int32_t firstSector, std::uint32_t count, void* buffer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return cdio_read_audio_sectors(m_cdio, buffer, firstSector, count) == DRIVER_OP_SUCCESS;
}

} // namespace sound
