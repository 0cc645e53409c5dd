// Our sound library: the object interface the players call (System, Sound,
// Channel), built on GStreamer for playback and decoding and on libcdio for
// audio CDs. Every call returns a Result, 0 for success. All objects are
// thread-safe: a player thread polls a channel while the GUI thread commands it.
// Nothing here knows about wxWidgets.
#pragma once

namespace sound {

enum Result : int {
    OK = 0,
    ERR_INVALID_PARAM,        // a null pointer or a value out of range
    ERR_INVALID_HANDLE,       // the object was released or its channel has ended
    ERR_UNINITIALIZED,        // the system was not initialised
    ERR_INITIALIZED,          // the system was already initialised
    ERR_OUTPUT_NOT_SUPPORTED, // output type of another platform
    ERR_OUTPUT_INIT,          // no device of that output type could be opened
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
    // Only the last setOutput before init counts. Autodetect opens the first
    // real device sink that reaches READY; No sound plays in real time into a
    // null sink; the other platforms' types fail with ERR_OUTPUT_NOT_SUPPORTED.
    Result setOutput(int outputType);
    Result getOutput(int* outputType);
    Result init(int maxChannels, unsigned flags, void* extraDriverData);
    // A file path (UTF-8) or a CD drive name as getCDROMDriveName reports it.
    // A file is checked and its length known when this returns; a drive gives
    // one stream whose sub-sounds are its audio tracks.
    Result createStream(const char* nameOrPath, unsigned mode, void* exinfo, Sound** sound);
    // A stream plays on one channel at a time: playing it again ends the
    // channel it had, whose handle then answers ERR_INVALID_HANDLE.
    Result playSound(int channelIndex, Sound* sound, bool paused, Channel** channel);
    Result close();
    // Frees the system with every sound and channel it made.
    Result release();
    Result getNumCDROMDrives(int* count);
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

class Sound {
public:
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

class Channel {
public:
    Result isPlaying(bool* playing);
    Result getPosition(unsigned* position, unsigned timeUnit);
    Result setPosition(unsigned position, unsigned timeUnit);
    Result setPaused(bool paused);
    Result getPaused(bool* paused);
    Result setMute(bool mute);
    Result setVolume(float volume); // 0.0 silent to 1.0 full
    Result stop();

    struct Impl;
    explicit Channel(Impl* impl) : m_impl(impl) {}
    Impl* impl() { return m_impl; }

private:
    Impl* m_impl;
};

} // namespace sound
