#include "sound/CdTrackSource.h"

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <mutex>

namespace sound {

namespace {

// About 200 ms of audio per buffer.
constexpr std::uint32_t kSectorsPerBuffer = 15;

// Where the track is being read; shared with the appsrc callbacks.
struct TrackReader {
    std::shared_ptr<CdDisc> disc;
    CdTrack track;
    std::mutex mutex;
    std::uint32_t next = 0; // sector within the track
    bool failed = false;
};

GstClockTime sectorTime(std::uint32_t sector)
{
    return gst_util_uint64_scale(sector, GST_SECOND, CdTrack::kSectorsPerSecond);
}

void onNeedData(GstAppSrc* source, guint, gpointer data)
{
    auto& reader = **static_cast<std::shared_ptr<TrackReader>*>(data);
    std::lock_guard<std::mutex> lock(reader.mutex);
    if (reader.failed)
        return;
    if (reader.next >= reader.track.sectors) {
        gst_app_src_end_of_stream(source);
        return;
    }
    std::uint32_t count = std::min(kSectorsPerBuffer, reader.track.sectors - reader.next);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, gsize(count) * CdTrack::kSectorBytes, nullptr);
    GstMapInfo map;
    bool read = false;
    if (buffer && gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        read = reader.disc->read(reader.track.firstSector + static_cast<std::int32_t>(reader.next), count,
                                 map.data);
        gst_buffer_unmap(buffer, &map);
    }
    if (!read) {
        // The channel ends on this error; nothing more is read.
        reader.failed = true;
        if (buffer)
            gst_buffer_unref(buffer);
        GST_ELEMENT_ERROR(source, RESOURCE, READ, ("The CD could not be read."), (nullptr));
        return;
    }
    GST_BUFFER_PTS(buffer) = sectorTime(reader.next);
    GST_BUFFER_DURATION(buffer) = sectorTime(reader.next + count) - sectorTime(reader.next);
    reader.next += count;
    gst_app_src_push_buffer(source, buffer);
}

gboolean onSeekData(GstAppSrc*, guint64 offset, gpointer data)
{
    auto& reader = **static_cast<std::shared_ptr<TrackReader>*>(data);
    std::lock_guard<std::mutex> lock(reader.mutex);
    std::uint64_t sector = gst_util_uint64_scale(offset, CdTrack::kSectorsPerSecond, GST_SECOND);
    reader.next = static_cast<std::uint32_t>(std::min<std::uint64_t>(sector, reader.track.sectors));
    return !reader.failed;
}

void dropReader(gpointer data)
{
    delete static_cast<std::shared_ptr<TrackReader>*>(data);
}

} // namespace

bool CdTrackSource::attach(GstBin* bin, GstPad* entry)
{
    GstElement* element = gst_element_factory_make("appsrc", nullptr);
    if (!element)
        return false;
    GstAppSrc* source = GST_APP_SRC(element);
    GstCaps* caps =
        gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout", G_TYPE_STRING,
                            "interleaved", "rate", G_TYPE_INT, 44100, "channels", G_TYPE_INT, 2, nullptr);
    gst_app_src_set_caps(source, caps);
    gst_caps_unref(caps);
    g_object_set(element, "format", GST_FORMAT_TIME, nullptr);
    gst_app_src_set_stream_type(source, GST_APP_STREAM_TYPE_SEEKABLE);
    gst_app_src_set_duration(source, sectorTime(m_track.sectors));

    auto reader = std::make_shared<TrackReader>();
    reader->disc = m_disc;
    reader->track = m_track;
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = onNeedData;
    callbacks.seek_data = onSeekData;
    gst_app_src_set_callbacks(source, &callbacks, new std::shared_ptr<TrackReader>(reader), dropReader);

    gst_bin_add(bin, element);
    GstPad* pad = gst_element_get_static_pad(element, "src");
    bool linked = gst_pad_link(pad, entry) == GST_PAD_LINK_OK;
    gst_object_unref(pad);
    return linked;
}

} // namespace sound
