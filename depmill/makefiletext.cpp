// Composes the makefile text for the three toolchains (0 cc, 1 cl + link,
// 2 lcc), for programs and libraries, with response files where the object
// or library lists are split into groups or response files are asked for.
#include "makefiletext.h"

#include <algorithm>

#include "dospath.h"
#include "fileaccess.h"
#include "makefilenames.h"

namespace depmill {

using common::joinFolder;
using common::replaceExtension;

namespace {

constexpr std::string_view kCompilers[] = {"cc", "cl", "lcc"};
constexpr std::string_view kLinkers[] = {"cc", "link", "lcc"};

struct FlagLine {
    std::string_view name;
    std::string_view value;
};

// The default flag lines of a program, by toolchain, for an ordinary and a
// database application. A library takes the CFLAGS line of the ordinary row.
const std::vector<FlagLine>& defaultFlags(int toolchain, bool database) {
    static const std::vector<FlagLine> kOrdinary[] = {
        {{"CFLAGS", "-m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt,/nologo"}, {"LDFLAGS", "-m$(MODEL) -s4096"}},
        {{"CFLAGS", "/A$(MODEL) /FPa /W4 /G1 /Otgel /Gt /nologo"}, {"LDFLAGS", "/stack:4096"}},
        {{"CFLAGS", ""}, {"LDFLAGS", "-k'-s 1000'"}},
    };
    static const std::vector<FlagLine> kDatabase[] = {
        {{"DBLIB", "-llibdb"},
         {"CFLAGS", "-m$(MODEL) -W0,/W4,/G1,/Otgel,/Gt1024,/Gs,/nologo"},
         {"LDFLAGS", "-m$(MODEL) -s20480 $(DBLIB) -TCPC98"}},
        {{"DBLIB", "$(MODEL)libdb.lib $(MODEL)$(TARGET).lib"},
         {"CFLAGS", "/A$(MODEL) /FPa /W4 /G1 /Otgel /Gt1024 /Gs /nologo"},
         {"LDFLAGS", "/stack:20480"}},
        {},
    };
    return database ? kDatabase[toolchain] : kOrdinary[toolchain];
}

std::string groupRef(std::string_view prefix, std::size_t k, std::string_view suffix = "") {
    return "$(" + std::string(prefix) + std::to_string(k) + std::string(suffix) + ")";
}

class Composer {
  public:
    Composer(const std::vector<SourceFile>& sources, const GeneratorOptions& options,
             const MacroTable& previous)
        : sources_(sources), options_(options), previous_(previous), cp_(options.codePage) {}

    std::string compose(const std::tm& now) {
        header(now);
        macroBlock();
        objectGroups();
        if (options_.library) {
            libraryRules();
        } else {
            programRules();
        }
        for (const SourceFile& source : sources_) sourceRules(source);
        cleanRule();
        return std::move(text_);
    }

  private:
    void define(std::string_view name, std::string_view value) {
        text_.append(name).append("\t= ").append(value).append("\n");
    }

    // Writes the previous makefile's definition of the name; false if none.
    bool keep(std::string_view name) {
        const std::optional<std::string_view> value = previous_.lookupMacro(name);
        if (value) define(name, *value);
        return value.has_value();
    }

    bool anySource(SourceKind kind) const {
        return std::any_of(sources_.begin(), sources_.end(),
                           [kind](const SourceFile& s) { return s.kind == kind; });
    }

    void header(const std::tm& now) {
        text_ += "# make makefile at: " + std::to_string(now.tm_year) + "/" +
                 std::to_string(now.tm_mon + 1) + "/" + std::to_string(now.tm_mday) + " " +
                 std::to_string(now.tm_hour) + ":" + std::to_string(now.tm_min) + "\n\n";
    }

    void macroBlock() {
        const int toolchain = options_.toolchain;
        if (options_.model != 0 || !keep("MODEL")) {
            char model = options_.model != 0 ? options_.model : 'l';
            if (toolchain == 1) model = static_cast<char>(model - 'a' + 'A');
            define("MODEL", std::string(1, model));
        }
        if (!keep("CC")) define("CC", kCompilers[toolchain]);
        if (options_.library) {
            if (!keep("CFLAGS")) {
                const FlagLine& cflags = defaultFlags(toolchain, false).front();
                define(cflags.name, cflags.value);
            }
        } else {
            if (!keep("LINKER")) define("LINKER", kLinkers[toolchain]);
            if (previous_.lookupMacro("CFLAGS")) {
                for (std::string_view name : {"DBLIB", "CFLAGS", "LDFLAGS"}) keep(name);
            } else {
                for (const FlagLine& line : defaultFlags(toolchain, options_.database)) {
                    define(line.name, line.value);
                }
            }
        }
        if (anySource(SourceKind::EmbeddedSql)) {
            define("ECFLAGS", "-L");
            define("EC", "esql");
        }
        // lcc projects assemble with the same rule as cl ones, so they need
        // the assembler macros as well.
        if (toolchain != 0 && anySource(SourceKind::Assembler)) {
            define("MAFLAGS", "/Mx /w2");
            define("MASM", "masm");
        }
        text_ += "\nHDRPATH\t=";
        for (const std::string& dir : options_.includeDirs) text_ += " " + dir;
        text_ += "\n";
        define("OUTDIR", options_.outDir.value_or("."));
        text_ += "\n";
    }

    void objectGroups() {
        std::vector<std::string> names;
        for (const SourceFile& source : sources_)
            names.push_back(objectName(source.name, options_));
        const auto groups = groupObjectNames(names);
        objectGroups_ = groups.size();
        for (std::size_t k = 1; k <= groups.size(); ++k) {
            if (k > 1) text_ += "\n";
            text_ += "OF" + std::to_string(k) + "\t=";
            for (const std::string& name : groups[k - 1]) text_ += " " + name;
        }
        text_ += objectGroups_ > 1 ? "\n\n" : "\n";
        text_ += "OFILES\t=";
        for (std::size_t k = 1; k <= objectGroups_; ++k) text_ += " " + groupRef("OF", k);
        text_ += "\n\n";
    }

    void libraryMacros() {
        if (previous_.lookupMacro("LIBS1")) {
            std::string all;
            for (std::size_t k = 1; keep("LIBS" + std::to_string(k)); ++k) {
                all += " " + groupRef("LIBS", k);
                libraryGroups_ = k;
            }
            text_ += "LIBS\t=" + all + "\n\n";
        } else if (const auto libs = previous_.lookupMacro("LIBS")) {
            text_ += "LIBS\t= " + std::string(*libs) + "\n\n";
            libraryGroups_ = 1;
        } else if (options_.database) {
            text_ += "LIBS\t= ..\\tools\\tools.lib\n\n";
            libraryGroups_ = 1;
        } else {
            text_ += "LIBS\t=\n\n";
        }
    }

    // Each object group (and, with several, each library group) echoed into
    // the response file, one line each.
    void echoGroups(std::string_view responseFile, bool withLibraries) {
        for (std::size_t k = 1; k <= objectGroups_; ++k) {
            text_ += "\t@echo " + groupRef("OF", k) + ">>" + std::string(responseFile) + "\n";
        }
        if (!withLibraries || libraryGroups_ <= 1) return;
        for (std::size_t k = 1; k <= libraryGroups_; ++k) {
            text_ += "\t@echo " + groupRef("LIBS", k) + ">>" + std::string(responseFile) + "\n";
        }
    }

    std::string linkedLibraries() const { return libraryGroups_ <= 1 ? " $(LIBS)" : ""; }

    void programRules() {
        libraryMacros();
        const std::string name =
            options_.target
                ? *options_.target
                : std::string(previous_.lookupMacro("PROGRAM").value_or("$(OUTDIR)\\a.exe"));
        text_ += "PROGRAM\t= " + name + "\n\nall: $(PROGRAM)\n\n";
        const bool direct = objectGroups_ == 1 && libraryGroups_ <= 1 && !options_.responseFiles;
        if (direct) {
            text_ += "$(PROGRAM): $(OFILES) $(LIBS) makefile\n\t$(LINKER) $(LDFLAGS)";
            text_ += options_.toolchain == 1 ? " $(OFILES),$(PROGRAM),nul,$(LIBS);\n\n"
                                             : " -o$(PROGRAM) $(OFILES) $(LIBS)\n\n";
        } else if (options_.toolchain == 0) {
            ccLinkRules();
        } else if (options_.toolchain == 1) {
            clLinkRules();
        } else {
            lccLinkRules();
        }
    }

    void ccLinkRules() {
        text_ += "$(PROGRAM): $(OFILES) $(LIBS) link.cc\n\t@echo Linking...\n";
        text_ += "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) link.cc" + linkedLibraries() + "\n\n";
        text_ += "link.cc: makefile\n\t@echo Creating link.cc...\n";
        text_ += "\t@echo -Wl,/SE:512,/NOE,/EXEPACK,/nologo>link.cc\n";
        // The far-call option suits the large model, which is also the default.
        const std::optional<std::string_view> model = previous_.lookupMacro("MODEL");
        if (!model || *model == "l")
            text_ += "\t@echo -Wl,/FARCALLTRANSLATION,/PACKCODE>>link.cc\n";
        echoGroups("link.cc", true);
        text_ += "\n";
    }

    void clLinkRules() {
        text_ += "$(PROGRAM): $(OFILES) $(LIBS) link.cc\n\t@echo Linking...\n";
        text_ += "\t$(LINKER) $(LDFLAGS) @link.cc;\n\n";
        text_ += "link.cc: makefile\n\t@echo Creating link.cc...\n";
        text_ += "\t@echo /SE:512 /EXEPACK /nologo+>link.cc\n";
        // link reads objects, program, map and libraries; "+" continues a list.
        for (std::size_t k = 1; k <= objectGroups_; ++k) {
            text_ +=
                "\t@echo " + groupRef("OF", k) + (k < objectGroups_ ? "+" : "") + ">>link.cc\n";
        }
        text_ += "\t@echo $(PROGRAM)>>link.cc\n\t@echo nul>>link.cc\n";
        if (libraryGroups_ <= 1) {
            text_ += "\t@echo $(LIBS)";
        } else {
            for (std::size_t k = 1; k <= libraryGroups_; ++k) {
                text_ += "\t@echo " + groupRef("LIBS", k) + (k < libraryGroups_ ? "+" : "") +
                         ">>link.cc\n";
            }
            text_ += "\t@echo";
        }
        if (options_.database) text_ += " $(DBLIB)";
        text_ += " /FARCALLTRANSLATION /PACKCODE ;>>link.cc\n\n";
    }

    void lccLinkRules() {
        text_ += "$(PROGRAM): $(OFILES) $(LIBS) makefile\n\t@echo Linking...\n";
        text_ += "\t@echo # link.cc for lcc.exe>link.cc\n";
        echoGroups("link.cc", true);
        text_ += "\t$(LINKER) $(LDFLAGS) -o$(PROGRAM) @link.cc" + linkedLibraries() + "\n";
        text_ += "\t@-rm link.cc\n\n";
    }

    void libraryRules() {
        const std::string name =
            options_.target
                ? *options_.target
                : std::string(previous_.lookupMacro("LIBRARY").value_or("$(OUTDIR)\\a.lib"));
        text_ += "LIBRARY\t= " + name + "\n\nall: $(LIBRARY)\n\n";
        if (objectGroups_ == 1 && !options_.responseFiles) {
            text_ +=
                "$(LIBRARY): $(OFILES) makefile\n\t-rm $(LIBRARY)\n\tlib $(LIBRARY)+$(OF1: "
                "=+);\n\n";
            return;
        }
        text_ += "$(LIBRARY): $(OFILES) makelib\n\t-rm $(LIBRARY)\n\tlib @makelib\n\n";
        text_ += "makelib: makefile\n\t@echo Creating makelib...\n";
        text_ += "\t@echo $(LIBRARY)>makelib\n\t@echo y>>makelib\n";
        for (std::size_t k = 1; k <= objectGroups_; ++k) {
            text_ += "\t@echo " + groupRef("OF", k, ": =+") + (k < objectGroups_ ? "&" : ";") +
                     ">>makelib\n";
        }
        text_ += "\n";
    }

    // The dependency line "target: first deps...", returning the include
    // options of the folders the dependencies were found in, each once.
    std::string dependencyLine(const std::string& target, const std::string& first,
                               const std::vector<IncludeDep>& deps) {
        text_ += target + ": " + first;
        std::vector<std::string_view> used;
        std::string includeOptions;
        for (const IncludeDep& dep : deps) {
            const std::string name = escapedForMake(dep.name);
            text_ += " ";
            if (!dep.dir) {
                text_ += name;
                continue;
            }
            text_ += joinFolder(*dep.dir, name, cp_);
            if (std::find(used.begin(), used.end(), *dep.dir) != used.end()) continue;
            used.push_back(*dep.dir);
            includeOptions += (options_.toolchain == 1 ? " /I" : " -I") + *dep.dir;
        }
        text_ += "\n";
        return includeOptions;
    }

    // The compile command of a C or C++ file (also assembler with cc). The
    // file already has its extension (.c, .cpp, .asm in any case, as the
    // source patterns matched it), so it is named exactly as it exists.
    void compileCommand(const std::string& file, const std::string& includeOptions) {
        text_ += "\t$(CC) -c $(CFLAGS)" + includeOptions;
        if (options_.outDir) {
            static constexpr std::string_view kOutputOption[] = {" -W2,/Fo", " /Fo", " -o"};
            text_ += std::string(kOutputOption[options_.toolchain]) + "$(OUTDIR)\\";
            // lcc wants the whole object name; the others take a folder.
            if (options_.toolchain == 2) text_ += replaceExtension(file, options_.objectExt, cp_);
        }
        text_ += " " + file + "\n\n";
    }

    void grammarRules(const SourceFile& grammar) {
        const std::string asC = replaceExtension(grammar.name, "c", cp_);
        const bool isC = canOpenForReading(common::nativePath(asC, cp_));
        const std::string generated = isC ? asC : replaceExtension(grammar.name, "cpp", cp_);
        const std::string includeOptions = dependencyLine(generated, grammar.name, grammar.deps);
        text_ += "\tyacc -o " + generated + " " + grammar.name + "\n\n";
        text_ += objectName(grammar.name, options_) + ": " + generated + "\n";
        compileCommand(generated, includeOptions);
    }

    void sourceRules(const SourceFile& source) {
        if (source.kind == SourceKind::Grammar) {
            grammarRules(source);
            return;
        }
        const std::string includeOptions =
            dependencyLine(objectName(source.name, options_), source.name, source.deps);
        switch (source.kind) {
            case SourceKind::EmbeddedSql:
                text_ += "\t$(EC) -c $(ECFLAGS)" + includeOptions + " " + source.name + "\n\trm " +
                         replaceExtension(source.name, "c", cp_) + "\n\n";
                break;
            case SourceKind::Assembler:
                if (options_.toolchain == 0) {
                    compileCommand(source.name, includeOptions);
                    break;
                }
                text_ += "\t$(MASM) $(MAFLAGS)" + includeOptions + " " + source.name;
                if (options_.outDir) {
                    text_ +=
                        ",$(OUTDIR)\\" + replaceExtension(source.name, options_.objectExt, cp_);
                }
                text_ += ";\n\n";
                break;
            case SourceKind::Cpp:
            case SourceKind::C:
            case SourceKind::Grammar:
                compileCommand(source.name, includeOptions);
                break;
        }
    }

    void cleanRule() {
        text_ += "clean:\n";
        if (objectGroups_ > 1 || options_.responseFiles) {
            if (options_.library) {
                text_ += "\t-rm makelib\n";
            } else if (options_.toolchain != 2) {
                text_ += "\t-rm link.cc\n";
            }
        }
        for (std::size_t k = 1; k <= objectGroups_; ++k)
            text_ += "\t-rm " + groupRef("OF", k) + "\n";
    }

    const std::vector<SourceFile>& sources_;
    const GeneratorOptions& options_;
    const MacroTable& previous_;
    common::CodePage cp_;
    std::string text_;
    std::size_t objectGroups_ = 0;
    std::size_t libraryGroups_ = 0;
};

}  // namespace

void applyPreviousSettings(const MacroTable& previous, GeneratorOptions& options) {
    if (const auto cc = previous.lookupMacro("CC")) {
        const auto* known = std::find(std::begin(kCompilers), std::end(kCompilers), *cc);
        if (known != std::end(kCompilers))
            options.toolchain = static_cast<int>(known - std::begin(kCompilers));
    }
    if (previous.lookupMacro("LIBRARY")) options.library = true;
    const auto outDir = previous.lookupMacro("OUTDIR");
    if (!options.outDir && outDir && !outDir->empty() && *outDir != ".")
        options.outDir = std::string(*outDir);
}

std::string objectName(const std::string& sourceName, const GeneratorOptions& options) {
    const std::string object = replaceExtension(sourceName, options.objectExt, options.codePage);
    return options.outDir ? "$(OUTDIR)\\" + object : object;
}

std::vector<std::vector<std::string>> groupObjectNames(const std::vector<std::string>& names) {
    std::vector<std::vector<std::string>> groups(1);
    std::size_t width = 0;
    for (const std::string& name : names) {
        const std::size_t w = name.size() + 1;
        width += w;
        if (width >= kObjectGroupWidth) {
            groups.emplace_back();
            width = w;
        }
        groups.back().push_back(name);
    }
    return groups;
}

std::string composeMakefile(const std::vector<SourceFile>& sources, const GeneratorOptions& options,
                            const MacroTable& previous, const std::tm& now) {
    return Composer(sources, options, previous).compose(now);
}

}  // namespace depmill
