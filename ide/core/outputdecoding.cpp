// Choosing the code page of an output line and bringing it into the IDE's.
#include "outputdecoding.h"

#include <cstring>

OutputEncoding ToOutputEncoding(std::int32_t stored) {
    switch (stored) {
        case static_cast<std::int32_t>(OutputEncoding::Utf8):
            return OutputEncoding::Utf8;
        case static_cast<std::int32_t>(OutputEncoding::ShiftJis):
            return OutputEncoding::ShiftJis;
        default:
            return OutputEncoding::Automatic;
    }
}

// Eight bytes at a time, without a branch on each.
bool IsAscii(std::string_view bytes) {
    std::uint64_t bits = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        bits |= word;
    }
    for (; i < bytes.size(); ++i) bits |= static_cast<unsigned char>(bytes[i]);
    return (bits & 0x8080808080808080u) == 0;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 0;
        // The range the first continuation byte may take excludes overlong
        // forms, surrogates and code points past U+10FFFF.
        unsigned char low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (bytes.size() - pos < length) return false;
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(bytes[pos + i]);
            if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return false;
        }
        pos += length;
    }
    return true;
}

common::CodePage LineCodePage(std::string_view line, OutputEncoding encoding) {
    switch (encoding) {
        case OutputEncoding::Utf8:
            return common::CodePage::Utf8;
        case OutputEncoding::ShiftJis:
            return common::CodePage::ShiftJis;
        case OutputEncoding::Automatic:
            break;
    }
    return IsValidUtf8(line) ? common::CodePage::Utf8 : common::CodePage::ShiftJis;
}

std::string_view DecodeOutputLine(std::string_view line, OutputEncoding encoding,
                                  common::CodePage target, const TextConversion& conversion,
                                  std::string& converted) {
    if (IsAscii(line)) return line;
    const common::CodePage source = LineCodePage(line, encoding);
    if (source == common::CodePage::Utf8 && target == common::CodePage::Utf8 && IsValidUtf8(line))
        return line;
    converted = conversion.convert(line, source, target);
    return converted;
}
