// Named application sound events ("Open", "Close", "BuildComplete", ...):
// the user assigns the actual sounds in the desktop's sound settings.
#pragma once

#include <memory>
#include <string>

enum class SoundFallback {
    None,           // silent when the user's sound theme has no such event
    SystemDefault,  // then the system's default sound
};

enum class SoundWait {
    No,        // returns at once, the sound plays on
    UntilEnd,  // returns when the sound has ended (bounded, never a hang)
};

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& event, SoundFallback fallback, SoundWait wait) = 0;
};

// The system's player: the desktop's sound theme through libcanberra here,
// the application sound events on Windows. Never blocks for long: without a
// sound server or device it stays silent.
std::unique_ptr<SoundPlayer> CreateSystemSoundPlayer();
