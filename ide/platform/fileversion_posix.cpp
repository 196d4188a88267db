// Linux executables carry no version resource: the version the tree was
// built as stands in for it.
#include "fileversion.h"

bool GetFileVersionString(const std::string& /*path*/, std::string& out) {
    out.clear();
#ifdef VANTOR_FILE_VERSION
    out = VANTOR_FILE_VERSION;
#endif
    return !out.empty();
}
