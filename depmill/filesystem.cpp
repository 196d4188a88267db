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

FreshFile writeFreshFile(FileSystem& files, const std::string& prefix, std::string_view bytes) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = prefix + "." + freshSuffix();
        const NewFileWrite result = files.writeNewFile(name, bytes);
        if (result != NewFileWrite::NameTaken) return {result, std::move(name)};
    }
    return {NewFileWrite::NotCreated, {}};
}

}  // namespace depmill
