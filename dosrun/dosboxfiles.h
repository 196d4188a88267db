// The files of one run, all in the run's private folder: DOSBox's
// configuration, the batch file that prepares DOS and runs the program
// with its output on the serial port, the batch file of the program itself,
// which records its exit code, and the small program that sets the port's
// speed.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dosdrives.h"

namespace dosrun {

// The names of the run's files in the private folder (and drive).
inline constexpr char kConfigurationFile[] = "dosbox.conf";
inline constexpr char kRunBatch[] = "DOSRUN.BAT";
inline constexpr char kProgramBatch[] = "PROGRAM.BAT";
inline constexpr char kSerialSetup[] = "SERIAL.COM";
inline constexpr char kStatusFile[] = "STATUS.TXT";

struct RunPlan {
    common::DosrunSettings settings;  // root and drives as canonical host folders
    std::string dosFolder;            // the DOS current folder on C:, "\SRC"
    std::string commandLine;          // the DOS command line of the program
    // A batch program: its text, run as the start of the program's batch
    // file, and its arguments. DOSBox's second shell ends with the first
    // batch file that ends, so a CALL would never come back.
    std::optional<std::string> batchText;
    std::string batchArguments;
    std::string privateFolder;        // the host folder of the private drive
    char privateDrive = 'Y';
    int port = 0;                     // where dosrun listens for COM1
    std::string marker;               // the last line that COM1 carries
};

// The highest letter below Z that no drive of the settings takes.
char FreeDriveLetter(const common::DosrunSettings& settings);

std::string DosboxConfiguration(const RunPlan& plan);
std::string RunBatch(const RunPlan& plan);
std::string ProgramBatch(const RunPlan& plan);

// A DOS program of 24 bytes that sets COM1 to 115200 baud, 8 data bits, no
// parity, one stop bit. DOSBox sends at the speed the port is set to, and
// its default 9600 baud passes a thousand characters a second.
std::string_view SerialSetupProgram();

// The exit code in the status file's text ("7 \r\n"); -1 when there is none.
int ParseStatusText(std::string_view text);

}  // namespace dosrun
