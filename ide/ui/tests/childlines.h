// Lines put into the output window as a child's lines reach it through the
// runner: each read once by the built-in message forms.
#pragma once

#include <initializer_list>
#include <string>

#include "messageline.h"
#include "outputwindow.h"

inline void appendChildLines(OutputWindow& output, std::initializer_list<std::string> lines) {
    OutputLineReader reader(BuiltInMessageReader());
    for (const std::string& line : lines) output.append(reader.read(line));
}
