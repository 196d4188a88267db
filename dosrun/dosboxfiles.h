// The files of one run, all in the run's private folder: DOSBox's
// configuration, the batch file that prepares DOS and starts the program
// through dosrun's own DOS program (LAUNCH.COM), the job that program
// reads, and the batch file that a shell command or a batch program runs
// in, which records its exit code.
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
inline constexpr char kLauncher[] = "LAUNCH.COM";
inline constexpr char kJobFile[] = "JOB.TXT";
inline constexpr char kRecordFile[] = "RESULT.TXT";
inline constexpr char kStatusFile[] = "STATUS.TXT";
inline constexpr char kInputFile[] = "INPUT.DAT";

struct RunPlan {
    common::DosrunSettings settings;  // root and drives as canonical host folders
    std::string dosFolder;            // the DOS current folder on C:, "\SRC"
    std::string commandLine;          // the DOS command line of the program
    // The program file that DOS starts itself ("D:\BINW\WMAKE.EXE") and its
    // command tail (" -h"); empty: the command line runs in DOSBox's shell.
    std::string programFile;
    std::string programTail;
    // A batch program: its text, run as the start of the program's batch
    // file, and its arguments. DOSBox's second shell ends with the first
    // batch file that ends, so a CALL would never come back.
    std::optional<std::string> batchText;
    std::string batchArguments;
    // Whether kInputFile, the program's standard input, holds dosrun's own
    // standard input; else it is empty. (DOSBox's NUL device reads as an
    // endless run of zero bytes, not as the end of a file.)
    bool passInput = false;
    std::string privateFolder;  // the host folder of the private drive
    char privateDrive = 'Y';
    int outputPort = 0;  // where dosrun listens for COM1, standard output
    int errorPort = 0;   // and for COM2, standard error
    std::string marker;  // the last line that COM1 and COM2 carry
};

// The highest letter below Z that no drive of the settings takes.
char FreeDriveLetter(const common::DosrunSettings& settings);

std::string DosboxConfiguration(const RunPlan& plan);
std::string RunBatch(const RunPlan& plan);
// The command tail LAUNCH.COM gives the program (at most 126 bytes).
std::string LaunchTail(const RunPlan& plan);
std::string JobText(const RunPlan& plan);
std::string ProgramBatch(const RunPlan& plan);

// LAUNCH.COM, built from launcher.asm: it sets COM1 and COM2 to 115200
// baud (DOSBox sends at the speed a port is set to; its default 9600 baud
// passes a thousand characters a second), gives the program its standard
// handles and starts it, and writes the record of how that went.
std::string_view LauncherProgram();

// The exit code in the status file's text ("7 \r\n"); -1 when there is none.
int ParseStatusText(std::string_view text);

// What LAUNCH.COM recorded: the program's exit code, or the DOS error that
// kept it from starting or from getting its handles.
struct LaunchRecord {
    enum Kind { Exited, NotStarted, NoHandles } kind;
    int number;
};
std::optional<LaunchRecord> ParseLaunchRecord(std::string_view text);

}  // namespace dosrun
