#include "codepage.h"

#include <cctype>
#include <clocale>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#endif

namespace common {

namespace {

bool isShiftJisTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

}  // namespace

CodePage activeCodePage() {
#ifdef _WIN32
    return GetACP() == 932 ? CodePage::ShiftJis : CodePage::Utf8;
#else
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr) return CodePage::Utf8;
    std::string name;
    for (const char* p = codeset; *p != '\0'; ++p) {
        if (*p != '-' && *p != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    const bool shiftJis = name == "SHIFTJIS" || name == "SJIS" || name == "CP932" ||
                          name == "WINDOWS31J" || name == "MSKANJI";
    return shiftJis ? CodePage::ShiftJis : CodePage::Utf8;
#endif
}

bool isLeadByte(CodePage cp, unsigned char byte) {
    if (cp == CodePage::ShiftJis) {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
    return byte >= 0xC2 && byte <= 0xF4;
}

std::size_t highCharLength(CodePage cp, std::string_view text, std::size_t pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (!isLeadByte(cp, byte)) return 1;
    std::size_t wanted = 2;
    if (cp == CodePage::Utf8) wanted = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    std::size_t len = 1;
    while (len < wanted && pos + len < text.size()) {
        const auto next = static_cast<unsigned char>(text[pos + len]);
        const bool continues =
            cp == CodePage::Utf8 ? (next & 0xC0) == 0x80 : isShiftJisTrailByte(next);
        if (!continues) break;
        ++len;
    }
    return len;
}

std::size_t lastCharStart(std::string_view text, CodePage cp) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += charLength(cp, text, i)) last = i;
    return last;
}

std::string toLowerAscii(std::string_view text, CodePage cp) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t len = charLength(cp, out, i);
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z')
            out[i] = static_cast<char>(out[i] - 'A' + 'a');
        i += len;
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b, CodePage cp) {
    return a.size() == b.size() && toLowerAscii(a, cp) == toLowerAscii(b, cp);
}

}  // namespace common
