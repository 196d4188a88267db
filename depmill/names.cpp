// DOS-style name joining and extension replacement, aware of double-byte
// characters so a 0x5C trail byte is never taken for a separator.
#include "names.h"

namespace depmill {

bool endsWithSeparator(std::string_view text, common::CodePage cp) {
    if (text.empty()) return false;
    const std::size_t last = common::lastCharStart(text, cp);
    if (last + 1 != text.size()) return false;
    const char c = text[last];
    return c == '\\' || c == '/' || c == ':';
}

std::string joinFolder(std::string_view folder, std::string_view name, common::CodePage cp) {
    std::string path(folder);
    if (!endsWithSeparator(folder, cp)) path += '\\';
    path += name;
    return path;
}

std::string replaceExtension(std::string_view name, std::string_view ext, common::CodePage cp) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); i += common::charLength(cp, name, i)) {
        if (name[i] == '.') dot = i;
        if (name[i] == '\\' || name[i] == '/') dot = std::string_view::npos;
    }
    std::string out(name.substr(0, dot));
    out += '.';
    out += ext;
    return out;
}

}  // namespace depmill
