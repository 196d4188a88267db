// Reading the previous makefile: the HDRPATH line (raw lines) and the head
// block of definitions (common::readHeadBlock).
#include "macros.h"

#include <algorithm>
#include <new>

#include "headblock.h"
#include "linereader.h"
#include "makefilenames.h"
#include "runend.h"
#include "whitespace.h"

namespace depmill {

using common::isBlank;
using common::skipBlanks;

namespace {

constexpr std::size_t kMaxLineBytes = 4096;

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with('\n')) line.remove_suffix(1);
    return line;
}

// The value after "HDRPATH =", when the line is the HDRPATH definition.
std::optional<std::string_view> headerPathValue(std::string_view line) {
    constexpr std::string_view kName = "HDRPATH";
    std::size_t pos = skipBlanks(line, 0);
    if (line.substr(pos, kName.size()) != kName) return std::nullopt;
    pos = skipBlanks(line, pos + kName.size());
    if (pos == line.size() || line[pos] != '=') return std::nullopt;
    return withoutLineEnd(line.substr(pos + 1));
}

// Memory ran out while the previous makefile was read (a continued
// definition may be as long as the file).
[[noreturn]] void endForNoMemory(std::ostream& err) {
    endRun(err, 2, "Depmill: settable: no memory\n");
}

void requireOpen(const common::LineReader& makefile, std::ostream& err) {
    if (!makefile.isOpen()) endRun(err, 2, "Depmill: can't open Makefile\n");
}

}  // namespace

void readHeaderPath(const std::string& fileName, std::vector<std::string>& includeDirs,
                    FileSystem& files, std::ostream& err) {
    common::LineReader reader = files.readLines(fileName);
    requireOpen(reader, err);
    try {
        std::string line;
        std::optional<std::string_view> value;
        while (!value && reader.next(line, kMaxLineBytes)) value = headerPathValue(line);
        if (!value) return;
        std::size_t pos = 0;
        for (;;) {
            pos = skipBlanks(*value, pos);
            if (pos == value->size()) return;
            std::size_t end = pos;
            while (end < value->size() && !isBlank((*value)[end])) ++end;
            const std::string_view word = value->substr(pos, end - pos);
            if (includeDirs.size() >= kMaxIncludeDirs)
                endRun(err, 2, "Depmill: too many include path\n");
            if (std::find(includeDirs.begin(), includeDirs.end(), word) == includeDirs.end()) {
                includeDirs.emplace_back(word);
            }
            pos = end;
        }
    } catch (const std::bad_alloc&) {
        endForNoMemory(err);
    }
}

std::size_t MacroTable::readMacros(const std::string& fileName, common::CodePage cp,
                                   FileSystem& files, std::ostream& err) {
    clear();
    common::LineReader reader = files.readLines(fileName);
    requireOpen(reader, err);
    common::HeadBlockEnd end;
    try {
        // Continued lines join without bound (a continued definition may be
        // as long as the file).
        end = common::readHeadBlock(reader, cp, common::LineRoom::EachPiece, entries_);
    } catch (const std::bad_alloc&) {
        endForNoMemory(err);
    }
    if (end == common::HeadBlockEnd::TooManyDefinitions)
        endRun(err, 2, "Depmill: macro table overflow\n");
    return entries_.size();
}

std::optional<std::string_view> MacroTable::lookupMacro(std::string_view name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].name != name) continue;
        if (isUsableValue(entries_[i].value)) return entries_[i].value;
        refused_.insert(i);
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<common::MacroDefinition> MacroTable::refused() const {
    std::vector<common::MacroDefinition> definitions;
    for (std::size_t i : refused_) definitions.push_back(entries_[i]);
    return definitions;
}

}  // namespace depmill
