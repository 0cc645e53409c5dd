// Carries an encoder thread's reports to the encode window as thread events,
// all through the window's one event queue so they arrive in the order they
// were sent. Shared by the window and its threads: a thread may outlive the
// window, so the window detaches itself and later reports are dropped.
#pragma once

#include <mutex>
#include <wx/event.h>

#include "other/EncodeObserver.h"

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

    // GUI thread, from the target's destructor.
    void Detach();

private:
    void _post(int id, int value, const wxString& text);

    std::mutex m_mutex;
    wxEvtHandler* m_target;
};

} // namespace BrelkosPlayer
