// What an encoder thread reports while it converts, called on that thread in
// the order things happen. The encode window's implementation hands each call
// over to the GUI thread.
#pragma once

#include <wx/string.h>

namespace BrelkosPlayer {

class EncodeObserver {
public:
    virtual ~EncodeObserver() = default;
    // The gauge value, 0 to 100; only sent when it changes.
    virtual void EncodeProgress(int percent) = 0;
    // A text for the user's message box.
    virtual void EncodeMessage(const wxString& text) = 0;
    // The conversion is over; code is Encode's result, 0 for success.
    virtual void EncodeFinished(int code) = 0;
    // Asked between blocks: true ends the conversion as a failure.
    virtual bool StopRequested() { return false; }
};

} // namespace BrelkosPlayer
