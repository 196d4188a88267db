// Named sound events as Windows application sound events: the user assigns
// the sounds in the system's sound settings. Needs winmm.
#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>

#include "soundplayer.h"

namespace {

class WindowsSoundPlayer : public SoundPlayer {
  public:
    void play(const std::string& event, SoundFallback fallback, SoundWait wait) override {
        DWORD flags = SND_APPLICATION;
        if (fallback == SoundFallback::None) flags |= SND_NODEFAULT;
        flags |= wait == SoundWait::No ? SND_ASYNC : SND_SYNC;
        PlaySoundA(event.c_str(), nullptr, flags);
    }
};

}  // namespace

std::unique_ptr<SoundPlayer> CreateSystemSoundPlayer() {
    return std::make_unique<WindowsSoundPlayer>();
}
