// The ten-line help text of the command line, in the console's encoding.
#pragma once

#include <string_view>

#include "codepage.h"

namespace depmill {

// The help text as bytes of the given code page (Shift-JIS or UTF-8).
std::string_view helpText(common::CodePage cp);

}  // namespace depmill
