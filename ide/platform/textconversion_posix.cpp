// Code page conversion through iconv.
#include "textconversion.h"

#include <iconv.h>

#include <cerrno>
#include <iterator>

namespace {

using common::CodePage;

// Shift-JIS under the names iconv may know it by, Microsoft's variant first.
constexpr const char* kShiftJisNames[] = {"CP932", "WINDOWS-31J", "SHIFT_JIS"};

iconv_t openConversion(CodePage from, CodePage to) {
    const auto names = [](CodePage cp, std::size_t i) {
        return cp == CodePage::Utf8 ? "UTF-8" : kShiftJisNames[i];
    };
    for (std::size_t i = 0; i < std::size(kShiftJisNames); ++i) {
        const iconv_t cd = iconv_open(names(to, i), names(from, i));
        if (cd != reinterpret_cast<iconv_t>(-1)) return cd;
    }
    return reinterpret_cast<iconv_t>(-1);
}

const char* replacement(CodePage to) {
    return to == CodePage::Utf8 ? "\xEF\xBF\xBD" : "?";
}

// Without a conversion only ASCII passes; every other byte is replaced.
std::string keepAscii(std::string_view text, CodePage to) {
    std::string kept;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x80) {
            kept += c;
        } else {
            kept += replacement(to);
        }
    }
    return kept;
}

class IconvTextConversion : public TextConversion {
  public:
    std::string convert(std::string_view text, CodePage from, CodePage to) const override {
        const iconv_t cd = openConversion(from, to);
        if (cd == reinterpret_cast<iconv_t>(-1)) return keepAscii(text, to);
        std::string converted;
        char buffer[1024];
        char* in = const_cast<char*>(text.data());  // iconv does not write to its input
        std::size_t inLeft = text.size();
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
            converted.append(buffer, static_cast<std::size_t>(out - buffer));
            if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // EILSEQ or EINVAL: bytes that are no text, a character the target
            // lacks, or a character cut off by the end of the line.
            converted += replacement(to);
            // One replacement stands for a character that the target lacks, a
            // lead byte with the bytes that can continue it, or a single byte.
            const std::size_t skipped = common::charLength(from, std::string_view(in, inLeft), 0);
            in += skipped;
            inLeft -= skipped;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        iconv_close(cd);
        return converted;
    }
};

}  // namespace

std::unique_ptr<TextConversion> CreateSystemTextConversion() {
    return std::make_unique<IconvTextConversion>();
}
