#include "playback/Player.h"

#include <atomic>

namespace BrelkosPlayer {

namespace {
// One sequence for every kind of player, so no two players share a serial.
std::atomic<unsigned long> s_nextSerial{1};
} // namespace

Player::Player() : m_serial(s_nextSerial++) {}

} // namespace BrelkosPlayer
