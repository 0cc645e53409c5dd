// Support for the encoder tests that run without windows: a recording
// observer, a conversion run on the real thread, the log and a temp folder.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include <wx/string.h>

#include "encoding/EncodeObserver.h"
#include "encoding/EncodingOptions.h"

namespace encode_test {

class RecordingObserver : public BrelkosPlayer::EncodeObserver {
public:
    void EncodeProgress(int percent) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress.push_back(percent);
    }
    void EncodeMessage(const wxString& text) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(std::string(text.utf8_str()));
    }
    void EncodeFinished(int code) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_code = code;
        m_finished = true;
        m_done.notify_all();
    }
    bool WaitFinished(int timeoutMs)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_finished; });
    }
    int Code()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_code;
    }
    std::vector<int> Progress()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_progress;
    }
    std::vector<std::string> Messages()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::vector<int> m_progress;
    std::vector<std::string> m_messages;
    int m_code = -1;
    bool m_finished = false;
};

struct Conversion {
    bool finished = false;
    int code = -1;
    std::vector<int> progress;
    std::vector<std::string> messages;
    std::string log; // the log lines written during the run
};

// Converts on a real encoder thread and waits for its end (deadline 60 s).
Conversion Convert(const BrelkosPlayer::EncodingOptions& options, const std::string& wavPath,
                   const std::string& mp3Path);
// A fresh folder under the test run's temp folder.
std::string TempFolder();
// The whole log file of the test run.
std::string ReadLog();
bool FileExists(const std::string& path);

} // namespace encode_test
