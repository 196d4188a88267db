// The message forms and their matcher. Input lines: a form in the notation,
// then lines of output. Each line is matched by the form (read in either
// code page) and read by the whole table with the form as the user's own.
//
// Promises: a match never takes more steps than the form's bound (the
// matcher cannot be made to backtrack without end); what a reading names
// is text of the line; a kind is a message's kind; and the table's reading
// is the same when the line is read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codepage.h"
#include "fuzzinput.h"
#include "messageform.h"
#include "messageline.h"

namespace {

void checkReading(const MessageReading& reading, std::string_view line) {
    fuzz::require(line.find(reading.file) != std::string_view::npos, "a file not in the line");
    fuzz::require(line.find(reading.number) != std::string_view::npos, "a number not in the line");
    fuzz::require(reading.kind == LineKind::Error || reading.kind == LineKind::Warning ||
                      reading.kind == LineKind::Note,
                  "a message of no message kind");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(fuzz::asText(data, size), '\n');
    const std::string form(fields.front());
    for (const common::CodePage cp : {common::CodePage::Utf8, common::CodePage::ShiftJis}) {
        const auto compiled = MessageForm::compile(form, cp);
        fuzz::require(compiled.form.has_value() != !compiled.error.empty(),
                      "a form both read and refused");
        const MessageReader reader(cp, {{"fuzz", form}});
        for (std::size_t i = 1; i < fields.size(); ++i) {
            const std::string_view line = fields[i];
            if (compiled.form) {
                if (const auto reading = compiled.form->match(line)) checkReading(*reading, line);
                fuzz::require(compiled.form->lastSteps() <= compiled.form->stepBound(line.size()),
                              "a match took more steps than its bound");
            }
            const auto reading = reader.read(line);
            if (reading) checkReading(*reading, line);
            fuzz::require(reading == reader.read(line), "a line read twice reads differently");
        }
    }
    return 0;
}
