// Length of a media file when the playing pipeline cannot tell it before it
// plays: mp3 without a Xing header, raw ac3.
#pragma once

#include <cstdint>
#include <string>

namespace sound {

// Runs the file through its parsers as fast as they go until they estimate
// the length (or reach the end). False when they cannot tell.
bool probeLength(const std::string& path, std::uint64_t* lengthNs);

} // namespace sound
