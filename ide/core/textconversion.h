// Text from one code page in another, by the system's own tables: iconv
// here (CP932 for Shift-JIS, so 0x5C stays a backslash), the Windows code
// page conversions there.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "codepage.h"

class TextConversion {
  public:
    virtual ~TextConversion() = default;

    // Bytes that are no text in `from`, and characters that `to` lacks, each
    // become one replacement character (U+FFFD in UTF-8, "?" in Shift-JIS).
    // Never throws for any input.
    virtual std::string convert(std::string_view text, common::CodePage from,
                                common::CodePage to) const = 0;
};

std::unique_ptr<TextConversion> CreateSystemTextConversion();
