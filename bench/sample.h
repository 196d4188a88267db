// The compiler output the benchmarks read: lines of 74 characters and a line
// feed, Microsoft C warnings, the last one an error.
#pragma once

#include <cstdio>
#include <fstream>
#include <string>

namespace benchsample {

inline std::string Line(long index, long count) {
    static const char* const kinds[] = {"warning C4101: 'x' : unreferenced local variable",
                                        "warning C4013: 'printf' undefined; assuming extern",
                                        "error C2065: 'count' : undeclared identifier"};
    char line[160];
    std::snprintf(line, sizeof line, "src/module_%03ld.c(%ld) : %s", index % 1000, index % 5000 + 1,
                  kinds[index + 1 == count ? 2 : index % 2]);
    std::string text(line);
    text.resize(74, '.');
    return text;
}

inline void WriteLines(const std::string& path, long count) {
    std::ofstream out(path, std::ios::binary);
    for (long i = 0; i < count; ++i) out << Line(i, count) << '\n';
}

}  // namespace benchsample
