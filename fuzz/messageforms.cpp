// The message forms and their matcher. Input lines: a form in the notation,
// then lines of output. Each line is matched by the form (read in either
// code page) and read by the whole table with the form as the user's own.
//
// Promises: a match never takes more steps than the form's bound (the
// matcher cannot be made to backtrack without end); what a reading names
// is text of the line; a kind is a message's kind; the table's reading is
// the same when the line is read again; and the output store gives back
// each line and its reading as they went in, kept at one byte a character
// or in UTF-16, while older lines leave.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "codepage.h"
#include "fuzzinput.h"
#include "messageform.h"
#include "messageline.h"
#include "outputstore.h"

namespace {

void checkReading(const MessageReading& reading, std::string_view line) {
    fuzz::require(line.find(reading.file) != std::string_view::npos, "a file not in the line");
    fuzz::require(line.find(reading.number) != std::string_view::npos, "a number not in the line");
    fuzz::require(reading.kind == LineKind::Error || reading.kind == LineKind::Warning ||
                      reading.kind == LineKind::Note,
                  "a message of no message kind");
}

// Keeps the last lines with their readings beside a small store.
class StoreCheck {
  public:
    void add(std::string_view line, const std::optional<MessageReading>& reading, bool wide) {
        std::u16string text(line.size(), u'\0');
        for (std::size_t i = 0; i < line.size(); ++i)
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(line[i]));
        if (wide) text += u'\u30bd';
        std::optional<MessageReading> kept = reading;
        if (kept) kept->directory = "/folder/" + std::to_string(added_++ / 3 % 2);
        store_.append(text, LineKind::Plain, kept ? &*kept : nullptr);
        expected_.emplace_back(std::move(text), std::move(kept));
        while (expected_.size() > store_.lineCount()) expected_.pop_front();
        for (std::size_t i = 0; i < expected_.size(); ++i) {
            fuzz::require(store_.text(i).copy() == expected_[i].first, "a stored line changed");
            const MessageReading* read = store_.message(i);
            fuzz::require(expected_[i].second ? read != nullptr && *read == *expected_[i].second
                                              : read == nullptr,
                          "a stored reading changed");
        }
    }

  private:
    OutputStore store_{6, 1 << 16};
    std::deque<std::pair<std::u16string, std::optional<MessageReading>>> expected_;
    unsigned added_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::splitFields(fuzz::asText(data, size), '\n');
    const std::string form(fields.front());
    StoreCheck store;
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
            store.add(line, reading, i % 2 == 0);
        }
    }
    return 0;
}
