#include "programsearch.h"

#include <sys/stat.h>

#include <vector>

namespace dosrun {

namespace {

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool hasExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && name.find_first_of("\\/", dot) == std::string::npos;
}

// `dosPath` relative to the current folder, or with a drive letter.
std::optional<std::string> hostFile(const std::string& dosPath, const common::DosrunSettings& settings,
                                    const std::string& currentFolder) {
    const bool drive = dosPath.size() >= 2 && dosPath[1] == ':';
    common::DosrunSettings here;
    here.root = currentFolder;
    const auto host = drive ? common::HostPathOfDosPath(dosPath, settings, settings.root, common::CodePage::Utf8)
                            : common::HostPathOfDosPath("C:" + dosPath, here, currentFolder,
                                                        common::CodePage::Utf8);
    if (host && isRegularFile(*host)) return host;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindDosProgram(const std::string& program, const common::DosrunSettings& settings,
                                          const std::string& currentFolder) {
    std::vector<std::string> names;
    if (hasExtension(program)) {
        names.push_back(program);
    } else {
        for (const char* extension : {".COM", ".EXE", ".BAT"}) names.push_back(program + extension);
    }
    const auto inFolder = [&](const std::string& folder) -> std::optional<std::string> {
        for (const auto& name : names) {
            const std::string dosPath = folder.empty() ? name : folder + "\\" + name;
            if (auto host = hostFile(dosPath, settings, currentFolder)) return host;
        }
        return std::nullopt;
    };
    if (auto found = inFolder({})) return found;
    // A name with a folder or a drive is looked for there only.
    if (program.find_first_of("\\/:") != std::string::npos) return std::nullopt;
    std::string path = settings.path;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        std::string folder = path.substr(start, end - start);
        while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        if (folder.size() >= 2 && folder[1] == ':') {
            if (auto found = inFolder(folder)) return found;
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace dosrun
