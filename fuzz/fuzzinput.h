// What the fuzz targets share: the input as text, cut into fields, one
// scratch file per process for the readers that take a path, and the stop
// on a broken promise of the code under test.
#pragma once

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

// A file for the readers that take a path: one regular file in $TMPDIR
// (else /tmp) for the whole process, made at the first call and removed at
// exit. Every call replaces its content in place (never truncated to
// nothing first, which some file systems answer with a flush to disk) and
// returns its path.
inline const std::string& writeScratchFile(std::string_view content) {
    struct ScratchFile {
        std::string path;
        int fd = -1;
        ScratchFile() {
            const char* dir = std::getenv("TMPDIR");
            path =
                std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/fuzz-input-XXXXXX";
            fd = mkstemp(path.data());
            if (fd < 0) fail("cannot make the scratch file");
        }
        ~ScratchFile() {
            close(fd);
            unlink(path.c_str());
        }
    };
    static const ScratchFile scratch;
    if (pwrite(scratch.fd, content.data(), content.size(), 0) !=
            static_cast<ssize_t>(content.size()) ||
        ftruncate(scratch.fd, static_cast<off_t>(content.size())) != 0) {
        fail("cannot write the scratch file");
    }
    return scratch.path;
}

}  // namespace fuzz
