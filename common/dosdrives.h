// The drives of dosrun, the DOS program runner, and their settings file
// ($XDG_CONFIG_HOME/vantor/dosrun.conf): which host folder is which DOS
// drive, the DOS PATH and environment, cycles and time limit. dosrun reads
// it to run a program; the IDE reads it to open a file that a DOS program
// named with a drive letter ("C:\PROJ\HELLO.C") from the host folder.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "codepage.h"

namespace common {

struct DosrunSettings {
    std::string root;                    // drive C:; empty: the current folder
    std::map<char, std::string> drives;  // further drives, upper-case letter → folder
    std::string path;                    // the DOS PATH; empty: DOSBox's own
    std::vector<std::pair<std::string, std::string>> environment;  // in order of setting
    std::string cycles = "max";
    int timeoutSeconds = 0;  // 0: no time limit
};

// Sets one environment variable, replacing an earlier value of the same
// name (DOS names are case-insensitive).
void SetDosVariable(DosrunSettings& settings, const std::string& name, const std::string& value);

// Checks of single values, shared by the settings file and dosrun's options;
// each returns the reason a value is refused, or nothing.
std::optional<std::string> CheckDriveLetter(char letter);
std::optional<std::string> CheckCycles(std::string_view cycles);
std::optional<int> ParseTimeoutSeconds(std::string_view text);

struct SettingsError {
    int line;  // 1-based
    std::string reason;
};

// Reads the settings text onto `settings` (whose values the lines replace):
//   root = FOLDER        drive D = FOLDER        path = DOSPATH
//   set NAME = VALUE     cycles = CYCLES         timeout = SECONDS
// A UTF-8 byte-order mark at the start, blank lines and lines starting with
// "#" are skipped; blanks around the "=" and at the ends of a line do not
// count. The first bad line is the error; its reason quotes at most the
// first 80 characters of what it quotes.
std::optional<SettingsError> ParseDosrunSettings(std::string_view text, DosrunSettings& settings);

// The settings as lines of the settings file, one key after the other,
// which read back as the same settings.
std::string DosrunSettingsText(const DosrunSettings& settings);

// $XDG_CONFIG_HOME/vantor/dosrun.conf, else $HOME/.config/vantor/dosrun.conf
// (on Windows %APPDATA%\vantor\dosrun.conf); empty when neither is set.
std::string DosrunSettingsPath();

// The largest settings file read.
constexpr std::size_t kDosrunSettingsLimit = 64 * 1024;

struct DosrunSettingsFile {
    std::optional<std::string> text;  // nothing when there is no file, or it is refused
    std::string refusal;              // why it cannot be read; empty when it can or is missing
};

// The settings file, the user's own: a link to it is followed (dotfile
// managers make them), but only a regular file of at most
// kDosrunSettingsLimit bytes is read, and a FIFO or a device is never
// opened, so nothing is waited for. A missing file is no refusal.
DosrunSettingsFile LoadDosrunSettingsFile(const std::string& path);

// The text of LoadDosrunSettingsFile, for readers that pass over a refusal.
std::optional<std::string> ReadDosrunSettingsFile(const std::string& path);

// The host path of a DOS path with a drive letter ("C:\PROJ\HELLO.C"):
// drive C: is the root (`defaultRoot` where the settings name none), the
// other drives those of the settings. "\" and "/" separate folders; a name
// that does not exist as written is looked up ignoring the letter case.
// Nothing when the path has no drive letter or names no known drive.
std::optional<std::string> HostPathOfDosPath(std::string_view dosPath,
                                             const DosrunSettings& settings,
                                             const std::string& defaultRoot, CodePage cp);

}  // namespace common
