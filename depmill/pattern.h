// File-name patterns of the source scan: "*" and "?" stop at the name's
// ".", letters compare without regard to case.
#pragma once

#include <string_view>

namespace depmill {

// True when the whole name matches the pattern ("*.c" matches MAIN.C but
// neither main.cpp nor a.b.c).
bool matchesPattern(std::string_view pattern, std::string_view name);

}  // namespace depmill
