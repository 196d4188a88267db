// Texts that go into DOS: the command line made of dosrun's arguments, with
// its length limit, and the values that a batch file line may hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dosrun {

// The longest command line DOS passes to a program: its command tail holds
// 127 bytes with the closing carriage return.
constexpr std::size_t kMaxDosCommandLine = 126;

struct DosCommandLine {
    std::string line;   // as DOS sees it
    std::string error;  // why the arguments cannot form one; empty when they can
};

// The program and its arguments joined with blanks; an argument holding a
// blank or a character that the DOS shell would take for a redirection or
// a pipe is enclosed in double quotes. An argument that holds a double quote
// there, an odd number of them, or a control character is refused, as is a
// line longer than kMaxDosCommandLine.
DosCommandLine JoinDosCommandLine(const std::vector<std::string>& words);

// False for a word that no DOS program or command is named by: empty, or
// with a blank, a tab, "<", ">", "|" or a double quote (the shell would take
// it for several words, a redirection or a quoted name it never finds).
bool CanNameAProgram(std::string_view word);

// Why the text cannot stand in a batch file line as a value of SET or as
// the DOS PATH: a control character, or "<", ">", "|" or a double quote,
// which the DOS shell would act on. Nothing when it can.
std::optional<std::string> RefusalOfDosValue(std::string_view text);

// Why the host folder cannot be mounted: a control character or a double
// quote, which would end the quoted name in DOSBox's mount command.
std::optional<std::string> RefusalOfMountFolder(std::string_view folder);

// The text as a batch file line must hold it to mean the text itself: every
// "%" doubled, so no environment variable is expanded.
std::string BatchLiteral(std::string_view text);

// True for a program that DOS runs as a batch file (name ending in ".BAT").
bool IsBatchProgram(std::string_view program);

// True for a program file that DOS loads and starts (".COM", ".EXE").
bool IsProgramFile(std::string_view program);

}  // namespace dosrun
