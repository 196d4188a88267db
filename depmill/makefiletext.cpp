// Composes the makefile text from the toolchain row the options pick, for
// programs and libraries, with response files where the object or library
// lists are split into groups or response files are asked for.
#include "makefiletext.h"

#include <algorithm>

#include "dospath.h"
#include "makefilenames.h"
#include "toolchains.h"
#include "whitespace.h"

namespace depmill {

using common::joinFolder;
using common::replaceExtension;

namespace {

std::string groupRef(std::string_view prefix, std::size_t k, std::string_view suffix = "") {
    return "$(" + std::string(prefix) + std::to_string(k) + std::string(suffix) + ")";
}

// "$(OUTDIR)" and the separator of the options' toolchain.
std::string inOutDir(const GeneratorOptions& options, std::string_view name) {
    return std::string("$(OUTDIR)") + toolchainNumbered(options.toolchain).folderSeparator +
           std::string(name);
}

// Where the objects go: inside $(OUTDIR) when an object folder is set.
std::string objectFolderPrefix(const GeneratorOptions& options) {
    return options.outDir ? inOutDir(options, "") : std::string();
}

std::string listLine(const ListLine& shape, std::string_view list) {
    return std::string(shape.open).append(list).append(shape.close);
}

// The numbers 1 to count.
std::vector<std::size_t> upTo(std::size_t count) {
    std::vector<std::size_t> numbers;
    for (std::size_t k = 1; k <= count; ++k) numbers.push_back(k);
    return numbers;
}

// The references to the groups prefix<k> of the numbers (each with the
// suffix inside the parentheses), one per line in the line's shape: every
// line but the last ends in continuation, the last in end.
std::vector<std::string> groupLines(std::string_view prefix,
                                    const std::vector<std::size_t>& numbers,
                                    std::string_view suffix, std::string_view continuation,
                                    std::string_view end = "", const ListLine& shape = {}) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        lines.push_back(listLine(shape, groupRef(prefix, numbers[i], suffix)) +
                        std::string(i + 1 < numbers.size() ? continuation : end));
    return lines;
}

template <typename Lines>
void append(std::vector<std::string>& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

// The words, and the tail after a blank unless it is empty.
std::string withTail(std::string_view words, std::string_view tail) {
    return tail.empty() ? std::string(words) : std::string(words) + " " + std::string(tail);
}

class Composer {
  public:
    Composer(const std::vector<SourceFile>& sources, const GeneratorOptions& options,
             const MacroTable& previous, FileSystem& files)
        : sources_(sources),
          options_(options),
          previous_(previous),
          toolchain_(toolchainNumbered(options.toolchain)),
          cp_(options.codePage),
          files_(files) {}

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

    void define(const MacroLine& line) { define(line.name, line.value); }

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

    // The C or C++ file a grammar's yacc writes: the C one where a file of
    // its name exists, else the C++ one.
    std::string generatedSource(const SourceFile& grammar) const {
        const std::string asC = replaceExtension(grammar.name, "c", cp_);
        if (files_.opens(common::nativePath(asC, cp_))) return asC;
        return replaceExtension(grammar.name, "cpp", cp_);
    }

    bool compiledAsCpp(const SourceFile& source) const {
        if (source.kind == SourceKind::Grammar)
            return generatedSource(source) != replaceExtension(source.name, "c", cp_);
        return source.kind == SourceKind::Cpp;
    }

    // A path as the makefile writes it, with the row's folder separator.
    std::string pathText(std::string_view dosPath) const {
        return common::withSeparator(dosPath, toolchain_.folderSeparator, cp_);
    }

    // A path in a source command's option.
    std::string quotedPath(std::string_view path) const {
        return std::string(toolchain_.pathQuote).append(path).append(toolchain_.pathQuote);
    }

    void header(const std::tm& now) {
        text_ += "# make makefile at: " + std::to_string(now.tm_year) + "/" +
                 std::to_string(now.tm_mon + 1) + "/" + std::to_string(now.tm_mday) + " " +
                 std::to_string(now.tm_hour) + ":" + std::to_string(now.tm_min) + "\n\n";
    }

    void macroBlock() {
        if (options_.model != 0 || !keep("MODEL")) {
            char model = options_.model != 0 ? options_.model : 'l';
            if (toolchain_.upperCaseModel) model = static_cast<char>(model - 'a' + 'A');
            define("MODEL", std::string(1, model));
        }
        if (!keep("CC")) define("CC", toolchain_.compiler);
        if (options_.library) {
            if (!keep("CFLAGS")) define(toolchain_.programFlags.front());
        } else {
            if (!keep("LINKER")) define("LINKER", toolchain_.linker);
            if (previous_.lookupMacro("CFLAGS")) {
                for (std::string_view name : {"DBLIB", "CFLAGS", "LDFLAGS"}) keep(name);
            } else {
                const auto& flags =
                    options_.database ? toolchain_.databaseFlags : toolchain_.programFlags;
                for (const MacroLine& line : flags) define(line);
            }
        }
        if (std::any_of(sources_.begin(), sources_.end(),
                        [this](const SourceFile& s) { return compiledAsCpp(s); })) {
            for (const MacroLine& line : toolchain_.cppMacros) define(line);
        }
        if (anySource(SourceKind::EmbeddedSql)) {
            define("ECFLAGS", "-L");
            define("EC", "esql");
        }
        if (anySource(SourceKind::Assembler)) {
            for (const MacroLine& line : toolchain_.assemblerMacros) define(line);
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
            for (std::size_t k = 1;; ++k) {
                const std::string name = "LIBS" + std::to_string(k);
                const std::optional<std::string_view> value = previous_.lookupMacro(name);
                if (!value) break;
                define(name, *value);
                libraryValues_.emplace_back(*value);
                all += " " + groupRef("LIBS", k);
            }
            text_ += "LIBS\t=" + all + "\n\n";
        } else if (const auto libs = previous_.lookupMacro("LIBS")) {
            text_ += "LIBS\t= " + std::string(*libs) + "\n\n";
            libraryValues_.emplace_back(*libs);
        } else if (options_.database) {
            text_ += "LIBS\t= ..\\tools\\tools.lib\n\n";
            libraryValues_.emplace_back("..\\tools\\tools.lib");
        } else {
            text_ += "LIBS\t=\n\n";
        }
        libraryGroups_ = libraryValues_.size();
    }

    // The numbers of the library groups a link lists: every one, or only
    // those that name a library.
    std::vector<std::size_t> listedLibraryGroups(bool emptyOnesToo) const {
        std::vector<std::size_t> numbers;
        for (std::size_t k = 1; k <= libraryGroups_; ++k) {
            const std::string& value = libraryValues_[k - 1];
            if (emptyOnesToo || common::skipWhite(value, 0) < value.size()) numbers.push_back(k);
        }
        return numbers;
    }

    // Echoes the lines into the file, the first starting it anew.
    void echoLines(const std::vector<std::string>& lines, std::string_view file) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text_.append("\t@echo ").append(lines[i]).append(i == 0 ? ">" : ">>");
            text_.append(file).append("\n");
        }
    }

    // The rule that writes the response file from the makefile.
    void responseFileRule(std::string_view file, const std::vector<std::string>& lines) {
        text_.append(file).append(": makefile\n\t@echo Creating ").append(file).append("...\n");
        echoLines(lines, file);
        text_ += "\n";
    }

    void programRuleLine(std::string_view prerequisite) {
        text_.append("$(PROGRAM): $(OFILES) $(LIBS) ").append(prerequisite).append("\n");
    }

    void programRules() {
        libraryMacros();
        const std::string name = options_.target
                                     ? *options_.target
                                     : std::string(previous_.lookupMacro("PROGRAM").value_or(
                                           inOutDir(options_, "a.exe")));
        text_ += "PROGRAM\t= " + name + "\n\nall: $(PROGRAM)\n\n";
        if (objectGroups_ == 1 && libraryGroups_ <= 1 && !options_.responseFiles) {
            programRuleLine("makefile");
            text_.append("\t").append(toolchain_.directLink);
            if (!listedLibraryGroups(false).empty()) text_.append(toolchain_.directLinkLibraries);
            text_ += "\n\n";
        } else {
            responseFileLink(toolchain_.responseLink);
        }
    }

    bool keptModelIsLarge() const {
        const std::optional<std::string_view> model = previous_.lookupMacro("MODEL");
        return !model || *model == "l";
    }

    // What follows the objects in link.cc when the libraries go there too.
    std::vector<std::string> libraryLines(const ResponseFileLink& link) const {
        const std::string_view closing = options_.database ? link.databaseClosing : link.closing;
        const std::vector<std::size_t> listed = listedLibraryGroups(link.libraryLineWhenEmpty);
        if (libraryGroups_ <= 1) {
            if (listed.empty() && !link.libraryLineWhenEmpty) return {};
            return {withTail(listLine(link.libraryLine, "$(LIBS)"), closing)};
        }
        std::vector<std::string> lines =
            groupLines("LIBS", listed, "", link.continuation, "", link.libraryLine);
        if (!closing.empty()) lines.emplace_back(closing);
        return lines;
    }

    void responseFileLink(const ResponseFileLink& link) {
        std::vector<std::string> file{std::string(link.firstLine)};
        if (!link.largeModelLine.empty() && keptModelIsLarge())
            file.emplace_back(link.largeModelLine);
        append(file,
               groupLines("OF", upTo(objectGroups_), "", link.continuation, "", link.objectLine));
        append(file, link.afterObjects);
        const bool librariesInFile =
            link.libraries == LinkedLibraries::InResponseFile || libraryGroups_ > 1;
        if (librariesInFile) append(file, libraryLines(link));
        const std::string command =
            librariesInFile ? std::string(link.command) : withTail(link.command, "$(LIBS)");

        programRuleLine(link.ownRule ? "link.cc" : "makefile");
        text_ += "\t@echo Linking...\n";
        if (link.ownRule) {
            text_ += "\t" + command + "\n\n";
            responseFileRule("link.cc", file);
        } else {
            echoLines(file, "link.cc");
            text_ += "\t" + command + "\n\t@-rm link.cc\n\n";
        }
    }

    void libraryRules() {
        const std::string name = options_.target
                                     ? *options_.target
                                     : std::string(previous_.lookupMacro("LIBRARY").value_or(
                                           inOutDir(options_, "a.lib")));
        text_ += "LIBRARY\t= " + name + "\n\nall: $(LIBRARY)\n\n";
        const LibraryRules& library = toolchain_.library;
        const bool direct = objectGroups_ == 1 && !options_.responseFiles;
        text_.append("$(LIBRARY): $(OFILES) ").append(direct ? "makefile" : library.responseFile);
        text_.append("\n\t").append(toolchain_.remove).append(" $(LIBRARY)\n\t");
        text_.append(direct ? library.directCommand : library.responseCommand).append("\n\n");
        if (direct) return;
        std::vector<std::string> file(library.firstLines.begin(), library.firstLines.end());
        append(file, groupLines("OF", upTo(objectGroups_), library.groupSubstitution,
                                library.continuation, library.end));
        responseFileRule(library.responseFile, file);
    }

    // The dependency line "target: first deps...", returning the include
    // options of the folders the dependencies were found in, each once.
    std::string dependencyLine(const std::string& target, const std::string& first,
                               const std::vector<IncludeDep>& deps) {
        text_ += target + ": " + first;
        std::vector<std::string_view> used;
        std::string includeOptions;
        for (const IncludeDep& dep : deps) {
            const std::string name = pathText(escapedForMake(dep.name));
            text_ += " ";
            if (!dep.dir) {
                text_ += name;
                continue;
            }
            const std::string dir = pathText(*dep.dir);
            text_ += joinFolder(dir, name, cp_, toolchain_.folderSeparator);
            if (std::find(used.begin(), used.end(), *dep.dir) != used.end()) continue;
            used.push_back(*dep.dir);
            includeOptions.append(toolchain_.includeOption).append(quotedPath(dir));
        }
        text_ += "\n";
        return includeOptions;
    }

    // The command of a source rule. The file already has its extension (.c,
    // .cpp, .asm in any case, as the source patterns matched it), so it is
    // named exactly as it exists.
    void sourceCommand(const SourceCommand& shape, const std::string& file,
                       const std::string& includeOptions) {
        std::string object;
        if (options_.outDir || shape.namesObjectAlways) {
            std::string path = objectFolderPrefix(options_);
            if (shape.namesObjectFile) path += replaceExtension(file, options_.objectExt, cp_);
            object.append(shape.objectOption).append(quotedPath(path));
        }
        text_.append("\t").append(shape.command).append(includeOptions);
        if (!shape.objectAfterSource) text_ += object;
        text_ += " " + file;
        if (shape.objectAfterSource) text_ += object;
        text_.append(shape.end).append("\n\n");
    }

    void grammarRules(const SourceFile& grammar) {
        const std::string generated = generatedSource(grammar);
        const std::string includeOptions = dependencyLine(generated, grammar.name, grammar.deps);
        text_ += "\tyacc -o " + generated + " " + grammar.name + "\n\n";
        text_ += objectName(grammar.name, options_) + ": " + generated + "\n";
        sourceCommand(compiledAsCpp(grammar) ? toolchain_.compileCpp : toolchain_.compile,
                      generated, includeOptions);
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
                sourceCommand(toolchain_.assemble, source.name, includeOptions);
                break;
            case SourceKind::Cpp:
                sourceCommand(toolchain_.compileCpp, source.name, includeOptions);
                break;
            case SourceKind::C:
            case SourceKind::Grammar:
                sourceCommand(toolchain_.compile, source.name, includeOptions);
                break;
        }
    }

    void cleanRule() {
        text_ += "clean:\n";
        const std::string remove = "\t" + std::string(toolchain_.remove) + " ";
        if (objectGroups_ > 1 || options_.responseFiles) {
            if (options_.library) {
                text_ += remove + std::string(toolchain_.library.responseFile) + "\n";
            } else if (toolchain_.responseLink.ownRule) {
                text_ += remove + "link.cc\n";
            }
        }
        for (std::size_t k = 1; k <= objectGroups_; ++k) text_ += remove + groupRef("OF", k) + "\n";
    }

    const std::vector<SourceFile>& sources_;
    const GeneratorOptions& options_;
    const MacroTable& previous_;
    const Toolchain& toolchain_;
    common::CodePage cp_;
    FileSystem& files_;
    std::string text_;
    std::size_t objectGroups_ = 0;
    std::size_t libraryGroups_ = 0;
    std::vector<std::string> libraryValues_;  // of LIBS, or of LIBS1, LIBS2, ...
};

}  // namespace

void applyPreviousSettings(const MacroTable& previous, GeneratorOptions& options) {
    if (const auto cc = previous.lookupMacro("CC")) {
        if (const std::optional<int> known = toolchainCompiling(*cc)) options.toolchain = *known;
    }
    if (previous.lookupMacro("LIBRARY")) options.library = true;
    const auto outDir = previous.lookupMacro("OUTDIR");
    if (!options.outDir && outDir && !outDir->empty() && *outDir != ".")
        options.outDir = std::string(*outDir);
}

std::string objectName(const std::string& sourceName, const GeneratorOptions& options) {
    return objectFolderPrefix(options) +
           replaceExtension(sourceName, options.objectExt, options.codePage);
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
                            const MacroTable& previous, const std::tm& now, FileSystem& files) {
    return Composer(sources, options, previous, files).compose(now);
}

}  // namespace depmill
