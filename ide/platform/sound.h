// The system's player of named sound events: the desktop's sound theme
// through libcanberra here, the application sound events on Windows.
#pragma once

#include <memory>

#include "sounds.h"

// Never blocks for long: without a sound server or device it stays silent.
std::unique_ptr<SoundPlayer> CreateSystemSoundPlayer();
