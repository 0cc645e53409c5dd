// Pipelines whose sound-server stream has played to its end or was stopped
// (paused), kept connected a moment before they are torn down. PulseAudio's
// timer-driven sinks (the null sink among them) wake up as seldom as every
// 2 s while no stream is connected; a new stream then waits for the next
// wake-up, over a second, before its first sample plays. While the finished
// stream stays connected, the sink keeps the short wake-ups it asked for and
// the next file's stream starts at once.
#pragma once

#include <gst/gst.h>

#include <chrono>

namespace sound {

namespace ServerLinger {

// Takes over a pipeline (one reference) that will play nothing more (drained
// or paused); it goes to NULL and is released after `time`, on a thread of its
// own, or when the program exits.
void keep(GstElement* pipeline, std::chrono::milliseconds time);

// How many pipelines are waiting now.
int waiting();

} // namespace ServerLinger

} // namespace sound
