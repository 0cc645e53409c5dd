// A CD track as raw audio: an appsrc (time format, seekable) fed from the
// disc on its streaming thread, a few sectors at a time.
#pragma once

#include "sound/CdDisc.h"
#include "sound/PipelineSource.h"

#include <memory>

namespace sound {

class CdTrackSource : public PipelineSource {
public:
    CdTrackSource(std::shared_ptr<CdDisc> disc, const CdTrack& track)
        : m_disc(std::move(disc)), m_track(track)
    {
    }

    bool attach(GstBin* bin, GstPad* entry) override;
    // A drive may take seconds to spin up before its first sector arrives.
    std::chrono::milliseconds patience() const override { return std::chrono::seconds(30); }

private:
    std::shared_ptr<CdDisc> m_disc;
    CdTrack m_track;
};

} // namespace sound
