// The main window's placement text, title and history captions.
#include "mainwindowrules.h"

#include <algorithm>
#include <limits>

#include "dospath.h"
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
long toIntRange(long long value) {
    return static_cast<long>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
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

// Bounds that lie within one of the areas as they are; any others moved
// onto the area they overlap most (or the nearest), shrunk where larger.
WindowPlacement fitBounds(WindowPlacement bounds, const std::vector<WindowPlacement>& areas) {
    for (const auto& area : areas) {
        if (liesWithin(bounds, area)) return bounds;
    }
    const auto best = std::max_element(
        areas.begin(), areas.end(),
        [&](const auto& a, const auto& b) { return fitScore(bounds, a) < fitScore(bounds, b); });
    fitInto(bounds.left, bounds.width, best->left, best->width);
    fitInto(bounds.top, bounds.height, best->top, best->height);
    return bounds;
}

}  // namespace

WindowPlacement FitPlacementOnScreens(const WindowPlacement& placement,
                                      const std::vector<WindowPlacement>& availableAreas,
                                      const FrameMargins& frame) {
    if (availableAreas.empty()) return placement;
    // Worked out in long long: a stored value may be as large as a long.
    using Wide = long long;
    const Wide across = Wide{frame.left} + frame.right;
    const Wide down = Wide{frame.top} + frame.bottom;
    const WindowPlacement outer =
        fitBounds({toIntRange(Wide{toIntRange(placement.left)} - frame.left),
                   toIntRange(Wide{toIntRange(placement.top)} - frame.top),
                   toIntRange(std::max<Wide>(toIntRange(placement.width), 0) + across),
                   toIntRange(std::max<Wide>(toIntRange(placement.height), 0) + down)},
                  availableAreas);
    return {toIntRange(Wide{outer.left} + frame.left), toIntRange(Wide{outer.top} + frame.top),
            toIntRange(std::max<Wide>(outer.width - across, 0)),
            toIntRange(std::max<Wide>(outer.height - down, 0))};
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
