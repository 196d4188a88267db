// dosrun: one DOS program run inside DOSBox as if it were a command of its
// own: its output on standard output as it comes, its exit code as the
// exit status. The settings file, then the options, say the drives.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "dosdrives.h"
#include "dosfolder.h"
#include "dostext.h"
#include "hostfiles.h"
#include "options.h"
#include "process.h"
#include "programsearch.h"
#include "session.h"

namespace {

constexpr std::size_t kBatchLimit = 1 << 20;

int fail(const std::string& message) {
    std::fprintf(stderr, "dosrun: %s\n", message.c_str());
    return dosrun::kStatusFailure;
}

std::string currentFolder() {
    std::error_code error;
    const auto folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

// The folder as the system names it, with every link resolved; false when
// it is no folder or cannot be mounted.
bool canonicalFolder(std::string& folder, const std::string& what, std::string* error) {
    std::error_code failure;
    const auto canonical = std::filesystem::canonical(folder, failure);
    if (failure || !std::filesystem::is_directory(canonical, failure)) {
        *error = "no folder " + folder + " (" + what + ")";
        return false;
    }
    folder = canonical.string();
    if (std::string reason; !dosrun::CheckMountFolder(folder, &reason)) {
        *error = "cannot mount " + folder + ": " + reason;
        return false;
    }
    return true;
}

bool isVariableName(const std::string& name) {
    for (const char c : name) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    }
    return !name.empty();
}

bool checkDosValues(const common::DosrunSettings& settings, std::string* error) {
    std::string reason;
    if (!dosrun::CheckDosValue(settings.path, &reason)) {
        *error = "the DOS path " + settings.path + ": " + reason;
        return false;
    }
    for (const auto& [name, value] : settings.environment) {
        if (!isVariableName(name)) {
            *error = "no DOS variable name: " + name;
            return false;
        }
        if (!dosrun::CheckDosValue(value, &reason)) {
            *error = "the value of " + name + ": " + reason;
            return false;
        }
    }
    return true;
}

// What a command writes before it ends must have reached its output.
int endOfOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return fail(std::string("standard output: ") + std::strerror(errno));
    return 0;
}

// Where DOS finds the program and how it starts: a program file directly,
// through dosrun's LAUNCH.COM; a batch file's text as the start of the
// second shell's batch file; anything else as a line of that batch file.
bool planProgram(dosrun::RunPlan& plan, const std::vector<std::string>& command,
                 const std::string& folder, std::string* error) {
    const std::string& program = command.front();
    // Words of the command line joined already: they join as well.
    std::string arguments;
    dosrun::JoinDosCommandLine(std::vector<std::string>(command.begin() + 1, command.end()),
                               &arguments, error);
    const auto found = dosrun::FindDosProgram(program, plan.settings, folder);
    if (found && dosrun::IsBatchProgram(found->hostFile)) {
        plan.batchText = dosrun::ReadRegularFile(found->hostFile, kBatchLimit);
        if (!plan.batchText) {
            *error = "the batch file " + found->hostFile + " cannot be read";
            return false;
        }
        // DOS reads a batch file up to its end-of-file character.
        plan.batchText->resize(std::min(plan.batchText->size(), plan.batchText->find('\x1a')));
        plan.batchArguments = arguments;
    } else if (found && dosrun::IsProgramFile(found->dosPath) && !dosrun::IsShellsOwn(program)) {
        plan.programFile = found->dosPath;
        plan.programTail = arguments.empty() ? arguments : " " + arguments;
    }
    const std::string tail = dosrun::LaunchTail(plan);
    if (tail.size() > dosrun::kMaxDosCommandLine) {
        *error = "the DOS shell's command line for the batch file is " +
                 std::to_string(tail.size()) + " characters long; DOS takes at most " +
                 std::to_string(dosrun::kMaxDosCommandLine);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    common::DosrunSettings settings;
    const std::string settingsPath = common::DosrunSettingsPath();
    const auto settingsFile = common::LoadDosrunSettingsFile(settingsPath);
    if (!settingsFile.refusal.empty()) return fail(settingsPath + ": " + settingsFile.refusal);
    if (settingsFile.text) {
        if (const auto error = common::ParseDosrunSettings(*settingsFile.text, settings))
            return fail(settingsPath + ":" + std::to_string(error->line) + ": " + error->reason);
    }
    std::string error;
    dosrun::Invocation invocation;
    if (!dosrun::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), settings, invocation,
                              &error))
        return fail(error + " (dosrun --help shows the usage)");
    if (invocation.showUsage) {
        std::fputs(dosrun::UsageText().c_str(), stdout);
        return endOfOutput();
    }
    const std::string here = currentFolder();
    if (here.empty()) return fail("the current folder has no name");
    if (settings.root.empty()) settings.root = here;
    if (invocation.showVersion) std::printf("dosrun %s\n", DOSRUN_VERSION);
    if (invocation.showSettings) {
        std::printf("# %s\n%s", settingsPath.c_str(), common::DosrunSettingsText(settings).c_str());
    }
    if (invocation.command.empty()) return endOfOutput();
    if (const int status = endOfOutput()) return status;

    if (!canonicalFolder(settings.root, "the root, drive C", &error)) return fail(error);
    for (auto& [letter, folder] : settings.drives) {
        if (!canonicalFolder(folder, std::string("drive ") + letter, &error)) return fail(error);
    }
    std::string folder = here;
    std::string dosFolder;
    if (!canonicalFolder(folder, "the current folder", &error) ||
        !dosrun::DosFolderBelow(settings.root, folder, &dosFolder, &error) ||
        !checkDosValues(settings, &error))
        return fail(error);
    const auto& command = invocation.command;
    const std::string& program = command.front();
    std::string commandLine;
    if (!dosrun::JoinDosCommandLine(command, &commandLine, &error)) return fail(error);
    if (!dosrun::CanNameAProgram(program)) {
        std::fprintf(stderr, "dosrun: %s\n", dosrun::NoProgramText(program).c_str());
        return dosrun::kStatusNoProgram;
    }

    const std::string dosbox = dosrun::FindOnPath("dosbox");
    if (dosbox.empty()) return fail("DOSBox is not installed: no dosbox on PATH");

    dosrun::RunPlan plan;
    plan.settings = settings;
    plan.dosFolder = dosFolder;
    plan.commandLine = commandLine;
    plan.passInput = invocation.passInput;
    if (!planProgram(plan, command, folder, &error)) return fail(error);
    const auto outcome = dosrun::RunInDosbox(plan, dosbox, program);
    if (outcome.endSignal != 0) dosrun::EndBySignal(outcome.endSignal);
    if (!outcome.error.empty()) std::fprintf(stderr, "dosrun: %s\n", outcome.error.c_str());
    for (const auto& line : outcome.details) std::fprintf(stderr, "dosrun:   %s\n", line.c_str());
    return outcome.status;
}
