// A media file: its container read by parsebin, its audio stream decoded by decodebin.
#pragma once

#include "sound/PipelineSource.h"

#include <string>

namespace sound {

class FileSource : public PipelineSource {
public:
    FileSource(std::string path, std::uint64_t size) : m_path(std::move(path)), m_size(size) {}

    bool attach(GstBin* bin, GstPad* entry) override;
    std::uint64_t size() const override { return m_size; }

private:
    std::string m_path;
    std::uint64_t m_size = 0;
};

} // namespace sound
