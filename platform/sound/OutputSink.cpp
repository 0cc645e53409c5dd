#include "sound/OutputSink.h"

#include <initializer_list>

namespace sound {

namespace {

// True when a sink of that factory reaches READY, i.e. its device opened.
bool opens(const char* factory)
{
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (!element)
        return false;
    gst_object_ref_sink(element);
    bool ok = gst_element_set_state(element, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
    gst_element_set_state(element, GST_STATE_NULL);
    gst_object_unref(element);
    return ok;
}

Result firstThatOpens(std::initializer_list<const char*> factories, std::string* chosen)
{
    for (const char* factory : factories) {
        if (opens(factory)) {
            *chosen = factory;
            return OK;
        }
    }
    return ERR_OUTPUT_INIT;
}

} // namespace

Result OutputSink::open(int outputType, OutputSink* sink)
{
    OutputSink result;
    Result code = OK;
    switch (outputType) {
    case OUTPUTTYPE_AUTODETECT:
        // Never autoaudiosink: without a device it quietly falls back to a
        // fake sink, and the caller would believe that sound plays.
        code = firstThatOpens({"pipewiresink", "pulsesink", "alsasink"}, &result.m_factory);
        break;
    case OUTPUTTYPE_ALSA: code = firstThatOpens({"alsasink"}, &result.m_factory); break;
    case OUTPUTTYPE_OSS: code = firstThatOpens({"osssink"}, &result.m_factory); break;
    case OUTPUTTYPE_NOSOUND:
    case OUTPUTTYPE_NOSOUND_NRT:
        result.m_factory = "fakesink";
        result.m_sync = outputType == OUTPUTTYPE_NOSOUND; // real time, or as fast as it decodes
        if (!opens("fakesink"))
            code = ERR_PLUGIN_MISSING;
        break;
    default: code = ERR_OUTPUT_NOT_SUPPORTED; break;
    }
    if (code == OK)
        *sink = result;
    return code;
}

GstElement* OutputSink::create() const
{
    if (m_factory.empty())
        return nullptr;
    GstElement* element = gst_element_factory_make(m_factory.c_str(), nullptr);
    if (element && m_factory == "fakesink")
        g_object_set(element, "sync", m_sync ? TRUE : FALSE, nullptr);
    return element;
}

} // namespace sound
