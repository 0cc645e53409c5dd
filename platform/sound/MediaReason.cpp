#include "sound/MediaReason.h"

#include "sound/GStreamerInit.h"

#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace sound {

namespace {

// A good file answers in well under this. decodebin sometimes swallows a
// broken file's demuxer error and then stalls: the caller waits this long.
constexpr GstClockTime kDiscoverTimeout = 1 * GST_SECOND;

// Installer details read "gstreamer|1.0|application|description|detail": the
// description is what a user can look up.
std::string missingPlugins(GstDiscovererInfo* info)
{
    std::string names;
    const gchar** details = gst_discoverer_info_get_missing_elements_installer_details(info);
    for (; details && *details; ++details) {
        gchar** fields = g_strsplit(*details, "|", 5);
        if (!names.empty())
            names += ", ";
        names += g_strv_length(fields) >= 4 ? fields[3] : *details;
        g_strfreev(fields);
    }
    return "missing plug-in: " + (names.empty() ? std::string("unknown") : names);
}

std::string takeMessage(GError** error, const char* otherwise)
{
    std::string text = *error && (*error)->message ? (*error)->message : otherwise;
    g_clear_error(error);
    return text;
}

} // namespace

Result checkMediaFile(const std::string& path, std::uint64_t* size, std::string* reason)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        *reason = std::strerror(errno);
        return errno == ENOENT || errno == ENOTDIR ? ERR_FILE_NOTFOUND : ERR_FILE_BAD;
    }
    if (!S_ISREG(info.st_mode) || info.st_size == 0) {
        *reason = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "The file is empty.";
        return ERR_FILE_BAD;
    }
    *size = static_cast<std::uint64_t>(info.st_size);
    return OK;
}

std::string whyNotPlayable(const std::string& path)
{
    std::string reason;
    std::uint64_t size = 0;
    if (checkMediaFile(path, &size, &reason) != OK)
        return reason;
    if (!initGStreamer())
        return "GStreamer could not be initialised.";

    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &error);
    if (!uri)
        return takeMessage(&error, "The path is not a valid file name.");
    GstDiscoverer* discoverer = gst_discoverer_new(kDiscoverTimeout, &error);
    if (!discoverer) {
        g_free(uri);
        return takeMessage(&error, "GStreamer's discoverer could not be made.");
    }
    GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri, &error);
    switch (info ? gst_discoverer_info_get_result(info) : GST_DISCOVERER_ERROR) {
    case GST_DISCOVERER_OK: g_clear_error(&error); break;
    case GST_DISCOVERER_MISSING_PLUGINS:
        reason = missingPlugins(info);
        g_clear_error(&error);
        break;
    case GST_DISCOVERER_TIMEOUT:
        reason = "The decoder stalled before any picture or sound: the file is damaged or cut short.";
        g_clear_error(&error);
        break;
    default: reason = takeMessage(&error, "The file could not be read."); break;
    }
    if (info)
        g_object_unref(info);
    g_object_unref(discoverer);
    g_free(uri);
    return reason;
}

} // namespace sound
