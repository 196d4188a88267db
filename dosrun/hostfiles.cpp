#include "hostfiles.h"

#include <unistd.h>

#include <cerrno>
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
    if (common::readRegularFile(path, content, limit) != common::FileRead::Read)
        return std::nullopt;
    return content;
}

std::vector<std::string> LastLines(const std::string& path, std::size_t count, std::size_t width) {
    constexpr long kTail = 64 * 1024;
    common::FileHandle file = common::openRegularFile(path).file;
    std::vector<std::string> lines;
    if (!file) return lines;
    // From the start of a line: past the first line end after a seek.
    bool skipping = std::fseek(file.get(), 0, SEEK_END) == 0 && std::ftell(file.get()) > kTail;
    if (skipping)
        std::fseek(file.get(), -kTail, SEEK_END);
    else
        std::rewind(file.get());
    std::string line;
    for (int c; (c = std::fgetc(file.get())) != EOF;) {
        if (c == '\n' || c == '\r') {
            if (!line.empty() && !skipping) lines.push_back(line);
            line.clear();
            skipping = false;
            continue;
        }
        if (line.size() < width) line += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    if (!line.empty()) lines.push_back(line);
    if (lines.size() > count)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace dosrun
