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

// One file in the temporary folder for the whole process, made at the
// first call and removed at exit; every call replaces its content.
inline const std::string& writeScratchFile(std::string_view content) {
    struct ScratchFile {
        std::string path;
        ScratchFile() {
            const char* dir = std::getenv("TMPDIR");
            std::string pattern = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") +
                                  "/vantor-fuzz-XXXXXX";
            const int fd = mkstemp(pattern.data());
            if (fd < 0) fail("cannot make the scratch file");
            close(fd);
            path = pattern;
        }
        ~ScratchFile() { unlink(path.c_str()); }
    };
    static const ScratchFile scratch;
    std::FILE* file = std::fopen(scratch.path.c_str(), "wb");
    if (file == nullptr) fail("cannot open the scratch file");
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (std::fclose(file) != 0 || !written) fail("cannot write the scratch file");
    return scratch.path;
}

}  // namespace fuzz
