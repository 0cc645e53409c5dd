#include "sound/Pipeline.h"

#include "sound/OutputSink.h"
#include "sound/PipelineSource.h"
#include "sound/PipelineState.h"
#include "sound/ServerLinger.h"

#include <chrono>

namespace sound {

namespace {

using std::chrono::milliseconds;

// Beyond its source's patience, the longest a preroll or a seek may take.
constexpr milliseconds kPrerollLimit(10000);
// Decoding what has been read takes milliseconds: after the whole source was
// read, a pause this long means a stuck pipeline.
constexpr milliseconds kIdleAfterEnd(1500);
// How long a finished or stopped sound-server stream stays connected: long
// enough for the next file's to start (making, prerolling and starting a
// pipeline takes 10-50 ms) or for a stop followed at once by a play.
constexpr milliseconds kServerLinger(1000);

using SharedState = std::shared_ptr<PipelineState>;

gpointer shareState(const SharedState& state)
{
    return new SharedState(state);
}

void dropState(gpointer data)
{
    delete static_cast<SharedState*>(data);
}

void dropStateClosure(gpointer data, GClosure*)
{
    dropState(data);
}

PipelineState& stateOf(gpointer data)
{
    return **static_cast<SharedState*>(data);
}

GstBusSyncReply onBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    stateOf(data).handleMessage(message);
    // A handler that drops a message owns it: kept, it would keep its source
    // element, and with it the whole pipeline, alive for ever.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

GstPadProbeReturn onAudio(GstPad*, GstPadProbeInfo*, gpointer data)
{
    stateOf(data).noteAudio();
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn onData(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    std::uint64_t readUpTo = 0;
    if (info->type & GST_PAD_PROBE_TYPE_BUFFER) {
        GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
        if (buffer && GST_BUFFER_OFFSET_IS_VALID(buffer))
            readUpTo = GST_BUFFER_OFFSET(buffer) + gst_buffer_get_size(buffer);
    }
    stateOf(data).noteProgress(readUpTo);
    return GST_PAD_PROBE_OK;
}

void onElementAdded(GstBin*, GstBin*, GstElement*, gpointer data)
{
    stateOf(data).noteProgress();
}

// Data leaving the source elements, pushed or pulled, counts as progress.
void watchSources(GstBin* bin, const SharedState& state)
{
    GstIterator* sources = gst_bin_iterate_sources(bin);
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(sources, &item) == GST_ITERATOR_OK) {
        GstElement* element = GST_ELEMENT(g_value_get_object(&item));
        GstIterator* pads = gst_element_iterate_src_pads(element);
        GValue padItem = G_VALUE_INIT;
        while (gst_iterator_next(pads, &padItem) == GST_ITERATOR_OK) {
            gst_pad_add_probe(GST_PAD(g_value_get_object(&padItem)),
                              GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                              GST_PAD_PROBE_TYPE_PUSH | GST_PAD_PROBE_TYPE_PULL),
                              onData, shareState(state), dropState);
            g_value_reset(&padItem);
        }
        g_value_unset(&padItem);
        gst_iterator_free(pads);
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(sources);
}

GstElement* make(const char* factory)
{
    return gst_element_factory_make(factory, nullptr);
}

} // namespace

Result Pipeline::create(PipelineSource& source, const OutputSink& output, std::unique_ptr<Pipeline>* pipeline)
{
    std::unique_ptr<Pipeline> result(new Pipeline);
    result->m_pipeline = gst_pipeline_new(nullptr);
    if (!result->m_pipeline)
        return ERR_INTERNAL;
    gst_object_ref_sink(result->m_pipeline);
    result->m_state = std::make_shared<PipelineState>(result->m_pipeline);
    const SharedState& state = result->m_state;

    GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(result->m_pipeline));
    gst_bus_set_sync_handler(bus, onBusMessage, shareState(state), dropState);
    gst_object_unref(bus);
    g_signal_connect_data(result->m_pipeline, "deep-element-added", G_CALLBACK(onElementAdded),
                          shareState(state), dropStateClosure, GConnectFlags(0));

    GstElement* convert = make("audioconvert");
    GstElement* resample = make("audioresample");
    GstElement* volume = make("volume");
    GstElement* sink = output.create();
    GstBin* bin = GST_BIN(result->m_pipeline);
    for (GstElement* element : {convert, resample, volume, sink}) {
        if (element)
            gst_bin_add(bin, element);
    }
    if (!convert || !resample || !volume)
        return ERR_PLUGIN_MISSING;
    if (!sink)
        return ERR_OUTPUT_INIT;
    if (!gst_element_link_many(convert, resample, volume, sink, nullptr))
        return ERR_INTERNAL;
    result->m_volume = volume;
    result->m_serverSink = output.factory() == "pulsesink" || output.factory() == "pipewiresink";

    GstPad* entry = gst_element_get_static_pad(convert, "sink");
    gst_pad_add_probe(entry, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      onAudio, shareState(state), dropState);
    bool attached = source.attach(bin, entry);
    gst_object_unref(entry);
    if (!attached)
        return ERR_PLUGIN_MISSING;
    watchSources(bin, state);
    result->m_patience = source.patience();
    result->m_sourceSize = source.size();
    *pipeline = std::move(result);
    return OK;
}

Pipeline::~Pipeline()
{
    if (!m_pipeline)
        return;
    // A stream that has played stays connected a moment (ServerLinger.h says
    // why). Stopped midway, it is paused first: nothing more may be heard.
    if (m_serverSink && m_played && m_state->error() == OK &&
        (m_state->endOfStream() ||
         gst_element_set_state(m_pipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE)) {
        ServerLinger::keep(m_pipeline, kServerLinger);
        return;
    }
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_pipeline);
}

Result Pipeline::waitAsyncDone(unsigned seen, Result onStall)
{
    const PipelineState::Patience patience{m_patience, kIdleAfterEnd, m_sourceSize,
                                           kPrerollLimit + m_patience};
    switch (m_state->waitAsyncDone(seen, patience)) {
    case PipelineState::Wait::Done:
    case PipelineState::Wait::Failed: return m_state->error();
    case PipelineState::Wait::Stalled:
    case PipelineState::Wait::TimedOut: break;
    }
    return onStall;
}

Result Pipeline::preroll()
{
    unsigned seen = m_state->asyncDoneCount();
    m_state->noteProgress();
    GstStateChangeReturn change = gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_FAILURE) {
        Result error = m_state->error();
        return error != OK ? error : ERR_INTERNAL;
    }
    if (change == GST_STATE_CHANGE_ASYNC) {
        Result result = waitAsyncDone(seen, ERR_FILE_BAD);
        if (result != OK) {
            // decodebin may swallow a demuxer's error: then nothing was said.
            if (m_state->error() == OK)
                m_ownReason = "The decoder stalled before any audio: the file is damaged or cut short.";
            return result;
        }
    }
    // Prerolled on an end of stream without a single buffer: nothing to play.
    if (m_state->gotAudio())
        return OK;
    m_ownReason = "The decoder reached the end of the file without any audio.";
    return ERR_FILE_BAD;
}

bool Pipeline::rewind()
{
    if (m_state->ended())
        return false;
    if (!m_touched)
        return true;
    // Paused, an end of stream can no longer be posted; the flush of the seek
    // then discards one that was already on its way.
    if (pause() != OK)
        return false;
    constexpr GstClockTime kPauseLimit = 2 * GST_SECOND;
    if (gst_element_get_state(m_pipeline, nullptr, nullptr, kPauseLimit) != GST_STATE_CHANGE_SUCCESS)
        return false;
    unsigned seen = m_state->asyncDoneCount();
    if (!seek(0) || waitAsyncDone(seen, ERR_INTERNAL) != OK)
        return false;
    m_state->clearEndOfStream();
    m_touched = false;
    m_lastPosition = 0;
    return true;
}

Result Pipeline::play()
{
    m_touched = true;
    m_played = true;
    if (gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        Result error = m_state->error();
        return error != OK ? error : ERR_INTERNAL;
    }
    return OK;
}

Result Pipeline::pause()
{
    if (gst_element_set_state(m_pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        Result error = m_state->error();
        return error != OK ? error : ERR_INTERNAL;
    }
    return OK;
}

bool Pipeline::seek(std::uint64_t positionNs)
{
    m_touched = true;
    m_state->beginSeek();
    m_lastPosition = positionNs;
    if (gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                static_cast<gint64>(positionNs)))
        return true;
    m_state->cancelSeek();
    return false;
}

std::uint64_t Pipeline::position()
{
    if (m_state->seeking())
        return m_lastPosition;
    gint64 position = -1;
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position >= 0)
        m_lastPosition = static_cast<std::uint64_t>(position);
    return m_lastPosition;
}

std::int64_t Pipeline::duration() const
{
    gint64 duration = -1;
    if (!gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &duration))
        return -1;
    return duration;
}

void Pipeline::setVolume(double volume)
{
    g_object_set(m_volume, "volume", volume, nullptr);
}

void Pipeline::setMute(bool mute)
{
    g_object_set(m_volume, "mute", mute ? TRUE : FALSE, nullptr);
}

void Pipeline::setEndListener(Channel::EndCallback listener, void* data)
{
    m_state->setEndListener(listener, data);
}

bool Pipeline::ended() const
{
    return m_state->ended();
}

bool Pipeline::endOfStream() const
{
    return m_state->endOfStream();
}

Result Pipeline::error() const
{
    return m_state->error();
}

std::string Pipeline::errorText() const
{
    return m_state->errorText();
}

std::string Pipeline::reason() const
{
    std::string words = m_state->reason();
    return words.empty() ? m_ownReason : words;
}

} // namespace sound
