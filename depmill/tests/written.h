// A makefile as depmill wrote it, with the platform's line ends read back
// as "\n", so that one expected text serves on every system.
#pragma once

#include <string>
#include <string_view>

#include "writer.h"

namespace depmill_testing {

inline std::string withNewlines(std::string bytes) {
    const std::string_view end = depmill::kLineEnd;
    if (end == "\n") return bytes;
    std::string text;
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (bytes.compare(pos, end.size(), end) == 0) {
            text.push_back('\n');
            pos += end.size();
        } else {
            text.push_back(bytes[pos++]);
        }
    }
    return text;
}

}  // namespace depmill_testing
