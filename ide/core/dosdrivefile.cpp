#include "dosdrivefile.h"

#include "dosdrives.h"

std::string HostFileOfDosDriveFile(const std::string& fileName, const std::string& projectFolder,
                                   common::CodePage cp) {
#ifdef _WIN32
    (void)projectFolder;
    (void)cp;
    return fileName;
#else
    if (fileName.size() < 3 || fileName[1] != ':') return fileName;
    common::DosrunSettings settings;
    if (const auto text = common::ReadDosrunSettingsFile(common::DosrunSettingsPath())) {
        // A bad line is dosrun's to report; the lines before it still hold.
        common::ParseDosrunSettings(*text, settings);
    }
    return common::HostPathOfDosPath(fileName, settings, projectFolder, cp).value_or(fileName);
#endif
}
