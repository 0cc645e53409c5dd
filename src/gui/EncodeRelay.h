// Carries an encoder thread's reports to the encode window as thread events,
// all through the window's one event queue so they arrive in the order they
// were sent. Shared by the window and its threads. The window goes only when
// the program ends: it detaches itself, which asks running conversions to
// stop (each removes its unfinished MP3), and waits a while for them.
#pragma once

#include <condition_variable>
#include <mutex>
#include <wx/event.h>

#include "encoding/EncodeObserver.h"

namespace BrelkosPlayer {

class EncodeRelay : public EncodeObserver {
public:
    // Ids of the thread events the target receives (wxEVT_THREAD).
    enum EventIds { ID_ENCODE_PROGRESS = 100, ID_ENCODE_MESSAGE = 101, ID_ENCODE_FINISHED = 102 };

    explicit EncodeRelay(wxEvtHandler* target);

    // Any thread.
    void EncodeProgress(int percent) override;
    void EncodeMessage(const wxString& text) override;
    void EncodeFinished(int code) override;
    bool StopRequested() override;

    // GUI thread: a conversion reporting here has been started.
    void ConversionStarted();
    // GUI thread, from the target's destructor: drops later reports, asks the
    // running conversions to stop and waits up to timeoutMs for their end.
    // Returns true when none is left running.
    bool Detach(int timeoutMs);

private:
    void _post(int id, int value, const wxString& text);

    std::mutex m_mutex;
    std::condition_variable m_ended;
    wxEvtHandler* m_target;
    bool m_stopping = false;
    int m_running = 0;
};

} // namespace BrelkosPlayer
