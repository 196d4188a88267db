// Code page conversion through UTF-16 with the system's tables.
#include "textconversion.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

UINT systemCodePage(common::CodePage cp) {
    return cp == common::CodePage::ShiftJis ? 932 : CP_UTF8;
}

}  // namespace

std::string ConvertCodePage(std::string_view text, common::CodePage from, common::CodePage to) {
    // An output line is far shorter; a longer text is cut rather than overflow.
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX / 4));
    if (length == 0) return {};
    // Without MB_ERR_INVALID_CHARS invalid bytes become the replacement
    // character; characters the target lacks become its default character.
    const int wideLength =
        MultiByteToWideChar(systemCodePage(from), 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(systemCodePage(from), 0, text.data(), length, wide.data(), wideLength);
    const int bytes = WideCharToMultiByte(systemCodePage(to), 0, wide.data(), wideLength, nullptr,
                                          0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string converted(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(systemCodePage(to), 0, wide.data(), wideLength, converted.data(), bytes,
                        nullptr, nullptr);
    return converted;
}
