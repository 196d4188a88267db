// Which entries of a folder were opened while the watch was on, by this
// process or any other (inotify, Linux only): tests that must show that a
// FIFO or other special file was looked at but never opened.
#pragma once

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

class OpenWatch {
  public:
    explicit OpenWatch(const std::filesystem::path& folder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ < 0 || inotify_add_watch(fd_, folder.c_str(), IN_OPEN) < 0)
            throw std::runtime_error("cannot watch " + folder.string());
    }
    ~OpenWatch() { close(fd_); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    // The names opened since the last call (events are queued at the open).
    std::set<std::string> opened() {
        std::set<std::string> names;
        alignas(inotify_event) char buffer[16384];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0) names.insert(event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return names;
    }

  private:
    int fd_;
};
#endif
