#include "dosdrivefile.h"

#include "dosdrives.h"
#include "dospath.h"

std::string HostFileOfDosDriveFile(const std::string& fileName, const std::string& projectFolder,
                                   common::CodePage cp) {
#ifdef _WIN32
    (void)projectFolder;
    (void)cp;
    return fileName;
#else
    // "C:" alone names a drive, not a file.
    if (!common::hasDrivePrefix(fileName) || fileName.size() == 2) return fileName;
    common::DosrunSettings settings;
    if (const auto text = common::ReadDosrunSettingsFile(common::DosrunSettingsPath())) {
        // A bad line is dosrun's to report; the lines before it still hold.
        common::ParseDosrunSettings(*text, settings);
    }
    return common::HostPathOfDosPath(fileName, settings, projectFolder, cp).value_or(fileName);
#endif
}
