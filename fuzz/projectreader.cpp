// The project reader on any makefile, in both code pages: the head block
// read from a file, then the project record filled from it.
#include <cstddef>
#include <cstdint>

#include "fakeuiservices.h"
#include "fuzzinput.h"
#include "project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::writeScratchFile(fuzz::asText(data, size));
    for (const auto cp : {common::CodePage::Utf8, common::CodePage::ShiftJis}) {
        FakeUiServices ui;
        MakefileMacros macros;
        const int count = ReadMakefileMacros(path, macros, ui, cp);
        if (count < 0) {
            fuzz::require(count == -1 && macros.empty() && ui.messages.size() == 1,
                          "a refused makefile leaves definitions or no single message");
            continue;
        }
        fuzz::require(static_cast<std::size_t>(count) == macros.size() &&
                          count <= kMaxMakefileMacros && ui.messages.empty(),
                      "the definition count disagrees with what was read");
        Project project;
        ApplyMakefileMacros(project, path, macros, cp);
        fuzz::require(project.memoryModel <= 4, "a memory model outside 0 to 4");
        FindMakefileMacro(macros, "OUTDIR");
    }
    return 0;
}
