// A new file under a fresh name, over any file system.
#include "filesystem.h"

#include <chrono>
#include <cstdint>
#include <utility>

namespace depmill {

namespace {

// Attempts at a fresh name before creating the new file is given up.
constexpr int kNameAttempts = 100;

// Six letters or digits, different from one call to the next; the
// exclusive create, not the name, keeps the file ours.
std::string freshSuffix() {
    static std::uint64_t calls = 0;
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (++calls * 0x9E3779B97F4A7C15ULL) ^ reinterpret_cast<std::uintptr_t>(&calls);
    seed ^= seed >> 33;
    seed *= 0xFF51AFD7ED558CCDULL;
    seed ^= seed >> 33;
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 6; ++i, seed /= 36) suffix += kDigits[seed % 36];
    return suffix;
}

}  // namespace

std::optional<NewFile> createFreshFile(FileSystem& files, const std::string& prefix) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + "." + freshSuffix();
        common::CreatedFile created = files.createNewFile(name);
        if (created.file) return NewFile{std::move(created.file), std::move(name)};
        if (!created.nameTaken) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace depmill
