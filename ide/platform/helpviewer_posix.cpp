// Help files opened with the desktop's viewer. Such viewers take no keyword,
// so a keyword search opens the file too; a missing file is reported here.
#include <filesystem>
#include <optional>

#include "childprocess.h"
#include "commandline_posix.h"
#include "commandtemplate.h"
#include "helpviewer.h"
#include "uiservices.h"

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
    DesktopHelpViewer(UiServices& ui, ChildProcesses& processes, std::string opener)
        : ui_(ui), processes_(processes), opener_(std::move(opener)) {}

    void contents(const std::string& helpFile) override { open(helpFile); }
    void keyword(const std::string& helpFile, const std::string&) override { open(helpFile); }
    void partialKey(const std::string& helpFile, const std::string&) override { open(helpFile); }
    // The desktop's viewer is a program of its own; it is left open.
    void quit(const std::string&) override {}

  private:
    void open(const std::string& helpFile) {
        const auto path = locateHelpFile(helpFile);
        if (!path) {
            ui_.showMessage(
                UiText("ヘルプファイル \"").data(helpFile).words("\" が見つかりません。"), "Vantor",
                MessageIcon::Stop);
            return;
        }
        startDetached(*path);
    }

    // The line runs by the shell's syntax ("cmd /c", see CommandSyntaxOf),
    // so that the viewer keeps none of the IDE's standard handles.
    void startDetached(const std::string& path) {
        CommandLineBuilder line(common::activeCodePage());
        line.appendTemplate("cmd /c exec ");
        line.appendValue(opener_, ValueQuotes::Always);
        line.appendTemplate(" ");
        line.appendValue(path, ValueQuotes::Always);
        line.appendTemplate(" </dev/null >/dev/null 2>&1");
        processes_.startDetached(line.text(), "", false);
    }

    UiServices& ui_;
    ChildProcesses& processes_;
    std::string opener_;
};

}  // namespace

std::unique_ptr<HelpViewer> CreateSystemHelpViewer(UiServices& ui, ChildProcesses& processes,
                                                   const std::string& opener) {
    return std::make_unique<DesktopHelpViewer>(ui, processes, opener);
}
