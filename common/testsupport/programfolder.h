// The folder of the running test program, where the build puts every
// program of the tree (depmill, the test children).
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <string>

inline std::filesystem::path TestProgramFolder() {
#ifdef _WIN32
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, length)).parent_path();
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

// A program of the tree as the system names its file.
inline std::filesystem::path TestProgram(const std::string& name) {
#ifdef _WIN32
    return TestProgramFolder() / (name + ".exe");
#else
    return TestProgramFolder() / name;
#endif
}
