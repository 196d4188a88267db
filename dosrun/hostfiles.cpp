#include "hostfiles.h"

#include <unistd.h>

#include <cstdio>

#include "regularfile.h"

namespace dosrun {

void Descriptor::reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
}

bool WriteNewFile(const std::string& path, std::string_view text) {
    common::FileHandle file =
        common::createNewFile(path, common::NewFilePermissions::OwnerOnly).file;
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && written;
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit) {
    std::string content;
    if (common::readRegularFile(path, content, limit) != common::FileRead::Read) return std::nullopt;
    return content;
}

}  // namespace dosrun
