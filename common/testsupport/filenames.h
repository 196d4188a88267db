// File names in tests as the programs spell them. The programs name files
// in bytes (on Windows through the "A" functions, in the ANSI code page);
// std::filesystem there reads a narrow name as Latin-1, so a test's narrow
// name goes through the code page the programs use. And on Windows the path
// that names a file called like a device as that file.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <string>

// The path of a name in the programs' bytes.
inline std::filesystem::path AnsiPath(const std::string& name) {
#ifdef _WIN32
    const int length =
        MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(name);
#endif
}

// The name of a path in the programs' bytes.
inline std::string AnsiName(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& wide = path.native();
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), name.data(), length,
                        nullptr, nullptr);
    return name;
#else
    return path.string();
#endif
}

// The path that names its entries as they are written: on Windows the
// "\\?\" form of the full path, in which a file called "con.h" or "NUL" is
// that file, while the bare name stands for a device in every folder.
inline std::filesystem::path LiteralPath(const std::filesystem::path& path) {
#ifdef _WIN32
    // The folder is made absolute alone: the full path of "con.h" is "\\.\con".
    namespace fs = std::filesystem;
    const fs::path folder =
        path.has_parent_path() ? fs::absolute(path.parent_path()) : fs::current_path();
    return fs::path(L"\\\\?\\" + (folder / path.filename()).wstring());
#else
    return path;
#endif
}
