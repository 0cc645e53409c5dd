// Our sound library: the object interface the players call (System, Sound,
// Channel), built on GStreamer for playback and decoding and on libcdio for
// audio CDs. Every call returns a Result, 0 for success. All objects are
// thread-safe: a player thread polls a channel while the GUI thread commands it.
// Sounds and channels belong to the System that made them: after
// System::release no handle of it may be used, and release must not race with
// calls on them. Nothing here knows about wxWidgets.
#pragma once

namespace sound {

enum Result : int {
    OK = 0,
    ERR_INVALID_PARAM,        // a null pointer or a value out of range
    ERR_INVALID_HANDLE,       // the object was released or its channel has ended
    ERR_UNINITIALIZED,        // the system was not initialised
    ERR_INITIALIZED,          // the system was already initialised
    ERR_OUTPUT_NOT_SUPPORTED, // output type of another platform
    ERR_OUTPUT_INIT,          // no device of that output type could be opened, or it failed while playing
    ERR_FILE_NOTFOUND,        // no such file
    ERR_FILE_BAD,             // the file is empty, truncated or unreadable
    ERR_FORMAT,               // not a format we can decode
    ERR_PLUGIN_MISSING,       // a GStreamer element we need is not installed
    ERR_CDROM_NODISC,         // no disc in the drive, or no audio track on it
    ERR_CDROM_ERROR,          // the drive or disc image could not be read
    ERR_SUBSOUNDS,            // sub-sound index out of range, or the sound has none
    ERR_INTERNAL,             // a GStreamer or libcdio call failed unexpectedly
    RESULT_COUNT
};

// English text of a result code; never null, also for unknown codes.
const char* ErrorString(int result);

// Output types by the numbers the player's output search uses.
enum OutputType : int {
    OUTPUTTYPE_AUTODETECT = 0,
    OUTPUTTYPE_UNKNOWN = 1,
    OUTPUTTYPE_NOSOUND = 2,
    OUTPUTTYPE_WAVWRITER = 3,
    OUTPUTTYPE_NOSOUND_NRT = 4,
    OUTPUTTYPE_WAVWRITER_NRT = 5,
    OUTPUTTYPE_DSOUND = 6,
    OUTPUTTYPE_WINMM = 7,
    OUTPUTTYPE_ASIO = 8,
    OUTPUTTYPE_OSS = 9,
    OUTPUTTYPE_ALSA = 10,
};

enum TimeUnit : unsigned { TIMEUNIT_MS = 1 };

constexpr unsigned VERSION = 0x00040623;
constexpr int CHANNEL_FREE = -1;
constexpr int MAX_DRIVE_NAME = 256;

class Sound;
class Channel;
class System;

Result System_Create(System** system);

class System {
public:
    Result getVersion(unsigned* version);
    // Only the last setOutput before init counts (0 to 20; ERR_INITIALIZED
    // once initialised). Autodetect opens the first real device sink that
    // reaches READY (PipeWire, PulseAudio, ALSA); No sound plays in real time
    // into a null sink, its non-real-time twin as fast as it decodes; ALSA and
    // OSS open that device. Every other type fails with ERR_OUTPUT_NOT_SUPPORTED.
    // A failed init leaves the system ready for another setOutput and init.
    Result setOutput(int outputType);
    Result getOutput(int* outputType);
    // maxChannels must be 1 to 4095 (it is not a limit); flags and the driver
    // data are not used.
    Result init(int maxChannels, unsigned flags, void* extraDriverData);
    // A file path (UTF-8) or a CD drive name as getCDROMDriveName reports it
    // (either case). A file is checked and its length known when this returns:
    // ERR_FILE_NOTFOUND, ERR_FILE_BAD (empty, truncated, unreadable, a folder),
    // ERR_FORMAT (no audio in it) or ERR_PLUGIN_MISSING. A drive gives one
    // stream whose sub-sounds are its audio tracks (data tracks are left out);
    // ERR_CDROM_NODISC for an empty drive, a missing image or a disc without
    // audio, ERR_CDROM_ERROR for a drive or image that cannot be read or a
    // drive name that names no drive. mode and exinfo are not used.
    Result createStream(const char* nameOrPath, unsigned mode, void* exinfo, Sound** sound);
    // Why the last createStream or playSound of this system failed, in the
    // decoder's own words (GStreamer's message, "missing plug-in: ..." when a
    // decoder is not installed, the system's text for a file it cannot open),
    // cut to textLength. Empty after a success or when nothing was said.
    Result getLastErrorReason(char* text, int textLength);
    // Only CHANNEL_FREE. A stream plays on one channel at a time: playing it
    // again ends the channel it had, whose handle then answers
    // ERR_INVALID_HANDLE. A new channel starts at full volume, not muted. A
    // disc stream does not play (ERR_INVALID_PARAM): its tracks do.
    Result playSound(int channelIndex, Sound* sound, bool paused, Channel** channel);
    // Ends every sound and channel of the system (their handles then answer
    // ERR_INVALID_HANDLE) and returns it to the uninitialised state.
    Result close();
    // Frees the system with every sound and channel it made.
    Result release();
    // Drives work without init: libcdio's drives, then the disc images listed
    // in the environment variable BRELKOS_CD_IMAGES (colon-separated), named
    // "D:", "E:", ... in that order.
    Result getNumCDROMDrives(int* count);
    // name is required; scsiName gets the drive's vendor and model ("Disc
    // image" for an image), deviceName its device node or image path. Texts
    // longer than a buffer are cut.
    Result getCDROMDriveName(int index, char* name, int nameLength, char* scsiName, int scsiNameLength,
                             char* deviceName, int deviceNameLength);

    struct Impl;
    Impl* impl() { return m_impl; }

private:
    System();
    ~System();
    System(const System&) = delete;
    System& operator=(const System&) = delete;
    friend Result System_Create(System** system);
    Impl* m_impl;
};

// After release a sound (and, for a disc, each of its tracks) answers
// ERR_INVALID_HANDLE and its channel has stopped.
class Sound {
public:
    // Milliseconds; 0 when GStreamer cannot tell. A disc: all its audio tracks.
    Result getLength(unsigned* length, unsigned timeUnit);
    Result getNumSubSounds(int* count);
    Result getSubSound(int index, Sound** subSound);
    Result release();

    struct Impl;
    explicit Sound(Impl* impl) : m_impl(impl) {}
    Impl* impl() { return m_impl; }

private:
    Impl* m_impl;
};

// A channel plays until the end of its medium, a stream error (a CD read
// error, the output's sound server gone, say), stop, its sound playing again,
// or the release of its sound or system. After a natural end (the medium or an
// error) isPlaying gives false, getPosition the last position (the length after
// the medium's end), getError, getPaused and stop still answer OK; every other
// call answers ERR_INVALID_HANDLE. Once stopped in any other way, every call
// answers ERR_INVALID_HANDLE (isPlaying still sets false). A paused channel is
// playing.
class Channel {
public:
    Result isPlaying(bool* playing);
    // Known at once after setPosition, even while GStreamer is still seeking.
    Result getPosition(unsigned* position, unsigned timeUnit);
    // Beyond the length: the length, so the channel ends.
    Result setPosition(unsigned position, unsigned timeUnit);
    Result setPaused(bool paused);
    Result getPaused(bool* paused);
    // The stream error that ended the channel, if one did: its result code and
    // GStreamer's words for it (the element of the pipeline that failed, its
    // message and detail), cut to textLength. OK and an empty text otherwise.
    // text may be null.
    Result getError(Result* error, char* text, int textLength);
    // The same error in the decoder's own words alone, as getLastErrorReason
    // gives them; empty without an error.
    Result getErrorReason(char* text, int textLength);
    Result setMute(bool mute);
    Result setVolume(float volume); // 0.0 silent to 1.0 full; clamped to that range
    Result stop();
    // Calls notify(data) when the channel ends by itself (the medium's end or
    // a stream error), on a GStreamer thread, or at once on this thread when
    // it already has. Replaces the previous notice; a null notify removes it.
    // Once stop, a new channel for its sound or the release of its sound or
    // system has returned, notify no longer runs. notify must not call the
    // channel. Answers like stop.
    using EndCallback = void (*)(void* data);
    Result setEndCallback(EndCallback notify, void* data);

    struct Impl;
    explicit Channel(Impl* impl) : m_impl(impl) {}
    Impl* impl() { return m_impl; }

private:
    Impl* m_impl;
};

} // namespace sound
