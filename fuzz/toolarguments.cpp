// The tool-argument macros. Input lines: the argument text, the project's
// makefile path, its name, its target name, the tool's folder and, when
// present, the file the chooser answers (else the chooser is cancelled).
#include <cstddef>
#include <cstdint>

#include "codepage.h"
#include "fuzzinput.h"
#include "proj.h"
#include "toolopt.h"

namespace {

std::string field(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? std::string(fields[index]) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> fields = fuzz::splitFields(fuzz::asText(data, size), '\n');
    const std::string original = field(fields, 0);
    const std::optional<std::string> answer =
        fields.size() > 5 ? std::optional<std::string>(fields[5]) : std::nullopt;
    for (const auto cp : {common::CodePage::Utf8, common::CodePage::ShiftJis}) {
        TPROJ project;
        project.projectfilename = field(fields, 1);
        project.projectfolder = common::folderPart(project.projectfilename, cp);
        project.projectname = field(fields, 2);
        project.targetname = field(fields, 3);
        std::string arguments = original;
        const bool expanded = ExpandToolArguments(
            arguments, project, field(fields, 4),
            [&answer](const std::string&) { return answer; }, cp);
        fuzz::require(expanded || arguments == original, "a cancelled expansion changed the text");
        fuzz::require(original.find('$') != std::string::npos || arguments == original,
                      "a text without macros changed");
    }
    return 0;
}
