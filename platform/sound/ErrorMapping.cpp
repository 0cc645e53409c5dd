#include "platform/sound/ErrorMapping.h"

#include <gst/gst.h>

namespace sound {

Result resultFromGstError(const GError* error)
{
    if (!error)
        return ERR_INTERNAL;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
            return ERR_FILE_NOTFOUND;
        case GST_RESOURCE_ERROR_BUSY:
        case GST_RESOURCE_ERROR_OPEN_WRITE:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
            return ERR_OUTPUT_INIT;
        default:
            return ERR_FILE_BAD;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_FORMAT:
            return ERR_FORMAT;
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
            return ERR_PLUGIN_MISSING;
        default: // DECODE, DEMUX, FAILED and the like: a damaged stream
            return ERR_FILE_BAD;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return ERR_PLUGIN_MISSING;
    return ERR_INTERNAL;
}

} // namespace sound
