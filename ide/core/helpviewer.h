// The help engine that shows the IDE's and the compiler's help files. The
// viewer itself reports a help file that does not exist.
#pragma once

#include <memory>
#include <string>

class ChildProcesses;
class UiServices;

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;

    // The file's table of contents.
    virtual void contents(const std::string& helpFile) = 0;
    // The topic indexed under exactly this keyword.
    virtual void keyword(const std::string& helpFile, const std::string& key) = 0;
    // The keyword search, preset with the given start of a keyword.
    virtual void partialKey(const std::string& helpFile, const std::string& key) = 0;
    // Closes the file's window, if the engine has one open.
    virtual void quit(const std::string& helpFile) = 0;
};

// The system's viewer: WinHelp on Windows; elsewhere the desktop's viewer for
// the file, which takes no keyword, so searches open the file. `opener`, the
// program that opens a file with the desktop's viewer, is started through
// `processes` without waiting; a help file that cannot be found is reported
// through `ui`. Neither is used on Windows.
std::unique_ptr<HelpViewer> CreateSystemHelpViewer(UiServices& ui, ChildProcesses& processes,
                                                   const std::string& opener = "xdg-open");
