// A help viewer in front of the system's that first checks that the help
// file of a command is set: an unset one (empty, as every help file starts
// on Linux) is reported in one message box instead of being opened.
#pragma once

#include <string>

#include "helpviewer.h"
#include "uiservices.h"

inline constexpr const char* kHelpFileNotSetMessage =
    "ヘルプファイルの指定がありません。\n"
    "オプション(O) - 環境(E) の「ヘルプファイル」で指定してください。";

class HelpFileCheck : public HelpViewer {
  public:
    HelpFileCheck(HelpViewer& viewer, UiServices& ui) : viewer_(viewer), ui_(ui) {}

    void contents(const std::string& helpFile) override;
    void keyword(const std::string& helpFile, const std::string& key) override;
    void partialKey(const std::string& helpFile, const std::string& key) override;
    // Closing an unset file has nothing to close and says nothing.
    void quit(const std::string& helpFile) override;

  private:
    // True when the file is set; otherwise shows the message.
    bool isSet(const std::string& helpFile);

    HelpViewer& viewer_;
    UiServices& ui_;
};
