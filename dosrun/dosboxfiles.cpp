#include "dosboxfiles.h"

#include "dostext.h"

namespace dosrun {

namespace {

// Batch and configuration files are DOS text files.
constexpr char kDosLineEnd[] = "\r\n";

std::string mountLine(char drive, const std::string& folder) {
    return std::string("mount ") + drive + " \"" + BatchLiteral(folder) + "\"" + kDosLineEnd;
}

std::string privatePath(const RunPlan& plan, std::string_view name) {
    return std::string(1, plan.privateDrive) + ":\\" + std::string(name);
}

// A port whose bytes go to dosrun's socket as they are sent.
std::string serialPort(int number, int port) {
    return "serial" + std::to_string(number) +
           "=nullmodem server:127.0.0.1 port:" + std::to_string(port) + " transparent:1 txdelay:1" +
           kDosLineEnd;
}

}  // namespace

char FreeDriveLetter(const common::DosrunSettings& settings) {
    for (char letter = 'Y'; letter > 'C'; --letter) {
        if (!settings.drives.contains(letter)) return letter;
    }
    return 'B';
}

// Everything DOSBox would otherwise open or emulate for a person at the
// screen is off: sound, the joystick, a keyboard layout, more ports.
std::string DosboxConfiguration(const RunPlan& plan) {
    std::string text =
        "[sdl]\r\nfullscreen=false\r\noutput=surface\r\nautolock=false\r\n"
        "[dosbox]\r\nmachine=svga_s3\r\nmemsize=16\r\n"
        "[render]\r\nframeskip=0\r\naspect=false\r\nscaler=none\r\n"
        "[cpu]\r\ncore=auto\r\ncputype=auto\r\ncycles=" +
        plan.settings.cycles + kDosLineEnd +
        "[mixer]\r\nnosound=true\r\n"
        "[midi]\r\nmpu401=none\r\nmididevice=none\r\n"
        "[sblaster]\r\nsbtype=none\r\n"
        "[gus]\r\ngus=false\r\n"
        "[speaker]\r\npcspeaker=false\r\ntandy=off\r\ndisney=false\r\n"
        "[joystick]\r\njoysticktype=none\r\n"
        "[serial]\r\n" +
        serialPort(1, plan.outputPort) + serialPort(2, plan.errorPort) +
        "serial3=disabled\r\nserial4=disabled\r\n"
        "[dos]\r\nxms=true\r\nems=true\r\numb=true\r\nkeyboardlayout=none\r\n"
        "[ipx]\r\nipx=false\r\n"
        "[autoexec]\r\n";
    text += mountLine('C', plan.settings.root);
    for (const auto& [letter, folder] : plan.settings.drives) text += mountLine(letter, folder);
    text += mountLine(plan.privateDrive, plan.privateFolder);
    // Without CALL the shell goes on with the batch file and never comes
    // back: DOSBox then waits at its prompt until dosrun ends it.
    text += privatePath(plan, kRunBatch) + kDosLineEnd;
    return text;
}

// The markers follow once the program has ended and its record is written,
// one on each port, so that what the program wrote last on either has come.
std::string RunBatch(const RunPlan& plan) {
    std::string text = std::string("@ECHO OFF") + kDosLineEnd;
    if (!plan.settings.path.empty())
        text += "SET PATH=" + BatchLiteral(plan.settings.path) + kDosLineEnd;
    for (const auto& [name, value] : plan.settings.environment)
        text += "SET " + BatchLiteral(name) + "=" + BatchLiteral(value) + kDosLineEnd;
    text += std::string("C:") + kDosLineEnd;
    text += "CD " + BatchLiteral(plan.dosFolder) + kDosLineEnd;
    text += privatePath(plan, kLauncher) + " " + privatePath(plan, kJobFile) + kDosLineEnd;
    text += "ECHO " + plan.marker + "> COM2" + kDosLineEnd;
    text += "ECHO " + plan.marker + "> COM1" + kDosLineEnd;
    return text;
}

// A shell command or a batch program runs in a second shell, which ends
// with the first batch file that ends.
std::string LaunchTail(const RunPlan& plan) {
    if (!plan.programFile.empty()) return plan.programTail;
    std::string tail = " /C " + privatePath(plan, kProgramBatch);
    if (plan.batchText && !plan.batchArguments.empty()) tail += " " + plan.batchArguments;
    return tail;
}

std::string JobText(const RunPlan& plan) {
    const std::string program = plan.programFile.empty() ? "Z:\\COMMAND.COM" : plan.programFile;
    return program + kDosLineEnd + LaunchTail(plan) + kDosLineEnd + privatePath(plan, kInputFile) +
           kDosLineEnd + privatePath(plan, kRecordFile) + kDosLineEnd;
}

// A redirection opens its file before IF is read, so each line of the
// chain appends: only the one whose test holds writes a number.
std::string ProgramBatch(const RunPlan& plan) {
    std::string text;
    if (plan.batchText) {
        text = *plan.batchText;
        if (!text.empty() && text.back() != '\n') text += kDosLineEnd;
        text += std::string("@ECHO OFF") + kDosLineEnd;
    } else {
        text =
            std::string("@ECHO OFF") + kDosLineEnd + BatchLiteral(plan.commandLine) + kDosLineEnd;
    }
    const std::string status = privatePath(plan, kStatusFile);
    text += "IF ERRORLEVEL 255 ECHO 255 >>" + status + kDosLineEnd;
    for (int code = 254; code >= 0; --code) {
        text += "IF ERRORLEVEL " + std::to_string(code) + " IF NOT ERRORLEVEL " +
                std::to_string(code + 1) + " ECHO " + std::to_string(code) + " >>" + status +
                kDosLineEnd;
    }
    return text;
}

int ParseStatusText(std::string_view text) {
    std::size_t digits = 0;
    int code = 0;
    while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9')
        code = code * 10 + (text[digits++] - '0');
    if (digits == 0 || code > 255) return -1;
    const std::string_view rest = text.substr(digits);
    return rest.find_first_not_of(" \r\n") == std::string_view::npos ? code : -1;
}

std::optional<LaunchRecord> ParseLaunchRecord(std::string_view text) {
    if (text.size() < 3 || text[1] != ' ') return std::nullopt;
    const std::string_view kinds = "XEF";  // in the order of LaunchRecord::Kind
    const std::size_t kind = kinds.find(text[0]);
    std::size_t digits = 2;
    long number = 0;
    while (digits < text.size() && digits < 7 && text[digits] >= '0' && text[digits] <= '9')
        number = number * 10 + (text[digits++] - '0');
    if (kind == std::string_view::npos || digits == 2 || text.substr(digits) != "\r\n" ||
        number > 65535)
        return std::nullopt;
    return LaunchRecord{static_cast<LaunchRecord::Kind>(kind), static_cast<int>(number)};
}

}  // namespace dosrun
