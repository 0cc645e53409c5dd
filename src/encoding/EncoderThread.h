// Converts one WAV file into one MP3 file on a detached worker thread: reads
// the WAV header, configures the encoder from a copy of the options, feeds the
// samples block by block and writes the MP3, reporting progress, messages and
// the end to an observer. A conversion that fails leaves no MP3 behind, and
// an earlier file of the MP3's name as it was.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <wx/string.h>
#include <wx/thread.h>

#include "encoding/EncodingOptions.h"
#include "files/ReplacementFile.h"
#include "lame/BladeEncoder.h"

namespace BrelkosPlayer {

class EncodeObserver;

class EncoderThread : public wxThread {
public:
    enum Result {
        EncodeOk = 0,
        EncodeVoidNames = 1,
        EncodeCannotOpenWav = 2,
        EncodeInvalidWav = 3,
        EncodeCompressedWav = 4,
        EncodeBadSampleRate = 5,
        EncodeInitFailed = 6,
        EncodeChunkFailed = 7,
        EncodeUnsupportedSamples = 8,
        EncodeSameFile = 9,
        EncodeWriteFailed = 10,
        EncodeCancelled = 11,
    };

    // On the GUI thread. The options are copied here: the dialog may change
    // the window's record while this conversion runs.
    EncoderThread(const EncodingOptions* options, const wxString& wavPath, const wxString& mp3Path,
                  std::shared_ptr<EncodeObserver> observer);
    ~EncoderThread() override;

    // The conversion; runs on this thread (it polls TestDestroy()).
    int Encode();

    // The encoder configuration for the options and a WAV sample rate.
    static void BuildConfig(const EncodingOptions& options, std::uint32_t sampleRate, BE_CONFIG& config);
    // True when both paths name one file (same path, or same file on disk).
    static bool SameFile(const wxString& first, const wxString& second);

protected:
    ExitCode Entry() override;

private:
    void _message(const wxString& text);
    void _progress(std::uint32_t done, std::uint32_t total);
    void _logAdjustments(const BE_CONFIG& asked, const BE_CONFIG& used);
    // Opens the file the MP3 is written to: a new file beside the target,
    // renamed over it by _finishMp3, or a device or pipe itself.
    std::FILE* _createMp3();
    // Closes mp3 and puts it in place; false (errno set) when that failed.
    bool _finishMp3(std::FILE* mp3);
    // Closes mp3 when given, removes the unfinished MP3, shows text when any.
    int _fail(int code, const wxString& text, std::FILE* mp3);

    wxString m_wavPath;
    wxString m_mp3Path;
    EncodingOptions m_options;
    std::shared_ptr<EncodeObserver> m_observer;
    int m_lastProgress = -1;
    ReplacementFile m_replacement; // the MP3 while it is written beside its target
};

} // namespace BrelkosPlayer
