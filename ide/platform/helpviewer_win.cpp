// Help files shown by the Windows help engine, owned by the application's
// active window. The engine itself reports a missing file or keyword.
#include <windows.h>

#include "helpviewer.h"

namespace {

class WinHelpViewer : public HelpViewer {
  public:
    void contents(const std::string& helpFile) override { call(helpFile, HELP_CONTENTS, 0); }
    void keyword(const std::string& helpFile, const std::string& key) override {
        call(helpFile, HELP_KEY, reinterpret_cast<ULONG_PTR>(key.c_str()));
    }
    void partialKey(const std::string& helpFile, const std::string& key) override {
        call(helpFile, HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(key.c_str()));
    }
    void quit(const std::string& helpFile) override { call(helpFile, HELP_QUIT, 0); }

  private:
    static void call(const std::string& helpFile, UINT command, ULONG_PTR data) {
        WinHelpA(GetActiveWindow(), helpFile.c_str(), command, data);
    }
};

}  // namespace

std::unique_ptr<HelpViewer> CreateSystemHelpViewer(UiServices&, ChildProcesses&,
                                                   const std::string&) {
    return std::make_unique<WinHelpViewer>();
}
