// Help files opened with the desktop's viewer. Such viewers take no keyword,
// so a keyword search opens the file too; a missing file is reported here.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "commandline_posix.h"
#include "systemhelp.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A relative name is looked up beside the IDE only: the current folder is
// the project's, and a file planted in a downloaded project must not be
// opened in place of the IDE's own.
std::optional<std::string> locateHelpFile(const std::string& name) {
    if (name.empty()) return std::nullopt;
    const fs::path path =
        fs::path(name).is_absolute() ? fs::path(name) : fs::path(OwnProgramFolder()) / name;
    std::error_code error;
    if (fs::is_regular_file(path, error)) return path.string();
    return std::nullopt;
}

class DesktopHelpViewer : public HelpViewer {
  public:
    DesktopHelpViewer(UiServices& ui, std::string opener) : ui_(ui), opener_(std::move(opener)) {}

    void contents(const std::string& helpFile) override { open(helpFile); }
    void keyword(const std::string& helpFile, const std::string&) override { open(helpFile); }
    void partialKey(const std::string& helpFile, const std::string&) override { open(helpFile); }
    // The desktop's viewer is a program of its own; it is left open.
    void quit(const std::string&) override {}

  private:
    void open(const std::string& helpFile) {
        const auto path = locateHelpFile(helpFile);
        if (!path) {
            ui_.showMessage(UiText("ヘルプファイル \"").data(helpFile).words("\" が見つかりません。"), "Vantor",
                            MessageIcon::Stop);
            return;
        }
        startDetached(*path);
    }

    // The shell starts the opener in the background and ends at once, so the
    // opener is adopted by init and no zombie is left behind.
    void startDetached(const std::string& path) {
        std::string shell = "/bin/sh";
        std::string flag = "-c";
        std::string script = "\"$0\" \"$1\" </dev/null >/dev/null 2>&1 &";
        std::string opener = opener_;
        std::string file = path;
        char* argv[] = {shell.data(),  flag.data(), script.data(),
                        opener.data(), file.data(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, shell.c_str(), nullptr, nullptr, argv, environ) != 0) return;
        int status = 0;
        while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
        }
    }

    UiServices& ui_;
    std::string opener_;
};

}  // namespace

std::unique_ptr<HelpViewer> CreateSystemHelpViewer(UiServices& ui, const std::string& opener) {
    return std::make_unique<DesktopHelpViewer>(ui, opener);
}
