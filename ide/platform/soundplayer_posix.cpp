// Named sound events through libcanberra: the event name is the event id of
// the user's sound theme. Without a sound server or device it stays silent.
#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

#include "soundplayer.h"

namespace {

// A waited sound never holds the window longer than this.
constexpr std::chrono::seconds kMaxWait{3};

class CanberraSoundPlayer : public SoundPlayer {
  public:
    CanberraSoundPlayer() {
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return;
        }
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Vantor", nullptr);
    }

    ~CanberraSoundPlayer() override {
        // Stops what still plays and returns once no callback can run.
        if (context_ != nullptr) ca_context_destroy(context_);
    }

    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void play(const std::string& event, SoundFallback fallback, SoundWait wait) override {
        if (context_ == nullptr) return;
        const bool waited = wait == SoundWait::UntilEnd;
        const int result = start(event, waited);
        // The theme has no such sound: only a fallback plays the theme's bell.
        if (result == CA_ERROR_NOTFOUND && fallback == SoundFallback::SystemDefault) {
            start("bell", waited);
        }
    }

  private:
    // Plays one event id; when waited, returns after the end or kMaxWait.
    int start(const std::string& eventId, bool waited) {
        ca_proplist* props = nullptr;
        if (ca_proplist_create(&props) != CA_SUCCESS) return CA_ERROR_OOM;
        ca_proplist_sets(props, CA_PROP_EVENT_ID, eventId.c_str());
        const std::uint32_t id = nextId_++;
        const int result =
            ca_context_play_full(context_, id, props, waited ? &finished : nullptr, this);
        ca_proplist_destroy(props);
        if (result == CA_SUCCESS && waited) waitFor(id);
        return result;
    }

    void waitFor(std::uint32_t id) {
        std::unique_lock lock(mutex_);
        const bool ended =
            ended_.wait_for(lock, kMaxWait, [&] { return endedIds_.count(id) != 0; });
        endedIds_.erase(id);
        if (!ended) {
            lock.unlock();
            ca_context_cancel(context_, id);
        }
    }

    // Called on libcanberra's own thread when a waited sound ends or fails.
    static void finished(ca_context*, std::uint32_t id, int, void* userdata) {
        auto* self = static_cast<CanberraSoundPlayer*>(userdata);
        {
            std::lock_guard lock(self->mutex_);
            self->endedIds_.insert(id);
        }
        self->ended_.notify_all();
    }

    ca_context* context_ = nullptr;
    std::uint32_t nextId_ = 1;
    std::mutex mutex_;
    std::condition_variable ended_;
    std::set<std::uint32_t> endedIds_;
};

}  // namespace

std::unique_ptr<SoundPlayer> CreateSystemSoundPlayer() {
    return std::make_unique<CanberraSoundPlayer>();
}
