// Texts that go into DOS: the command line made of dosrun's arguments, with
// its length limit, and the values that a batch file line may hold.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dosrun {

// The longest command line DOS passes to a program: its command tail holds
// 127 bytes with the closing carriage return.
constexpr std::size_t kMaxDosCommandLine = 126;

// The program and its arguments joined with blanks into `line`, as DOS sees
// it; an argument holding a blank or a character that the DOS shell would
// take for a redirection or a pipe is enclosed in double quotes. An argument
// that holds a double quote there, an odd number of them, or a control
// character is refused, as is a line longer than kMaxDosCommandLine: false,
// with the reason in `error`, and `line` left as it was.
bool JoinDosCommandLine(const std::vector<std::string>& words, std::string* line,
                        std::string* error);

// False for a word that no DOS program or command is named by: empty, or
// with a blank, a tab, "<", ">", "|" or a double quote (the shell would take
// it for several words, a redirection or a quoted name it never finds).
bool CanNameAProgram(std::string_view word);

// Whether the text can stand in a batch file line as a value of SET or as
// the DOS PATH; false, with the reason in `error`, for a control character,
// or "<", ">", "|" or a double quote, which the DOS shell would act on.
bool CheckDosValue(std::string_view text, std::string* error);

// Whether the host folder can be mounted; false, with the reason in
// `error`, for a control character or a double quote, which would end the
// quoted name in DOSBox's mount command.
bool CheckMountFolder(std::string_view folder, std::string* error);

// The text as a batch file line must hold it to mean the text itself: every
// "%" doubled, so no environment variable is expanded.
std::string BatchLiteral(std::string_view text);

// True for a program that DOS runs as a batch file (name ending in ".BAT").
bool IsBatchProgram(std::string_view program);

// True for a program file that DOS loads and starts (".COM", ".EXE").
bool IsProgramFile(std::string_view program);

}  // namespace dosrun
