// A second name for a file, as any user can make one in a folder handed to
// the programs: a symbolic link on POSIX systems, a hard link on Windows,
// where a symbolic link needs a privilege (and Wine makes none).
#pragma once

#include <filesystem>
#include <system_error>

inline void MakeUserLink(const std::filesystem::path& target, const std::filesystem::path& link) {
#ifdef _WIN32
    std::filesystem::create_hard_link(target, link);
#else
    std::filesystem::create_symlink(std::filesystem::absolute(target), link);
#endif
}

// Whether the name is still such a second name for the target.
inline bool IsUserLinkTo(const std::filesystem::path& link, const std::filesystem::path& target) {
    std::error_code error;
#ifndef _WIN32
    if (!std::filesystem::is_symlink(link, error)) return false;
#endif
    return std::filesystem::equivalent(link, target, error);
}
