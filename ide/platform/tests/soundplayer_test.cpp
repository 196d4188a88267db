// The system's sound player must never hold the IDE: without a sound server,
// device or theme entry every play returns within a bounded time.
#include <gtest/gtest.h>

#include <chrono>

#include "soundplayer.h"

namespace {

TEST(SoundPlayerSystem, PlayingReturnsPromptly) {
    using Clock = std::chrono::steady_clock;
    const auto begin = Clock::now();
    {
        auto player = CreateSystemSoundPlayer();
        ASSERT_NE(player, nullptr);
        player->play("Open", SoundFallback::None, SoundWait::No);
        player->play("BuildComplete", SoundFallback::SystemDefault, SoundWait::No);
        player->play("BuildError", SoundFallback::SystemDefault, SoundWait::UntilEnd);
        player->play("Close", SoundFallback::None, SoundWait::UntilEnd);
    }  // destroying the player stops what still plays
    // Two waited plays may each take the full bound of a few seconds.
    EXPECT_LT(Clock::now() - begin, std::chrono::seconds(10));
}

}  // namespace
