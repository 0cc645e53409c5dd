// The audio sink an initialised System gives each of its pipelines.
#pragma once

#include "sound/SoundSystem.h"

#include <gst/gst.h>

#include <string>

namespace sound {

class OutputSink {
public:
    // Chooses the sink of an output type and checks that it opens. Gives
    // ERR_OUTPUT_NOT_SUPPORTED for another platform's type and ERR_OUTPUT_INIT
    // when no device of the type could be opened.
    static Result open(int outputType, OutputSink* sink);

    // A new sink element (floating reference), or null if it cannot be made.
    GstElement* create() const;

    const std::string& factory() const { return m_factory; }

private:
    std::string m_factory;
    bool m_sync = true;
};

} // namespace sound
