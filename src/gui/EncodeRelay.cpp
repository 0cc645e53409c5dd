#include "gui/EncodeRelay.h"

#include <chrono>

namespace BrelkosPlayer {

EncodeRelay::EncodeRelay(wxEvtHandler* target) : m_target(target) {}

void EncodeRelay::EncodeProgress(int percent)
{
    _post(ID_ENCODE_PROGRESS, percent, wxEmptyString);
}

void EncodeRelay::EncodeMessage(const wxString& text)
{
    _post(ID_ENCODE_MESSAGE, 0, text);
}

void EncodeRelay::EncodeFinished(int code)
{
    _post(ID_ENCODE_FINISHED, code, wxEmptyString);
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_running;
    m_ended.notify_all();
}

bool EncodeRelay::StopRequested()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stopping;
}

void EncodeRelay::ConversionStarted()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_running;
}

bool EncodeRelay::Detach(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_target = nullptr;
    m_stopping = true;
    // A conversion may finish before its start is counted: at most zero left.
    return m_ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_running <= 0; });
}

void EncodeRelay::_post(int id, int value, const wxString& text)
{
    auto* event = new wxThreadEvent(wxEVT_THREAD, id);
    event->SetInt(value);
    // A deep copy: no string buffer may be shared between threads.
    event->SetString(text.Clone());
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_target)
        wxQueueEvent(m_target, event);
    else
        delete event;
}

} // namespace BrelkosPlayer
