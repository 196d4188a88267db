// The four rows: 0 the cc driver, 1 cl with link, 2 lcc, 3 Open Watcom.
#include "toolchains.h"

#include <algorithm>

namespace depmill {

namespace {

// The DOS toolchains build libraries with lib, whose response file holds the
// library, "y" to create it if need be, then the objects joined by "+", "&"
// continuing the list on the next line and ";" ending it.
const LibraryRules kLib = {
    .directCommand = "lib $(LIBRARY)+$(OF1: =+);",
    .responseFile = "makelib",
    .responseCommand = "lib @makelib",
    .firstLines = {"$(LIBRARY)", "y"},
    .groupSubstitution = ": =+",
    .continuation = "&",
    .end = ";",
};

// cl and lcc leave assembler sources to masm, which takes its object after
// the source, separated by a comma. lcc projects assemble with the same
// rule as cl ones, so both rows hold its macros.
const std::vector<MacroLine> kMasmMacros = {{"MAFLAGS", "/Mx /w2"}, {"MASM", "masm"}};
const SourceCommand kMasm = {
    .command = "$(MASM) $(MAFLAGS)",
    .objectOption = ",",
    .namesObjectFile = true,
    .objectAfterSource = true,
    .end = ";",
};

constexpr std::string_view kCompile = "$(CC) -c $(CFLAGS)";
// cc and lcc both drive the link as they drive the compiler.
constexpr std::string_view kDriverLink = "$(LINKER) $(LDFLAGS) -o$(PROGRAM) $(OFILES) $(LIBS)";

// The cc driver compiles C and assembler sources alike and hands the object
// folder to the compiler it runs.
const SourceCommand kCcCompile = {
    .command = kCompile,
    .objectOption = " -W2,/Fo",
};

const SourceCommand kClCompile = {
    .command = kCompile,
    .objectOption = " /Fo",
};

// lcc names the object file itself.
const SourceCommand kLccCompile = {
    .command = kCompile,
    .objectOption = " -o",
    .namesObjectFile = true,
};

// Open Watcom's tools name the object file in full with -fo=, always: the
// Linux-hosted ones would otherwise write *.o. The DOS-hosted ones take "/"
// within a name only inside quotes, where it is no option's start; the
// same makefile then builds under make on Linux and under wmake in DOS.
constexpr SourceCommand watcomCommand(std::string_view command) {
    return {
        .command = command,
        .objectOption = " -fo=",
        .namesObjectFile = true,
        .namesObjectAlways = true,
    };
}

const std::vector<MacroLine> kWatcomFlags = {{"CFLAGS", "-q -bt=dos -m$(MODEL) -w4 -ox"},
                                             {"LDFLAGS", "system dos op q"}};

const Toolchain kToolchains[] = {
    {
        .compiler = "cc",
        .linker = "cc",
        .programFlags = {{"CFLAGS", "-m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo"},
                         {"LDFLAGS", "-m$(MODEL) -s4096"}},
        // The database libraries reach the link through LDFLAGS.
        .databaseFlags = {{"DBLIB", "-llibdb"},
                          {"CFLAGS", "-m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt1024,/Gs,/nologo"},
                          {"LDFLAGS", "-m$(MODEL) -s20480 $(DBLIB) -TCPC98"}},
        .includeOption = " -I",
        .compile = kCcCompile,
        .compileCpp = kCcCompile,
        .assemble = kCcCompile,
        .directLink = kDriverLink,
        // The driver reads link.cc as further arguments; -Wl, passes the
        // linker's options through. The far-call option suits the large
        // model, which is also the default.
        .responseLink =
            {
                .ownRule = true,
                .command = "$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc",
                .firstLine = "-Wl,/SE:512,/NOE,/EXEPACK,/nologo",
                .largeModelLine = "-Wl,/FARCALLTRANSLATION,/PACKCODE",
            },
        .library = kLib,
    },
    {
        .compiler = "cl",
        .linker = "link",
        // cl's /A option takes the model letter in capitals.
        .upperCaseModel = true,
        .programFlags = {{"CFLAGS", "/A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo"},
                         {"LDFLAGS", "/stack:4096"}},
        // link takes the database libraries at the end of its response file.
        .databaseFlags = {{"DBLIB", "$(MODEL)libdb.lib $(MODEL)$(TARGET).lib"},
                          {"CFLAGS", "/A$(MODEL) /FPa /W4 /G1 /Otgel /Gt1024 /Gs /nologo"},
                          {"LDFLAGS", "/stack:20480"}},
        .includeOption = " /I",
        .compile = kClCompile,
        .compileCpp = kClCompile,
        .assemblerMacros = kMasmMacros,
        .assemble = kMasm,
        // link reads objects, program, map file and libraries, in that order.
        .directLink = "$(LINKER) $(LDFLAGS) $(OFILES),$(PROGRAM),nul,$(LIBS);",
        // The same four fields, one or more lines each, "+" continuing a
        // list; the options close the libraries' field.
        .responseLink =
            {
                .ownRule = true,
                .command = "$(LINKER) $(LDFLAGS) @link.cc;",
                .firstLine = "/SE:512 /EXEPACK /nologo+",
                .continuation = "+",
                .afterObjects = {"$(PROGRAM)", "nul"},
                .libraries = LinkedLibraries::InResponseFile,
                .closing = "/FARCALLTRANSLATION /PACKCODE ;",
                .databaseClosing = "$(DBLIB) /FARCALLTRANSLATION /PACKCODE ;",
            },
        .library = kLib,
    },
    {
        .compiler = "lcc",
        .linker = "lcc",
        // A database application gets no flags: lcc has no database setup.
        .programFlags = {{"CFLAGS", ""}, {"LDFLAGS", "-k'-s 1000'"}},
        .includeOption = " -I",
        .compile = kLccCompile,
        .compileCpp = kLccCompile,
        .assemblerMacros = kMasmMacros,
        .assemble = kMasm,
        .directLink = kDriverLink,
        // lcc reads "@file" as further arguments; link.cc lasts only as long
        // as the link, a comment line starting it anew.
        .responseLink =
            {
                .command = "$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc",
                .firstLine = "# link.cc for lcc.exe",
            },
        .library = kLib,
    },
    {
        .compiler = "wcc",
        .linker = "wlink",
        .folderSeparator = '/',
        .pathQuote = "\"",
        .programFlags = kWatcomFlags,
        // No database setup of its own: the application's flags are the same.
        .databaseFlags = kWatcomFlags,
        .includeOption = " -i=",
        .compile = watcomCommand("$(CC) $(CFLAGS)"),
        .cppMacros = {{"CXX", "wpp"}},
        .compileCpp = watcomCommand("$(CXX) $(CFLAGS)"),
        .assemblerMacros = {{"ASFLAGS", "-q -bt=dos -m$(MODEL)"}, {"AS", "wasm"}},
        .assemble = watcomCommand("$(AS) $(ASFLAGS)"),
        // wlink reads directives: the program's name, the objects' "file"
        // lists and the libraries' "library" lists, blanks separating the
        // names between braces. An empty list is an error to it, so a
        // libraries' one is written only for libraries the makefile names.
        .directLink = "$(LINKER) $(LDFLAGS) name $(PROGRAM) file { $(OFILES) }",
        .directLinkLibraries = " library { $(LIBS) }",
        .responseLink =
            {
                .ownRule = true,
                .command = "$(LINKER) $(LDFLAGS) @link.cc",
                .firstLine = "name $(PROGRAM)",
                .libraries = LinkedLibraries::InResponseFile,
                .objectLine = {.open = "file { ", .close = " }"},
                .libraryLine = {.open = "library { ", .close = " }"},
                .libraryLineWhenEmpty = false,
            },
        // wlib -n makes the library anew from the objects named, one or more
        // a line in its response file, which it looks for as *.lbc.
        .library =
            {
                .directCommand = "wlib -q -n $(LIBRARY) $(OF1)",
                .responseFile = "makelib.lbc",
                .responseCommand = "wlib -q -n $(LIBRARY) @makelib.lbc",
            },
        // wmake's own rm takes -f as rm does: no complaint about a file that
        // is not there.
        .remove = "-rm -f",
    },
};

}  // namespace

std::span<const Toolchain> toolchains() {
    return kToolchains;
}

const Toolchain& toolchainNumbered(int number) {
    return kToolchains[number];
}

std::optional<int> toolchainOfDigit(char digit) {
    const int number = digit - '0';
    if (number < 0 || number >= static_cast<int>(std::size(kToolchains))) return std::nullopt;
    return number;
}

std::optional<int> toolchainCompiling(std::string_view compiler) {
    const auto* row =
        std::find_if(std::begin(kToolchains), std::end(kToolchains),
                     [compiler](const Toolchain& t) { return t.compiler == compiler; });
    if (row == std::end(kToolchains)) return std::nullopt;
    return static_cast<int>(row - std::begin(kToolchains));
}

}  // namespace depmill
