// The runner's child processes on Windows: CreateProcessA with anonymous
// pipes as the child's standard handles, in a new process group inside a job
// object that also holds every process it starts, and a detached start.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "childprocess.h"

namespace {

void CloseIf(HANDLE& handle) {
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
}

// CreateProcessA may write into its command line, so it gets a copy.
std::vector<char> MutableCopy(const std::string& text) {
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return copy;
}

bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

const char* FolderOrNull(const std::string& folder) {
    return folder.empty() ? nullptr : folder.c_str();
}

// The IDE's own standard handles, set for a start (programs run in a
// separate 16-bit machine may take them from there) and put back
// afterwards, so the IDE never keeps handles that the run closes.
class StandardHandles {
  public:
    StandardHandles()
        : saved_{GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                 GetStdHandle(STD_ERROR_HANDLE)} {}
    ~StandardHandles() {
        for (int i = 0; i < set_; ++i) SetStdHandle(kSelectors[i], saved_[i]);
    }
    StandardHandles(const StandardHandles&) = delete;
    StandardHandles& operator=(const StandardHandles&) = delete;

    // Sets the next one of input, output and error.
    bool setNext(HANDLE handle) {
        if (!SetStdHandle(kSelectors[set_], handle)) return false;
        ++set_;
        return true;
    }

  private:
    static constexpr DWORD kSelectors[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE saved_[3];
    int set_ = 0;
};

class WinCapturedChild : public CapturedChild {
  public:
    ~WinCapturedChild() override {
        closePipes();
        CloseIf(process_);
        CloseIf(job_);
    }

    ChildStartFailure start(const std::string& commandLine, const std::string& workingFolder,
                            bool iconed) override {
        HANDLE childOut = nullptr;
        HANDLE childIn = nullptr;
        const ChildStartFailure failure =
            launch(commandLine, workingFolder, iconed, childIn, childOut);
        CloseIf(childIn);
        CloseIf(childOut);
        if (failure != ChildStartFailure::None) closePipes();
        return failure;
    }

    // Anonymous pipes cannot wait with a timeout: look, and sleep briefly.
    // After the pipe's end only the process is waited for.
    ChildReadResult read(char* buffer, std::size_t capacity, int timeoutMs) override {
        if (outRead_ == nullptr) {
            if (process_ != nullptr) WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs));
            return {};
        }
        constexpr int kStepMs = 5;
        for (int waited = 0;; waited += kStepMs) {
            DWORD available = 0;
            if (!PeekNamedPipe(outRead_, nullptr, 0, nullptr, &available, nullptr)) {
                CloseIf(outRead_);
                return {};
            }
            if (available > 0) {
                const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(
                    {available, capacity, static_cast<std::size_t>(MAXDWORD)}));
                DWORD got = 0;
                if (!ReadFile(outRead_, buffer, wanted, &got, nullptr) &&
                    GetLastError() != ERROR_MORE_DATA) {
                    return {};
                }
                if (got == 0) return {ChildReadStatus::NothingYet, 0};
                return {ChildReadStatus::Data, got};
            }
            if (waited >= timeoutMs || ended()) return {ChildReadStatus::NothingYet, 0};
            Sleep(kStepMs);
        }
    }

    bool write(std::string_view bytes) override {
        if (inWrite_ == nullptr) return false;
        DWORD written = 0;
        return WriteFile(inWrite_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) &&
               written == bytes.size();
    }

    void closePipes() override {
        CloseIf(outRead_);
        CloseIf(inWrite_);
    }

    // Asks the process itself rather than looking for STILL_ACTIVE, so a
    // child that exits with 259 does not look as if it ran on forever.
    std::optional<int> exitStatus() override {
        if (status_ || !ended()) return status_;
        DWORD code = 0;
        status_ = GetExitCodeProcess(process_, &code) ? static_cast<int>(code) : -1;
        CloseIf(process_);
        return status_;
    }

    // A console-less group takes no break event: the job ends at once.
    void signalGroup(GroupSignal /*signal*/) override {
        if (job_ != nullptr) {
            TerminateJobObject(job_, 1);
        } else if (process_ != nullptr) {
            TerminateProcess(process_, 1);
        }
    }

    bool groupAlive() override {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (job_ == nullptr) return process_ != nullptr && !ended();
        return QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info,
                                         sizeof info, nullptr) &&
               info.ActiveProcesses > 0;
    }

  private:
    bool ended() const {
        return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    }

    ChildStartFailure launch(const std::string& commandLine, const std::string& workingFolder,
                             bool iconed, HANDLE& childIn, HANDLE& childOut) {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        // The IDE's reading end stays its own: no child inherits it.
        if (!CreatePipe(&outRead_, &childOut, &inheritable, 0) ||
            !SetHandleInformation(outRead_, HANDLE_FLAG_INHERIT, 0)) {
            return ChildStartFailure::OutputPipe;
        }
        HANDLE inheritableWrite = nullptr;
        if (!CreatePipe(&childIn, &inheritableWrite, &inheritable, 0)) {
            return ChildStartFailure::InputPipe;
        }

        StandardHandles standard;
        if (!standard.setNext(childIn)) {
            CloseIf(inheritableWrite);
            return ChildStartFailure::AttachInput;
        }
        if (!standard.setNext(childOut)) {
            CloseIf(inheritableWrite);
            return ChildStartFailure::AttachOutput;
        }
        if (!standard.setNext(childOut)) {
            CloseIf(inheritableWrite);
            return ChildStartFailure::AttachError;
        }

        // The IDE's writing end must not be inherited (the child would never
        // see its input end).
        HANDLE self = GetCurrentProcess();
        const BOOL duplicated = DuplicateHandle(self, inheritableWrite, self, &inWrite_, 0, FALSE,
                                                DUPLICATE_SAME_ACCESS);
        CloseIf(inheritableWrite);
        if (!duplicated) return ChildStartFailure::PrepareInput;
        // Best effort: a full input pipe then refuses a write instead of
        // blocking the IDE; without it only thousands of unread answers block.
        DWORD noWait = PIPE_NOWAIT;
        SetNamedPipeHandleState(inWrite_, &noWait, nullptr, nullptr);

        if (IsBlankLine(commandLine)) return ChildStartFailure::Launch;
        char title[] = "Processing Vantor...";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.lpTitle = title;
        startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEFILLATTRIBUTE | STARTF_USESTDHANDLES;
        startup.dwFillAttribute = 0;
        startup.wShowWindow = static_cast<WORD>(iconed ? SW_HIDE : SW_SHOW);
        startup.hStdInput = childIn;
        startup.hStdOutput = childOut;
        startup.hStdError = childOut;
        std::vector<char> line = MutableCopy(commandLine);
        // Started suspended, so that it is in the job before it can start
        // anything; without a job Stop reaches the child alone.
        job_ = CreateJobObjectA(nullptr, nullptr);
        PROCESS_INFORMATION created{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                            CREATE_SEPARATE_WOW_VDM | CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED,
                            nullptr, FolderOrNull(workingFolder), &startup, &created)) {
            return ChildStartFailure::Launch;
        }
        if (job_ != nullptr && !AssignProcessToJobObject(job_, created.hProcess)) CloseIf(job_);
        ResumeThread(created.hThread);
        CloseHandle(created.hThread);
        process_ = created.hProcess;
        return ChildStartFailure::None;
    }

    HANDLE outRead_ = nullptr;  // the IDE reads the child's output here
    HANDLE inWrite_ = nullptr;  // the IDE writes the child's input here
    HANDLE process_ = nullptr;  // until its exit status is known
    HANDLE job_ = nullptr;      // the child and everything it starts
    std::optional<int> status_;
};

class WinChildProcesses : public ChildProcesses {
  public:
    std::unique_ptr<CapturedChild> newCapturedChild() override {
        return std::make_unique<WinCapturedChild>();
    }

    bool startDetached(const std::string& commandLine, const std::string& workingFolder,
                       bool iconed) override {
        if (IsBlankLine(commandLine)) return false;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(iconed ? SW_SHOWMINIMIZED : SW_SHOW);
        std::vector<char> line = MutableCopy(commandLine);
        PROCESS_INFORMATION created{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SEPARATE_WOW_VDM,
                            nullptr, FolderOrNull(workingFolder), &startup, &created)) {
            return false;
        }
        // Nothing of the new process is kept.
        CloseHandle(created.hThread);
        CloseHandle(created.hProcess);
        return true;
    }
};

}  // namespace

std::unique_ptr<ChildProcesses> CreateSystemChildProcesses() {
    return std::make_unique<WinChildProcesses>();
}
