#include "sound/MediaLength.h"

#include <gst/gst.h>

namespace sound {

namespace {

// GstDiscoverer does the same, but gives the parsers a fixed 100 ms: on a busy
// machine that is too short. This waits as long as they need, within a limit.
constexpr GstClockTime kLimit = 3 * GST_SECOND;
constexpr GstClockTime kPollInterval = 5 * GST_MSECOND;

// The first parsed audio stream runs into the sink, which takes data at once.
void onPadAdded(GstElement*, GstPad* pad, gpointer sinkPad)
{
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    bool audio = caps && !gst_caps_is_empty(caps) &&
                 g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    if (caps)
        gst_caps_unref(caps);
    if (audio && !gst_pad_is_linked(GST_PAD(sinkPad)))
        gst_pad_link(pad, GST_PAD(sinkPad));
}

void unrefPad(gpointer pad, GClosure*)
{
    gst_object_unref(pad);
}

bool durationOf(GstElement* pipeline, std::uint64_t* lengthNs)
{
    gint64 value = -1;
    if (!gst_element_query_duration(pipeline, GST_FORMAT_TIME, &value) || value <= 0)
        return false;
    *lengthNs = static_cast<std::uint64_t>(value);
    return true;
}

bool positionOf(GstElement* pipeline, std::uint64_t* lengthNs)
{
    gint64 value = -1;
    if (!gst_element_query_position(pipeline, GST_FORMAT_TIME, &value) || value <= 0)
        return false;
    *lengthNs = static_cast<std::uint64_t>(value);
    return true;
}

} // namespace

bool probeLength(const std::string& path, std::uint64_t* lengthNs)
{
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* parser = gst_element_factory_make("parsebin", nullptr);
    // In place from the start: a pipeline without a sink ends at once.
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!pipeline || !source || !parser || !sink) {
        for (GstElement* element : {pipeline, source, parser, sink}) {
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        }
        return false;
    }
    g_object_set(source, "location", path.c_str(), nullptr);
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, parser, sink, nullptr);
    gst_element_link(source, parser);
    g_signal_connect_data(parser, "pad-added", G_CALLBACK(onPadAdded),
                          gst_element_get_static_pad(sink, "sink"), unrefPad, GConnectFlags(0));

    bool found = false;
    GstBus* bus = gst_element_get_bus(pipeline);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
        const gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(kLimit / GST_USECOND);
        while (!found && g_get_monotonic_time() < deadline) {
            GstMessage* message = gst_bus_timed_pop_filtered(
                bus, kPollInterval, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS));
            GstMessageType type = message ? GST_MESSAGE_TYPE(message) : GST_MESSAGE_UNKNOWN;
            if (message)
                gst_message_unref(message);
            if (type == GST_MESSAGE_ERROR)
                break;
            found = durationOf(pipeline, lengthNs);
            // At the end of the file the position is the length.
            if (type == GST_MESSAGE_EOS) {
                found = found || positionOf(pipeline, lengthNs);
                break;
            }
        }
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(pipeline);
    return found;
}

} // namespace sound
