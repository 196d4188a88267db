// File-name arithmetic shared by the scan and the writer: joining an include
// folder and a name, and replacing an extension, in DOS notation.
#pragma once

#include <string>
#include <string_view>

#include "codepage.h"

namespace depmill {

// True when the text ends in "\", "/" or ":" (a "\" that is the trail byte
// of a double-byte character does not count).
bool endsWithSeparator(std::string_view text, common::CodePage cp);

// The folder, a "\" unless it already ends in a separator, and the name.
std::string joinFolder(std::string_view folder, std::string_view name, common::CodePage cp);

// The name with the text after the last "." of its last component replaced
// by ext; a last component without a "." gets "." and ext appended.
std::string replaceExtension(std::string_view name, std::string_view ext, common::CodePage cp);

}  // namespace depmill
