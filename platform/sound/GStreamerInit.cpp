#include "sound/GStreamerInit.h"

#include <gst/gst.h>

#include <mutex>

namespace sound {

namespace {

// mpg123audiodec decodes mp3 at about half the CPU of gst-libav's decoder and
// spares loading gst-libav at all; both have the same rank by default.
void preferMpg123()
{
    GstPluginFeature* feature =
        gst_registry_find_feature(gst_registry_get(), "mpg123audiodec", GST_TYPE_ELEMENT_FACTORY);
    if (!feature)
        return;
    gst_plugin_feature_set_rank(feature, GST_RANK_PRIMARY + 1);
    gst_object_unref(feature);
}

} // namespace

bool initGStreamer()
{
    static std::once_flag once;
    static bool initialised = false;
    std::call_once(once, [] {
        GError* error = nullptr;
        initialised = gst_init_check(nullptr, nullptr, &error);
        if (error)
            g_error_free(error);
        if (initialised)
            preferMpg123();
    });
    return initialised;
}

} // namespace sound
