// Sound library figures: time from opening a file to the first position
// advance (cold and warm, per format, also the players' load-then-play
// sequence), the CPU used while playing, and whether mp3 needed gst-libav.
// Uses the "No sound" output, which plays in real time.
#include "sound/SoundSystem.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string media(const char* name)
{
    return std::string(BRELKOS_TEST_DATA) + "/" + name;
}

bool libavLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("libgstlibav") != std::string::npos)
            return true;
    }
    return false;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Start {
    double open = -1, play = -1, advance = -1; // ms from the start of createStream
};

// createStream, then playSound (after a paused one when `loadFirst`, as the
// audio player's Load and Play do), then the first position above 0.
Start start(sound::System* system, const char* file, bool loadFirst, sound::Channel** out = nullptr)
{
    Start result;
    const auto t0 = Clock::now();
    sound::Sound* sound = nullptr;
    if (system->createStream(media(file).c_str(), 0, nullptr, &sound) != sound::OK)
        return result;
    result.open = msSince(t0);
    sound::Channel* channel = nullptr;
    if (loadFirst)
        system->playSound(sound::CHANNEL_FREE, sound, true, &channel);
    if (system->playSound(sound::CHANNEL_FREE, sound, false, &channel) != sound::OK)
        return result;
    result.play = msSince(t0);
    unsigned position = 0;
    while (position == 0 && msSince(t0) < 2000) {
        channel->getPosition(&position, sound::TIMEUNIT_MS);
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    result.advance = position > 0 ? msSince(t0) : -1;
    if (out)
        *out = channel;
    else
        sound->release();
    return result;
}

void print(const char* label, const Start& s)
{
    std::printf("  %-34s open %6.1f ms   playing %6.1f ms   first advance %6.1f ms\n", label, s.open, s.play,
                s.advance);
}

} // namespace

int main()
{
    sound::System* system = nullptr;
    sound::System_Create(&system);
    system->setOutput(sound::OUTPUTTYPE_NOSOUND);
    if (system->init(4095, 0, nullptr) != sound::OK) {
        std::puts("init failed");
        return 1;
    }
    const char* files[] = {"tone.mp3", "tone.wav", "tone.ogg", "tone.wma", "tone.ac3"};

    std::puts("From createStream to the first position advance (target: 100 ms, first mp3 200 ms)");
    print("first mp3 in the process", start(system, "tone.mp3", false));
    std::printf("  gst-libav loaded for mp3: %s\n", libavLoaded() ? "yes" : "no");
    for (const char* file : files) {
        std::vector<Start> runs;
        for (int i = 0; i < 7; ++i)
            runs.push_back(start(system, file, false));
        std::sort(runs.begin(), runs.end(),
                  [](const Start& a, const Start& b) { return a.advance < b.advance; });
        print((std::string(file) + " (median of 7)").c_str(), runs[runs.size() / 2]);
    }
    print("tone.mp3, Load then Play", start(system, "tone.mp3", true));

    std::puts("CPU while playing to the end (one 2 s file at a time)");
    for (const char* file : files) {
        sound::Channel* channel = nullptr;
        start(system, file, false, &channel);
        const double cpu0 = cpuSeconds();
        const auto t0 = Clock::now();
        bool playing = channel != nullptr;
        while (playing) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10)); // the player's polling pace
            channel->isPlaying(&playing);
            unsigned position = 0;
            channel->getPosition(&position, sound::TIMEUNIT_MS);
        }
        const double wall = msSince(t0) / 1000.0;
        std::printf("  %-10s %5.1f %% of a core over %.2f s\n", file, 100.0 * (cpuSeconds() - cpu0) / wall,
                    wall);
    }
    system->release();
    return 0;
}
