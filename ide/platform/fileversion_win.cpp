// The file version from the executable's version resource.
#include <windows.h>

#include <string>
#include <vector>

#include "fileversion.h"

bool GetFileVersionString(const std::string& path, std::string& out) {
    out.clear();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    out = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
          std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
          std::to_string(LOWORD(fixed->dwFileVersionLS));
    return true;
}
