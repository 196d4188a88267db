// The program's output as it comes from DOSBox's serial port: cut into
// lines, "\r\n" turned into "\n", every other byte kept, up to the end
// marker that the batch file writes once the program has ended.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dosrun {

class OutputRelay {
  public:
    // `marker`: the text of the batch file's last line, which no program
    // writes; `missingProgramLine`: what the DOS shell writes for a command
    // it cannot find ("Illegal command: NAME."), compared ignoring case;
    // empty where no shell writes.
    OutputRelay(std::string marker, std::string missingProgramLine);

    // Takes bytes that arrived and returns the complete lines among them,
    // ready to write out. After the marker nothing more is taken.
    std::string feed(std::string_view bytes);
    // What is left of a line without line end, when no more bytes will come.
    std::string finish();

    bool ended() const { return ended_; }
    bool sawMissingProgram() const { return sawMissingProgram_; }

  private:
    std::string completeLine(std::string line);

    std::string marker_;
    std::string missingProgramLine_;
    std::string pending_;
    bool ended_ = false;
    bool sawMissingProgram_ = false;
};

}  // namespace dosrun
