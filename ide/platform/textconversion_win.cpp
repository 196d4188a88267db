// Code page conversion through UTF-16 with the system's tables. The tables
// alone would turn a broken Shift-JIS character into "・" and swallow the
// byte after a lost lead byte (a line feed, say), and write a character
// outside the 16-bit range as two "?": both are mended here.
#include "textconversion.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

UINT systemCodePage(common::CodePage cp) {
    return cp == common::CodePage::ShiftJis ? 932 : CP_UTF8;
}

// Appends the bytes as UTF-16; false when the table refuses one of them.
bool appendWide(std::wstring& wide, UINT codePage, DWORD flags, std::string_view bytes) {
    if (bytes.empty()) return true;
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return false;
    const std::size_t at = wide.size();
    wide.resize(at + static_cast<std::size_t>(needed));
    MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data() + at, needed);
    return true;
}

// Shift-JIS one character at a time where the table refuses a run: each
// broken or unknown character becomes one replacement character, and the
// byte after a lead byte without its trail byte stays a character of its own.
void appendShiftJis(std::wstring& wide, std::string_view text) {
    if (appendWide(wide, 932, MB_ERR_INVALID_CHARS, text)) return;
    for (std::size_t i = 0; i < text.size();) {
        // A lead byte without its trail byte is one byte, which the table refuses.
        const std::size_t size = common::charLength(common::CodePage::ShiftJis, text, i);
        if (!appendWide(wide, 932, MB_ERR_INVALID_CHARS, text.substr(i, size)))
            wide.push_back(kReplacement);
        i += size;
    }
}

class WindowsTextConversion : public TextConversion {
  public:
    std::string convert(std::string_view text, common::CodePage from,
                        common::CodePage to) const override {
        // An output line is far shorter; a longer text is cut rather than overflow.
        text = text.substr(0, std::min<std::size_t>(text.size(), INT_MAX / 4));
        if (text.empty()) return {};
        std::wstring wide;
        if (from == common::CodePage::ShiftJis) {
            appendShiftJis(wide, text);
        } else {
            // Without MB_ERR_INVALID_CHARS broken UTF-8 becomes U+FFFD.
            appendWide(wide, CP_UTF8, 0, text);
        }
        if (to == common::CodePage::ShiftJis) {
            // A character outside the 16-bit range is one character that
            // Shift-JIS lacks, not two.
            for (std::size_t i = 0; i + 1 < wide.size(); ++i) {
                if (IS_HIGH_SURROGATE(wide[i]) && IS_LOW_SURROGATE(wide[i + 1]))
                    wide.replace(i, 2, 1, kReplacement);
            }
        }
        const int wideLength = static_cast<int>(wide.size());
        const int bytes = WideCharToMultiByte(systemCodePage(to), 0, wide.data(), wideLength,
                                              nullptr, 0, nullptr, nullptr);
        if (bytes <= 0) return {};
        std::string converted(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(systemCodePage(to), 0, wide.data(), wideLength, converted.data(), bytes,
                            nullptr, nullptr);
        return converted;
    }
};

}  // namespace

std::unique_ptr<TextConversion> CreateSystemTextConversion() {
    return std::make_unique<WindowsTextConversion>();
}
