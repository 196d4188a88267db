// The toolchains a makefile is written for, one row each, numbered as -t
// and DEPMILLOPT's T count them: everything that differs between them in
// the macro block, the source rules, the link rules and the clean rule.
// The makefile text reads the row and never asks which toolchain it is.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace depmill {

// One definition of the macro block.
struct MacroLine {
    std::string_view name;
    std::string_view value;
};

// Every part of a row a toolchain has no use for is left empty or false.

// The command of a source rule: the tool, the include options, the source
// and, when an object folder is set, where the object goes.
struct SourceCommand {
    std::string_view command;        // the tool and its flags macro
    std::string_view objectOption;   // stands before "$(OUTDIR)\"
    bool namesObjectFile = false;    // the option takes the object's name, not only its folder
    bool objectAfterSource = false;  // the option follows the source name instead of preceding it
    std::string_view end = {};       // closes the command
    // The object is named without an object folder too: the tool's own
    // object extension is not the makefile's everywhere.
    bool namesObjectAlways = false;
};

// How one group of a list stands on its line of a response file.
struct ListLine {
    std::string_view open = {};   // before the group
    std::string_view close = {};  // after it
};

// Where a link through a response file takes the libraries from.
enum class LinkedLibraries {
    OnCommandLine,   // $(LIBS) on the command line; only groups (LIBS1, ...) go in the file
    InResponseFile,  // always in the file, after the objects
};

// A link whose object list, and libraries where needed, are echoed into
// link.cc one line each, so that no command line grows past what DOS takes.
struct ResponseFileLink {
    // True: a rule of its own writes link.cc from the makefile, so the file
    // outlives the link and clean removes it. False: the link's own recipe
    // writes it and removes it after linking.
    bool ownRule = false;
    std::string_view command;                         // the link command that reads link.cc
    std::string_view firstLine;                       // the file's first line, starting it anew
    std::string_view largeModelLine = {};             // next, when the model kept is large or unset
    std::string_view continuation = {};               // ends every line of a list but its last
    std::vector<std::string_view> afterObjects = {};  // lines between the objects and the libraries
    LinkedLibraries libraries = LinkedLibraries::OnCommandLine;
    ListLine objectLine = {};   // each object group's line
    ListLine libraryLine = {};  // each library line's, a single $(LIBS) too
    // False: no library line for a list the makefile leaves empty (a linker
    // that refuses an empty list); the direct link's libraries likewise.
    bool libraryLineWhenEmpty = true;
    // What follows the libraries: after a blank on the line of a single
    // $(LIBS), else on a line of its own when not empty.
    std::string_view closing = {};
    std::string_view databaseClosing = {};  // the same for a database application
};

// How a library is built from the objects: directly from the one object
// group, or through a response file (makelib).
struct LibraryRules {
    std::string_view directCommand;
    std::string_view responseFile;     // the librarian's response file
    std::string_view responseCommand;  // the command that reads it
    std::vector<std::string_view> firstLines = {};
    std::string_view groupSubstitution = {};  // turns a group's blanks into the librarian's "+"
    std::string_view continuation = {};       // ends every group's line but the last
    std::string_view end = {};                // ends the last group's line
};

struct Toolchain {
    std::string_view compiler;    // CC, and the CC of a previous makefile that picks this row
    std::string_view linker;      // LINKER
    bool upperCaseModel = false;  // how MODEL's letter is written
    // Between the folders of every path the makefile writes ("\" turned
    // into it), and around a path in a source command's options.
    char folderSeparator = '\\';
    std::string_view pathQuote = {};
    // A program's flag macros; CFLAGS comes first, as a library takes that line alone.
    std::vector<MacroLine> programFlags;
    std::vector<MacroLine> databaseFlags = {};  // a database application's instead
    std::string_view includeOption;             // before each include folder of a source's command
    SourceCommand compile;                      // C sources, generated grammar ones too
    std::vector<MacroLine> cppMacros = {};      // when a source is compiled as C++
    SourceCommand compileCpp;
    std::vector<MacroLine> assemblerMacros = {};
    SourceCommand assemble;
    std::string_view directLink;  // the command linking objects and $(LIBS) directly
    // Follows the direct link when the makefile names libraries.
    std::string_view directLinkLibraries = {};
    ResponseFileLink responseLink;
    LibraryRules library;
    std::string_view remove = "-rm";  // removes files in the library and clean rules
};

// Every row, in the order of the numbers.
std::span<const Toolchain> toolchains();

// The row of a number the options hold (one of toolchains()).
const Toolchain& toolchainNumbered(int number);

// The number written as this digit, if it names a row.
std::optional<int> toolchainOfDigit(char digit);

// The number of the row whose compiler is exactly this CC value, if any.
std::optional<int> toolchainCompiling(std::string_view compiler);

}  // namespace depmill
