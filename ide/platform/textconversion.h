// Text from one code page in another, by the system's own tables: iconv
// here (CP932 for Shift-JIS, so 0x5C stays a backslash), the Windows code
// page conversions there.
#pragma once

#include <string>
#include <string_view>

#include "codepage.h"

// Bytes that are no text in `from`, and characters that `to` lacks, each
// become one replacement character (U+FFFD in UTF-8, "?" in Shift-JIS). Never
// throws for any input; fits DecodeOutputLine's CodePageConversion.
std::string ConvertCodePage(std::string_view text, common::CodePage from, common::CodePage to);
