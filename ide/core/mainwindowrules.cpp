// The main window's placement text, title and history captions.
#include "mainwindowrules.h"

#include <limits>

#include "proj.h"
#include "regist.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// One value at pos: "-"? digits*, stepping over one "," after it. A value
// too long for a long saturates instead of overflowing.
long readPlacementValue(std::string_view text, std::size_t& pos) {
    bool negative = false;
    if (pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    long value = 0;
    constexpr long kMax = std::numeric_limits<long>::max();
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        const int digit = text[pos] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    if (pos < text.size() && text[pos] == ',') ++pos;
    return negative ? -value : value;
}

}  // namespace

WindowPlacement ParseWindowPlacement(std::string_view text) {
    std::size_t pos = 0;
    WindowPlacement placement;
    placement.left = readPlacementValue(text, pos);
    placement.top = readPlacementValue(text, pos);
    placement.width = readPlacementValue(text, pos);
    placement.height = readPlacementValue(text, pos);
    return placement;
}

std::string FormatWindowPlacement(const WindowPlacement& placement) {
    return std::to_string(placement.left) + "," + std::to_string(placement.top) + "," +
           std::to_string(placement.width) + "," + std::to_string(placement.height);
}

std::string WindowTitle(const TPROJ& project) {
    if (project.projectname.empty()) return "Vantor";
    return "Vantor - " + project.projectname + " (" + project.projectfolder + ")";
}

std::string HistoryCaption(const ProjectHistory& entry, common::CodePage cp) {
    return entry.Project + " - " + common::folderPart(entry.ProjectFile, cp);
}
