// A text the IDE shows the user in a box, a title or a caption: its own
// words, which the source holds as UTF-8, with data set in among them (a
// name, a path), which is in the active code page like all the IDE's data.
// The window system converts each part by its own rule, so neither garbles
// the other under a Shift-JIS code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"

class UiText {
  public:
    struct Part {
        bool isData;  // else the program's own words, UTF-8
        std::string bytes;
    };

    UiText() = default;
    // The program's own words.
    UiText(const char* words) { this->words(words); }
    UiText(const std::string& words) { this->words(words); }

    UiText& words(std::string_view text) {
        parts_.push_back({false, std::string(text)});
        return *this;
    }
    UiText& data(std::string_view bytes) {
        parts_.push_back({true, std::string(bytes)});
        return *this;
    }

    const std::vector<Part>& parts() const { return parts_; }

    // The parts' bytes in a row, as they are without conversion.
    std::string bytes() const {
        std::string all;
        for (const Part& part : parts_) all += part.bytes;
        return all;
    }

  private:
    std::vector<Part> parts_;
};

// A word of the program's own that becomes part of the user's data (a
// tool record, a message form), and so is stored in the active code page
// like the rest of it.
struct DataWord {
    std::string_view utf8;
    std::string_view shiftJis;

    std::string in(common::CodePage cp) const {
        return std::string(cp == common::CodePage::ShiftJis ? shiftJis : utf8);
    }
};
