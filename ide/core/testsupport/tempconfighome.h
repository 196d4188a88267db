// A settings home of its own for one test, so the user's settings are never
// read or touched: on POSIX systems a fresh temporary folder set as
// XDG_CONFIG_HOME, where the settings file lands; on Windows a fresh
// registry key that stands in for HKEY_CURRENT_USER within this process.
// Removed again afterwards.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "environment.h"
#include "tempfolder.h"

#ifdef _WIN32
// The test's key lies below this one, which is removed with the last test key.
inline constexpr const char* kTestRegistryParent = "Software\\VantorTests";

class TempConfigHome {
  public:
    TempConfigHome() {
        keyPath_ = std::string(kTestRegistryParent) + "\\" + folder_.path().filename().string();
        if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS ||
            RegOverridePredefKey(HKEY_CURRENT_USER, key_) != ERROR_SUCCESS) {
            throw std::runtime_error("no test registry key " + keyPath_);
        }
    }
    ~TempConfigHome() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestRegistryParent);  // only when empty
    }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    // A folder of the test's own, as on the other systems.
    const std::filesystem::path& root() const { return folder_.path(); }
    // The key that HKEY_CURRENT_USER stands for, and its path in the real one.
    HKEY key() const { return key_; }
    const std::string& keyPath() const { return keyPath_; }

    // How many values the key at path holds; -1 when there is no such key.
    int countValues(const std::string& path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(key_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
        DWORD values = 0;
        const bool ok =
            RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok ? static_cast<int>(values) : -1;
    }

  private:
    TempFolder folder_;
    std::string keyPath_;
    HKEY key_ = nullptr;
};
#else
class TempConfigHome {
  public:
    TempConfigHome() { SetEnvironment("XDG_CONFIG_HOME", root_.string()); }
    ~TempConfigHome() { RemoveEnvironment("XDG_CONFIG_HOME"); }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path settingsFile() const { return root_ / "vantor" / "settings.reg"; }

    // The settings file's bytes; empty when it does not exist.
    std::string settingsText() const {
        std::ifstream in(settingsFile(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void writeSettingsText(const std::string& text) const {
        std::filesystem::create_directories(settingsFile().parent_path());
        std::ofstream(settingsFile(), std::ios::binary) << text;
    }

    // How many values the key at path holds in the settings file; -1 when
    // the file has no such key.
    int countValues(const std::string& path) const {
        const std::string text = settingsText();
        std::size_t at = text.find("[HKEY_CURRENT_USER\\" + path + "]\n");
        if (at == std::string::npos) return -1;
        at = text.find('\n', at) + 1;
        int n = 0;
        while (at < text.size() && text[at] == '"') {
            ++n;
            at = text.find('\n', at) + 1;
        }
        return n;
    }

  private:
    TempFolder folder_;
    const std::filesystem::path& root_ = folder_.path();
};
#endif
