// Linux executables carry no version resource: the version the tree was
// built as stands in for it.
#include "fileversion.h"

namespace {

class BuildVersionReader : public FileVersionReader {
  public:
    std::optional<std::string> versionOf(const std::string& /*path*/) const override {
#ifdef VANTOR_FILE_VERSION
        return VANTOR_FILE_VERSION;
#else
        return std::nullopt;
#endif
    }
};

}  // namespace

std::unique_ptr<FileVersionReader> CreateSystemFileVersionReader() {
    return std::make_unique<BuildVersionReader>();
}
