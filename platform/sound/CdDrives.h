// The CD drives the library reports: libcdio's devices in its order, then the
// disc images listed in BRELKOS_CD_IMAGES (colon-separated). Each is named by a
// drive letter and a colon, "D:" first, as the players' track addresses expect.
#pragma once

#include <string>
#include <vector>

namespace sound {

struct CdDrive {
    std::string name;   // "D:", "E:", ...
    std::string device; // device node or image path
    bool image = false;
};

class CdDrives {
public:
    static std::vector<CdDrive> list();
    // A drive name as list() gives them (the letter in either case).
    static bool isDriveName(const std::string& text);
    static bool find(const std::string& name, CdDrive* drive);
    // The drive's vendor and model as it reports them, or "Disc image".
    static std::string model(const CdDrive& drive);
    // libcdio logs errors only: it warns about harmless things like short pregaps.
    static void quietLibcdio();
};

} // namespace sound
