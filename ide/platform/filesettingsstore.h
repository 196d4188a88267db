// A SettingsStore kept in one text file in the registry export format
// ("REGEDIT4", "[HKEY_CURRENT_USER\...]" sections, "name"="text",
// dword:, hex(n):). Each session, from the first key opened to the last
// one closed, re-reads the file under an advisory lock and, when something
// changed, writes it back atomically (temporary file, fsync, rename).
// Keys of one store opened at the same time share one session. Two stores
// of the same file must not hold keys open at the same time in one thread:
// the second waits for the first one's lock, and gives up after lockWait.
//
// The file is read only when it is a regular file, never through a
// symbolic link and never blocking on a FIFO or a device; anything else
// counts as damaged and is set aside when the file is next written.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "settingsstore.h"

class FileSettingsStore : public SettingsStore {
  public:
    static constexpr std::chrono::milliseconds kLockWait{10000};

    // The store kept in `file`; its folder is created (0700) when missing.
    // When another process holds the file's lock for longer than lockWait,
    // the session is given up: no key opens, nothing is written, and
    // `unavailable` is called once for it.
    explicit FileSettingsStore(std::string file, std::chrono::milliseconds lockWait = kLockWait,
                               std::function<void()> unavailable = {});
    ~FileSettingsStore() override;

    // "$XDG_CONFIG_HOME/vantor/settings.reg", XDG_CONFIG_HOME defaulting to
    // "~/.config" (a relative XDG_CONFIG_HOME is ignored).
    static std::string userFile();

    const std::string& file() const { return file_; }

    // Keys opened here must be closed before the store is destroyed.
    std::unique_ptr<SettingsKey> openKey(const std::string& path, bool create) override;

  private:
    class Key;
    struct Session;

    bool beginSession();
    bool endSession();

    std::string file_;
    std::chrono::milliseconds lockWait_;
    std::function<void()> unavailable_;
    std::unique_ptr<Session> session_;  // while a key is open
    std::size_t openKeys_ = 0;
};
