// The part of a pipeline that produces raw audio: a decoded file or a CD track.
#pragma once

#include <gst/gst.h>

#include <chrono>
#include <cstdint>

namespace sound {

class PipelineSource {
public:
    virtual ~PipelineSource() = default;

    // Adds the source's elements to `bin` and links their audio, now or once
    // it appears, to `entry`, the sink pad of the audio chain. A source that
    // finds no audio posts an ERROR message. False if an element is missing.
    virtual bool attach(GstBin* bin, GstPad* entry) = 0;

    // How long it may produce nothing while prerolling before the pipeline
    // counts as stuck: a sleeping disk or a CD drive spins up first.
    virtual std::chrono::milliseconds patience() const { return std::chrono::seconds(20); }
    // Its size in bytes, 0 when unknown. Once all of it has been read, a short
    // pause already means the pipeline is stuck.
    virtual std::uint64_t size() const { return 0; }
};

} // namespace sound
