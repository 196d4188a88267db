// What the fuzz targets share: the input as text, cut into fields, one
// scratch file per process for the readers that take a path, and the stop
// on a broken promise of the code under test.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The text between separators: n separators give n + 1 fields.
inline std::vector<std::string_view> splitFields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t end = text.find(separator);
        fields.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return fields;
        text.remove_prefix(end + 1);
    }
}

// Ends the run as a finding: libFuzzer keeps the input that led here.
[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

inline void require(bool condition, const char* what) {
    if (!condition) fail(what);
}

// A file for the readers that take a path: one in-memory file per process,
// named through /proc, so a run costs no disk writes. Every call replaces
// its content and returns its path.
inline const std::string& writeScratchFile(std::string_view content) {
    static const int fd = memfd_create("fuzz-input", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0) fail("cannot make the scratch file");
    if (pwrite(fd, content.data(), content.size(), 0) != static_cast<ssize_t>(content.size()) ||
        ftruncate(fd, static_cast<off_t>(content.size())) != 0) {
        fail("cannot write the scratch file");
    }
    return path;
}

}  // namespace fuzz
