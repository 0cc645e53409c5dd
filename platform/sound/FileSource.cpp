#include "sound/FileSource.h"

namespace sound {

namespace {

bool isAudio(GstPad* pad)
{
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    bool audio = false;
    if (caps && !gst_caps_is_empty(caps) && !gst_caps_is_any(caps))
        audio = g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    if (caps)
        gst_caps_unref(caps);
    return audio;
}

// The first audio stream plays; the others, and any video, stay unlinked.
void onPadAdded(GstElement*, GstPad* pad, gpointer entry)
{
    if (!gst_pad_is_linked(GST_PAD(entry)) && isAudio(pad))
        gst_pad_link(pad, GST_PAD(entry));
}

// Without this the audio sink would wait for data forever.
void onNoMorePads(GstElement* element, gpointer entry)
{
    if (!gst_pad_is_linked(GST_PAD(entry)))
        GST_ELEMENT_ERROR(element, STREAM, WRONG_TYPE, ("The file has no audio stream."), (nullptr));
}

void unrefPad(gpointer pad, GClosure*)
{
    gst_object_unref(pad);
}

void connectPads(GstElement* element, GstPad* entry)
{
    g_signal_connect_data(element, "pad-added", G_CALLBACK(onPadAdded), gst_object_ref(entry), unrefPad,
                          GConnectFlags(0));
    g_signal_connect_data(element, "no-more-pads", G_CALLBACK(onNoMorePads), gst_object_ref(entry), unrefPad,
                          GConnectFlags(0));
}

} // namespace

bool FileSource::attach(GstBin* bin, GstPad* entry)
{
    // parsebin reads the container, decodebin decodes the one audio stream it
    // hands over. decodebin alone would put a queue and a thread of its own
    // behind a demuxer (ogg, asf), for streams that play together; one stream
    // plays here, and handing each buffer to that thread made an ogg file cost
    // a third more to play.
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* parser = gst_element_factory_make("parsebin", nullptr);
    GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
    if (!source || !parser || !decoder) {
        for (GstElement* element : {source, parser, decoder}) {
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        }
        return false;
    }
    g_object_set(source, "location", m_path.c_str(), nullptr);
    gst_bin_add_many(bin, source, parser, decoder, nullptr);
    GstPad* decoderEntry = gst_element_get_static_pad(decoder, "sink");
    connectPads(parser, decoderEntry);
    gst_object_unref(decoderEntry);
    connectPads(decoder, entry);
    return gst_element_link(source, parser);
}

} // namespace sound
