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
        "[cpu]\r\ncore=auto\r\ncputype=auto\r\ncycles=" + plan.settings.cycles + kDosLineEnd +
        "[mixer]\r\nnosound=true\r\n"
        "[midi]\r\nmpu401=none\r\nmididevice=none\r\n"
        "[sblaster]\r\nsbtype=none\r\n"
        "[gus]\r\ngus=false\r\n"
        "[speaker]\r\npcspeaker=false\r\ntandy=off\r\ndisney=false\r\n"
        "[joystick]\r\njoysticktype=none\r\n"
        "[serial]\r\nserial1=nullmodem server:127.0.0.1 port:" + std::to_string(plan.port) +
        " transparent:1\r\nserial2=disabled\r\nserial3=disabled\r\nserial4=disabled\r\n"
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

// The program's output goes to COM1 through a second shell, so a batch
// file's commands are redirected too, which a CALL with ">" is not. The
// marker follows once that shell has ended.
std::string RunBatch(const RunPlan& plan) {
    std::string text = std::string("@ECHO OFF") + kDosLineEnd;
    text += privatePath(plan, kSerialSetup) + kDosLineEnd;
    if (!plan.settings.path.empty()) text += "SET PATH=" + BatchLiteral(plan.settings.path) + kDosLineEnd;
    for (const auto& [name, value] : plan.settings.environment)
        text += "SET " + BatchLiteral(name) + "=" + BatchLiteral(value) + kDosLineEnd;
    text += std::string("C:") + kDosLineEnd;
    text += "CD " + BatchLiteral(plan.dosFolder) + kDosLineEnd;
    text += "Z:\\COMMAND.COM /C " + privatePath(plan, kProgramBatch);
    if (plan.batchText && !plan.batchArguments.empty()) text += " " + BatchLiteral(plan.batchArguments);
    text += std::string(" > COM1") + kDosLineEnd;
    text += "ECHO " + plan.marker + "> COM1" + kDosLineEnd;
    return text;
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
        text = std::string("@ECHO OFF") + kDosLineEnd + BatchLiteral(plan.commandLine) + kDosLineEnd;
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

std::string_view SerialSetupProgram() {
    static constexpr unsigned char kProgram[] = {
        0xba, 0xfb, 0x03, 0xb0, 0x83, 0xee,  // line control 0x3fb: divisor latch, 8N1
        0xba, 0xf8, 0x03, 0xb0, 0x01, 0xee,  // divisor low 0x3f8: 1 (115200 baud)
        0x42, 0x30, 0xc0, 0xee,              // divisor high 0x3f9: 0
        0xba, 0xfb, 0x03, 0xb0, 0x03, 0xee,  // line control: latch off, 8N1
        0xcd, 0x20,                          // end, exit code 0
    };
    return {reinterpret_cast<const char*>(kProgram), sizeof kProgram};
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

}  // namespace dosrun
