// A fresh, uniquely named folder under the system's temporary folder for
// one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

#include "filenames.h"

class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "vantor-") {
        // create_directory fails on an existing name, so a name is only
        // ever taken once, also by tests running at the same time.
        std::random_device seed;
        std::mt19937 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = base / (prefix + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("no temporary folder could be made in " + base.string());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(LiteralPath(path_), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
