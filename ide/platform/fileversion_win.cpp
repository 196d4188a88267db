// The file version from the executable's version resource.
#include <windows.h>

#include <string>
#include <vector>

#include "fileversion.h"

namespace {

class ResourceVersionReader : public FileVersionReader {
  public:
    std::optional<std::string> versionOf(const std::string& path) const override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return std::nullopt;
        std::vector<char> block(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
            !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
            fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
            return std::nullopt;
        }
        return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
               std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
               std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
               std::to_string(LOWORD(fixed->dwFileVersionLS));
    }
};

}  // namespace

std::unique_ptr<FileVersionReader> CreateSystemFileVersionReader() {
    return std::make_unique<ResourceVersionReader>();
}
