// Temporary: lets the tree link until the library's sources land.
#include "platform/sound/SoundSystem.h"

namespace sound {
const char* ErrorString(int) { return "not built yet"; }
Result System_Create(System** system) { if (system) *system = nullptr; return ERR_INTERNAL; }
Result System::getVersion(unsigned*) { return ERR_INTERNAL; }
Result System::setOutput(int) { return ERR_INTERNAL; }
Result System::getOutput(int*) { return ERR_INTERNAL; }
Result System::init(int, unsigned, void*) { return ERR_INTERNAL; }
Result System::createStream(const char*, unsigned, void*, Sound**) { return ERR_INTERNAL; }
Result System::playSound(int, Sound*, bool, Channel**) { return ERR_INTERNAL; }
Result System::close() { return ERR_INTERNAL; }
Result System::release() { return ERR_INTERNAL; }
Result System::getNumCDROMDrives(int*) { return ERR_INTERNAL; }
Result System::getCDROMDriveName(int, char*, int, char*, int, char*, int) { return ERR_INTERNAL; }
Result Sound::getLength(unsigned*, unsigned) { return ERR_INTERNAL; }
Result Sound::getNumSubSounds(int*) { return ERR_INTERNAL; }
Result Sound::getSubSound(int, Sound**) { return ERR_INTERNAL; }
Result Sound::release() { return ERR_INTERNAL; }
Result Channel::isPlaying(bool*) { return ERR_INTERNAL; }
Result Channel::getPosition(unsigned*, unsigned) { return ERR_INTERNAL; }
Result Channel::setPosition(unsigned, unsigned) { return ERR_INTERNAL; }
Result Channel::setPaused(bool) { return ERR_INTERNAL; }
Result Channel::getPaused(bool*) { return ERR_INTERNAL; }
Result Channel::setMute(bool) { return ERR_INTERNAL; }
Result Channel::setVolume(float) { return ERR_INTERNAL; }
Result Channel::stop() { return ERR_INTERNAL; }
} // namespace sound
