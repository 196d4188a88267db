// The main window's placement text, title and history captions.
#include "mainwindowrules.h"

#include <algorithm>
#include <limits>

#include "project.h"
#include "settings.h"

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

// Screen coordinates fit an int; so do the values the window takes.
long toIntRange(long value) {
    return std::clamp<long>(value, std::numeric_limits<int>::min(),
                            std::numeric_limits<int>::max());
}

// Where [start, start + length) and [areaStart, areaStart + areaLength) meet:
// the length they share, or, as a negative number, the gap between them.
double sharedLength(long start, long length, long areaStart, long areaLength) {
    return std::min<double>(static_cast<double>(start) + length,
                            static_cast<double>(areaStart) + areaLength) -
           std::max<double>(start, areaStart);
}

// How well a placement sits on an area: the size of the overlap when there
// is one (larger is better), else minus the squared distance.
double fitScore(const WindowPlacement& p, const WindowPlacement& area) {
    const double x = sharedLength(p.left, p.width, area.left, area.width);
    const double y = sharedLength(p.top, p.height, area.top, area.height);
    if (x > 0 && y > 0) return x * y;
    const double gapX = std::max(0.0, -x);
    const double gapY = std::max(0.0, -y);
    return -(gapX * gapX + gapY * gapY) - 1;
}

bool liesWithin(const WindowPlacement& p, const WindowPlacement& area) {
    return p.left >= area.left && p.top >= area.top && p.width >= 0 && p.height >= 0 &&
           p.left + p.width <= area.left + area.width && p.top + p.height <= area.top + area.height;
}

// One coordinate moved just far enough for [start, start + length) to lie
// within the area, the length no larger than the area's.
void fitInto(long& start, long& length, long areaStart, long areaLength) {
    length = std::clamp(length, 0L, std::max(areaLength, 0L));
    start = std::clamp(start, areaStart, areaStart + std::max(areaLength, 0L) - length);
}

}  // namespace

WindowPlacement FitPlacementOnScreens(const WindowPlacement& placement,
                                      const std::vector<WindowPlacement>& availableAreas) {
    if (availableAreas.empty()) return placement;
    WindowPlacement fitted{toIntRange(placement.left), toIntRange(placement.top),
                           toIntRange(placement.width), toIntRange(placement.height)};
    for (const auto& area : availableAreas) {
        if (liesWithin(fitted, area)) return fitted;
    }
    const auto best = std::max_element(
        availableAreas.begin(), availableAreas.end(),
        [&](const auto& a, const auto& b) { return fitScore(fitted, a) < fitScore(fitted, b); });
    fitInto(fitted.left, fitted.width, best->left, best->width);
    fitInto(fitted.top, fitted.height, best->top, best->height);
    return fitted;
}

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

std::string WindowTitle(const Project& project) {
    if (project.projectName.empty()) return "Vantor";
    return "Vantor - " + project.projectName + " (" + project.projectFolder + ")";
}

std::string HistoryCaption(const ProjectHistory& entry, common::CodePage cp) {
    return entry.projectName + " - " + common::folderPart(entry.projectFile, cp);
}
