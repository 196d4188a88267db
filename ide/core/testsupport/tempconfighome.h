// A fresh temporary folder set as XDG_CONFIG_HOME for one test, so the
// user's settings file lands there; removed again afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tempfolder.h"

class TempConfigHome {
  public:
    TempConfigHome() { setenv("XDG_CONFIG_HOME", root_.c_str(), 1); }
    ~TempConfigHome() { unsetenv("XDG_CONFIG_HOME"); }
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

  private:
    TempFolder folder_;
    const std::filesystem::path& root_ = folder_.path();
};
