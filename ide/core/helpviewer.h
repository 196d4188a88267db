// The help engine that shows the IDE's and the compiler's help files. The
// viewer itself reports a help file that does not exist.
#pragma once

#include <string>

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
