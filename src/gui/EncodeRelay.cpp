#include "gui/EncodeRelay.h"

namespace BrelkosPlayer {

EncodeRelay::EncodeRelay(wxEvtHandler* target) : m_target(target) {}

void EncodeRelay::EncodeProgress(int percent) { _post(ID_ENCODE_PROGRESS, percent, wxEmptyString); }

void EncodeRelay::EncodeMessage(const wxString& text) { _post(ID_ENCODE_MESSAGE, 0, text); }

void EncodeRelay::EncodeFinished(int code) { _post(ID_ENCODE_FINISHED, code, wxEmptyString); }

void EncodeRelay::Detach()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_target = nullptr;
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
