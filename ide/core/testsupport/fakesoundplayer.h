// A SoundPlayer that only records which events were asked for, for tests.
#pragma once

#include <string>
#include <vector>

#include "soundplayer.h"

class FakeSoundPlayer : public SoundPlayer {
  public:
    struct Play {
        std::string event;
        SoundFallback fallback;
        SoundWait wait;
    };

    void play(const std::string& event, SoundFallback fallback, SoundWait wait) override {
        plays.push_back({event, fallback, wait});
    }

    std::vector<Play> plays;
};
