#include "hostfiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "regularfile.h"

namespace dosrun {

void Descriptor::reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
}

bool WriteNewFile(const std::string& path, std::string_view text) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) return false;
    while (!text.empty()) {
        const ssize_t written = ::write(fd.get(), text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit) {
    std::string content;
    if (common::readRegularFile(path, content, limit) != common::FileRead::Read) return std::nullopt;
    return content;
}

}  // namespace dosrun
