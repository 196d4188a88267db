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

// The folder as the system names it, with every link resolved; the reason
// when it is no folder or cannot be mounted.
std::string canonicalFolder(std::string& folder, const std::string& what) {
    std::error_code error;
    const auto canonical = std::filesystem::canonical(folder, error);
    if (error || !std::filesystem::is_directory(canonical, error))
        return "no folder " + folder + " (" + what + ")";
    folder = canonical.string();
    if (auto reason = dosrun::RefusalOfMountFolder(folder)) return "cannot mount " + folder + ": " + *reason;
    return {};
}

bool isVariableName(const std::string& name) {
    for (const char c : name) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    }
    return !name.empty();
}

std::string checkDosValues(const common::DosrunSettings& settings) {
    if (auto reason = dosrun::RefusalOfDosValue(settings.path)) return "the DOS path " + settings.path + ": " + *reason;
    for (const auto& [name, value] : settings.environment) {
        if (!isVariableName(name)) return "no DOS variable name: " + name;
        if (auto reason = dosrun::RefusalOfDosValue(value)) return "the value of " + name + ": " + *reason;
    }
    return {};
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
std::string planProgram(dosrun::RunPlan& plan, const std::vector<std::string>& command, const std::string& folder) {
    const std::string& program = command.front();
    const std::string arguments =
        dosrun::JoinDosCommandLine(std::vector<std::string>(command.begin() + 1, command.end())).line;
    const auto found = dosrun::FindDosProgram(program, plan.settings, folder);
    if (found && dosrun::IsBatchProgram(found->hostFile)) {
        plan.batchText = dosrun::ReadRegularFile(found->hostFile, kBatchLimit);
        if (!plan.batchText) return "the batch file " + found->hostFile + " cannot be read";
        // DOS reads a batch file up to its end-of-file character.
        plan.batchText->resize(std::min(plan.batchText->size(), plan.batchText->find('\x1a')));
        plan.batchArguments = arguments;
    } else if (found && dosrun::IsProgramFile(found->dosPath) && !dosrun::IsShellsOwn(program)) {
        plan.programFile = found->dosPath;
        plan.programTail = arguments.empty() ? arguments : " " + arguments;
    }
    const std::string tail = dosrun::LaunchTail(plan);
    if (tail.size() > dosrun::kMaxDosCommandLine)
        return "the DOS shell's command line for the batch file is " + std::to_string(tail.size()) +
               " characters long; DOS takes at most " + std::to_string(dosrun::kMaxDosCommandLine);
    return {};
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
    const auto options = dosrun::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), settings);
    if (!options.error.empty()) return fail(options.error + " (dosrun --help shows the usage)");
    if (options.invocation.showUsage) {
        std::fputs(dosrun::UsageText().c_str(), stdout);
        return endOfOutput();
    }
    const std::string here = currentFolder();
    if (here.empty()) return fail("the current folder has no name");
    if (settings.root.empty()) settings.root = here;
    if (options.invocation.showVersion) std::printf("dosrun %s\n", DOSRUN_VERSION);
    if (options.invocation.showSettings) {
        std::printf("# %s\n%s", settingsPath.c_str(), dosrun::SettingsText(settings).c_str());
    }
    if (options.invocation.command.empty()) return endOfOutput();
    if (const int status = endOfOutput()) return status;

    if (auto error = canonicalFolder(settings.root, "the root, drive C"); !error.empty()) return fail(error);
    for (auto& [letter, folder] : settings.drives) {
        if (auto error = canonicalFolder(folder, std::string("drive ") + letter); !error.empty())
            return fail(error);
    }
    std::string folder = here;
    if (auto error = canonicalFolder(folder, "the current folder"); !error.empty()) return fail(error);
    const auto dosFolder = dosrun::DosFolderBelow(settings.root, folder);
    if (!dosFolder.error.empty()) return fail(dosFolder.error);
    if (auto error = checkDosValues(settings); !error.empty()) return fail(error);
    const auto& command = options.invocation.command;
    const std::string& program = command.front();
    const auto commandLine = dosrun::JoinDosCommandLine(command);
    if (!commandLine.error.empty()) return fail(commandLine.error);
    if (!dosrun::CanNameAProgram(program)) {
        std::fprintf(stderr, "dosrun: %s\n", dosrun::NoProgramText(program).c_str());
        return dosrun::kStatusNoProgram;
    }

    const std::string dosbox = dosrun::FindOnPath("dosbox");
    if (dosbox.empty()) return fail("DOSBox is not installed: no dosbox on PATH");

    dosrun::RunPlan plan;
    plan.settings = settings;
    plan.dosFolder = dosFolder.path;
    plan.commandLine = commandLine.line;
    plan.passInput = options.invocation.passInput;
    if (auto error = planProgram(plan, command, folder); !error.empty()) return fail(error);
    const auto outcome = dosrun::RunInDosbox(plan, dosbox, program);
    if (outcome.endSignal != 0) dosrun::EndBySignal(outcome.endSignal);
    if (!outcome.error.empty()) std::fprintf(stderr, "dosrun: %s\n", outcome.error.c_str());
    for (const auto& line : outcome.details) std::fprintf(stderr, "dosrun:   %s\n", line.c_str());
    return outcome.status;
}
