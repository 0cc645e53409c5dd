#include "sound/ErrorMapping.h"

#include <algorithm>

namespace sound {

Result resultFromGstError(const GError* error, const GstObject* source)
{
    if (!error)
        return ERR_INTERNAL;
    // A sink's resource is the output: its device or sound server failed or went away.
    if (error->domain == GST_RESOURCE_ERROR && source && GST_IS_ELEMENT(source) &&
        GST_OBJECT_FLAG_IS_SET(source, GST_ELEMENT_FLAG_SINK))
        return ERR_OUTPUT_INIT;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND: return ERR_FILE_NOTFOUND;
        case GST_RESOURCE_ERROR_BUSY:
        case GST_RESOURCE_ERROR_OPEN_WRITE:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE: return ERR_OUTPUT_INIT;
        default: return ERR_FILE_BAD;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_FORMAT: return ERR_FORMAT;
        case GST_STREAM_ERROR_CODEC_NOT_FOUND: return ERR_PLUGIN_MISSING;
        default: // DECODE, DEMUX, FAILED and the like: a damaged stream
            return ERR_FILE_BAD;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return ERR_PLUGIN_MISSING;
    return ERR_INTERNAL;
}

std::string textOfGstError(const GError* error, const gchar* debug, const GstObject* source)
{
    std::string text;
    if (source && GST_OBJECT_NAME(source)) {
        text = GST_OBJECT_NAME(source);
        text += ": ";
    }
    text += error && error->message ? error->message : "unknown error";
    if (debug && *debug) {
        text += " (";
        text += debug;
        text += ")";
    }
    // Debug details span several lines; a log line is one.
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

void copyText(const std::string& text, char* buffer, int length)
{
    if (!buffer || length <= 0)
        return;
    std::size_t count = std::min(text.size(), static_cast<std::size_t>(length - 1));
    while (count > 0 && count < text.size() && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80)
        --count;
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
}

} // namespace sound
