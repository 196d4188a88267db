#include "helpfilecheck.h"

void HelpFileCheck::contents(const std::string& helpFile) {
    if (isSet(helpFile)) viewer_.contents(helpFile);
}

void HelpFileCheck::keyword(const std::string& helpFile, const std::string& key) {
    if (isSet(helpFile)) viewer_.keyword(helpFile, key);
}

void HelpFileCheck::partialKey(const std::string& helpFile, const std::string& key) {
    if (isSet(helpFile)) viewer_.partialKey(helpFile, key);
}

void HelpFileCheck::quit(const std::string& helpFile) {
    if (!helpFile.empty()) viewer_.quit(helpFile);
}

bool HelpFileCheck::isSet(const std::string& helpFile) {
    if (!helpFile.empty()) return true;
    ui_.showMessage(kHelpFileNotSetMessage, "Vantor", MessageIcon::Stop);
    return false;
}
