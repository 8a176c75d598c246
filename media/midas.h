// The module library's operations, by their published names, served by our
// own layer over the module decoder and the music bus. A module always
// plays at the mixer's rate.
#pragma once

#include <cstdint>
#include <string>

using MIDASmodule = std::uint32_t;           // 0: none
using MIDASmodulePlayHandle = std::uint32_t; // 0: none

// Fails when no module decoder is installed (the library is missing).
bool MIDASstartup();
// Fails when the sound output has no mixer to play into.
bool MIDASinit();
bool MIDASstartBackgroundPlay(int pollRate);
bool MIDASopenChannels(int channels);
bool MIDASallocAutoEffectChannels(int channels);
bool MIDASstopBackgroundPlay();
bool MIDASclose();

// Reads and checks a module file; 0 when it is missing or not a module.
MIDASmodule MIDASloadModule(const std::string& fileName);
bool MIDASfreeModule(MIDASmodule module);
// Plays a loaded module from its start, looping for ever when `loop`.
MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, bool loop);
bool MIDASstopModule(MIDASmodulePlayHandle handle);
// Volume 0 (silent) to 64 (as recorded).
bool MIDASsetMusicVolume(MIDASmodulePlayHandle handle, unsigned volume);
