// The reading of a text value that lets a load go on past a wrong type.
#include "settingsfields.h"

void AppendLoadError(std::string* errors, const std::string& line) {
    if (errors != nullptr) *errors += (errors->empty() ? "" : "\n") + line;
}

std::string ReadText(RegistryAccess& reg, const std::string& name, const std::string& byDefault,
                     std::string* errors) {
    std::string error;
    std::string text = reg.readString(name, byDefault, &error);
    if (!error.empty()) AppendLoadError(errors, error);
    return text;
}
