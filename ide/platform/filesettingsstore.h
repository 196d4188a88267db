// A SettingsStore kept in one text file in the registry export format
// ("REGEDIT4", "[HKEY_CURRENT_USER\...]" sections, "name"="text",
// dword:, hex(n):). Each session, from the first key opened to the last
// one closed, re-reads the file under an advisory lock and, when something
// changed, writes it back atomically (temporary file, fsync, rename).
// Keys of one store opened at the same time share one session. Two stores
// of the same file must not hold keys open at the same time in one thread:
// the second waits for the first one's lock.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "settingsstore.h"

class FileSettingsStore : public SettingsStore {
  public:
    // The store kept in `file`; its folder is created (0700) when missing.
    explicit FileSettingsStore(std::string file);
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

    void beginSession();
    bool endSession();

    std::string file_;
    std::unique_ptr<Session> session_;  // while a key is open
    std::size_t openKeys_ = 0;
};
