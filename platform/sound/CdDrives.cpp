#include "sound/CdDrives.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <cctype>
#include <cstdlib>
#include <mutex>

namespace sound {

namespace {

constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';

std::vector<std::string> imagesFromEnvironment()
{
    std::vector<std::string> images;
    const char* list = std::getenv("BRELKOS_CD_IMAGES");
    if (!list)
        return images;
    std::string text(list);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(':', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            images.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return images;
}

} // namespace

void CdDrives::quietLibcdio()
{
    static std::once_flag once;
    std::call_once(once, [] { cdio_loglevel_default = CDIO_LOG_ERROR; });
}

std::vector<CdDrive> CdDrives::list()
{
    quietLibcdio();
    std::vector<std::pair<std::string, bool>> devices;
    {
        // libcdio's device scan keeps global state.
        static std::mutex scanMutex;
        std::lock_guard<std::mutex> lock(scanMutex);
        char** found = cdio_get_devices(DRIVER_DEVICE);
        for (char** device = found; device && *device; ++device)
            devices.emplace_back(*device, false);
        if (found)
            cdio_free_device_list(found);
    }
    for (std::string& image : imagesFromEnvironment())
        devices.emplace_back(std::move(image), true);

    std::vector<CdDrive> drives;
    char letter = kFirstLetter;
    for (auto& [device, image] : devices) {
        if (letter > kLastLetter)
            break;
        drives.push_back(CdDrive{std::string{letter, ':'}, std::move(device), image});
        ++letter;
    }
    return drives;
}

std::string CdDrives::model(const CdDrive& drive)
{
    if (drive.image)
        return "Disc image";
    quietLibcdio();
    std::string text;
    if (CdIo_t* cdio = cdio_open(drive.device.c_str(), DRIVER_DEVICE)) {
        cdio_hwinfo_t info{};
        if (cdio_get_hwinfo(cdio, &info))
            text = std::string(info.psz_vendor) + " " + info.psz_model;
        cdio_destroy(cdio);
    }
    return text;
}

bool CdDrives::isDriveName(const std::string& text)
{
    if (text.size() != 2 || text[1] != ':')
        return false;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return letter >= kFirstLetter && letter <= kLastLetter;
}

bool CdDrives::find(const std::string& name, CdDrive* drive)
{
    if (!isDriveName(name))
        return false;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    for (CdDrive& candidate : list()) {
        if (candidate.name[0] == letter) {
            *drive = std::move(candidate);
            return true;
        }
    }
    return false;
}

} // namespace sound
