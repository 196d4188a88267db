// Reading the form notation into tokens and matching a line against them by
// a search that remembers every token and position it has tried.
#include "messageform.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <map>
#include <string_view>
#include <utility>

namespace {

using Directive = MessageForm::Directive;
using Token = MessageForm::Token;

// Lines longer than this are no messages: the search's memory grows with
// the line, and no compiler writes a message this long.
constexpr std::size_t kMaxLineLength = 8192;

// The kind words of a %t directive in the code pages' bytes (the same in
// both for ASCII) and the kind each stands for, in the order they are
// tried: "fatal error" before "fatal", so that the longer word wins.
struct KindWordRow {
    std::string_view utf8;
    std::string_view shiftJis;
    LineKind kind;
};
constexpr KindWordRow kKindWords[] = {
    {"fatal error", "fatal error", LineKind::Error},
    {"error", "error", LineKind::Error},
    {"warning", "warning", LineKind::Warning},
    {"note", "note", LineKind::Note},
    {"fatal", "fatal", LineKind::Error},
    {"\u30a8\u30e9\u30fc", "\x83\x47\x83\x89\x81\x5b", LineKind::Error},  // エラー
    {"\u8b66\u544a", "\x8c\x78\x8d\x90", LineKind::Warning},              // 警告
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAsciiAlphanumeric(char c) {
    const char lower = static_cast<char>(c | 0x20);
    return isDigit(c) || (lower >= 'a' && lower <= 'z');
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

bool isAsciiText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

// True when text begins with prefix, byte for byte: the short literals of a
// form compared in place.
bool startsWithBytes(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (text[i] != prefix[i]) return false;
    }
    return true;
}

// True when text begins with word, ASCII letters compared in either case
// when the word is ASCII and in lower case (a double-byte word's bytes are
// compared as they are, since its second bytes may look like letters).
bool startsWithWord(std::string_view text, std::string_view word, bool lowerAsciiWord) {
    if (!lowerAsciiWord) return startsWithBytes(text, word);
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lowerAscii(text[i]) != word[i]) return false;
    }
    return true;
}

std::optional<Directive> directiveOf(char letter) {
    switch (letter) {
        case 'f':
            return Directive::File;
        case 'l':
            return Directive::Line;
        case 'c':
            return Directive::Column;
        case 't':
            return Directive::Kind;
        case 'n':
            return Directive::Number;
        case 'm':
            return Directive::Message;
        case '*':
            return Directive::Any;
        default:
            return std::nullopt;
    }
}

// The search's memory of tried (token, position) pairs and the spans it
// found, kept between calls so that reading a line allocates nothing.
std::vector<std::uint64_t>& triedBits(std::size_t bits) {
    thread_local std::vector<std::uint64_t> words;
    const std::size_t needed = (bits + 63) / 64;
    if (words.size() < needed) words.resize(needed);
    std::fill_n(words.begin(), needed, 0);
    return words;
}

std::vector<std::pair<std::size_t, std::size_t>>& spanSlots(std::size_t tokens) {
    thread_local std::vector<std::pair<std::size_t, std::size_t>> spans;
    if (spans.size() < tokens) spans.resize(tokens);
    return spans;
}

}  // namespace

namespace {

// The group of each byte: the 32 bytes from the blank to "?" (punctuation
// and digits) one each, the 26 letters one each in either case, control
// bytes, the other ASCII marks in two groups, bytes from 0x80 on in two.
constexpr std::array<std::uint64_t, 256> kByteGroups = [] {
    std::array<std::uint64_t, 256> groups{};
    for (int b = 0; b < 256; ++b) {
        int group = 0;
        if (b >= 0x20 && b < 0x40)
            group = b - 0x20;
        else if ((b | 0x20) >= 'a' && (b | 0x20) <= 'z')
            group = 32 + ((b | 0x20) - 'a');
        else if (b < 0x20)
            group = 58;
        else if (b < 0x60)
            group = 59;  // @ [ \ ] ^ _
        else if (b < 0x80)
            group = 60;  // ` { | } ~ DEL
        else if (b < 0xC0)
            group = 61;
        else
            group = 62;
        groups[static_cast<std::size_t>(b)] = std::uint64_t{1} << group;
    }
    return groups;
}();

std::uint64_t groupOf(char c) {
    return kByteGroups[static_cast<unsigned char>(c)];
}

}  // namespace

// Two lanes, so that no byte waits for the one before it; a group held in
// both lanes is held twice.
LineProfile::Groups LineProfile::groupsOf(std::string_view bytes) {
    std::uint64_t once0 = 0, twice0 = 0, once1 = 0, twice1 = 0;
    std::size_t i = 0;
    for (; i + 2 <= bytes.size(); i += 2) {
        const std::uint64_t group0 = groupOf(bytes[i]);
        const std::uint64_t group1 = groupOf(bytes[i + 1]);
        twice0 |= once0 & group0;
        once0 |= group0;
        twice1 |= once1 & group1;
        once1 |= group1;
    }
    if (i < bytes.size()) {
        const std::uint64_t group = groupOf(bytes[i]);
        twice0 |= once0 & group;
        once0 |= group;
    }
    return {once0 | once1, twice0 | twice1 | (once0 & once1)};
}

unsigned long DecimalValue(std::string_view digits) {
    constexpr auto kMax = std::numeric_limits<unsigned long>::max();
    unsigned long number = 0;
    for (const char c : digits) {
        const auto digit = static_cast<unsigned long>(c - '0');
        number = number > (kMax - digit) / 10 ? kMax : number * 10 + digit;
    }
    return number;
}

// One match of a form against a line: the search and what it found.
class MessageForm::Matching {
  public:
    Matching(const MessageForm& form, std::string_view line)
        : form_(form),
          line_(line),
          tokens_(form.tokens_.size()),
          width_(line.size() + 1),
          spans_(spanSlots(form.tokens_.size())) {}

    // The first way through, then, when it failed after a choice, the
    // search.
    bool run() {
        const Way way = firstWay();
        if (way != Way::Failed) return way == Way::Matched;
        steps_ = 0;
        tried_ = triedBits((tokens_ + 1) * width_).data();
        return from(0, 0);
    }
    std::string_view span(std::size_t token) const {
        return line_.substr(spans_[token].first, spans_[token].second - spans_[token].first);
    }
    LineKind kind() const { return kind_; }  // of the kind word matched
    std::size_t steps() const { return steps_; }

  private:
    // Marks the pair tried; false when it had been tried before.
    bool firstTry(std::size_t token, std::size_t pos) {
        const std::size_t bit = token * width_ + pos;
        std::uint64_t& word = tried_[bit / 64];
        const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
        if ((word & mask) != 0) return false;
        word |= mask;
        return true;
    }

    // Marks the positions first to last (a range of the line) tried for the
    // token, in order, up to the first one tried before: false when there
    // is one. The same as firstTry on each, a word of positions at a time.
    bool firstTries(std::size_t token, std::size_t first, std::size_t last) {
        if (first > last) return true;
        const std::size_t end = token * width_ + last + 1;
        for (std::size_t bit = token * width_ + first; bit < end;) {
            const std::size_t from = bit % 64;
            const std::size_t to = std::min<std::size_t>(64, from + (end - bit));
            const std::uint64_t below = to == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
            const std::uint64_t range = below & ~((std::uint64_t{1} << from) - 1);
            std::uint64_t& word = tried_[bit / 64];
            if (const std::uint64_t before = word & range; before != 0) {
                const std::uint64_t fresh =
                    range & ((std::uint64_t{1} << std::countr_zero(before)) - 1);
                word |= fresh;
                steps_ += static_cast<std::size_t>(std::popcount(fresh));
                return false;
            }
            word |= range;
            steps_ += to - from;
            bit += to - from;
        }
        return true;
    }

    // The way the search tries first, without its memory: each text
    // directive takes its first end (where the fixed text after it first
    // begins, the last one the line's end), and the first kind word that
    // fits is taken. Most lines a form matches match it this way, and then
    // the search would have found the same, as it goes this way first. A
    // way that fails before a kind word or a text directive had its choice
    // fails the search too, which has no other way to go.
    enum class Way { Matched, Failed, NoOther };
    Way firstWay() {
        bool chosen = false;
        std::size_t pos = 0;
        for (std::size_t token = 0; token < tokens_; ++token) {
            ++steps_;
            const Token& t = form_.tokens_[token];
            const Way failure = chosen ? Way::Failed : Way::NoOther;
            std::size_t end = pos;
            if (isFixed(t.directive)) {
                end = fixedEnd(t, pos);
                if (end == kNone) return failure;
            } else if (t.directive == Directive::Kind) {
                if (!firstKindWord(pos, end)) return failure;
                chosen = true;
            } else {
                const TextEnds ends = textEnds(token, pos);
                if (!ends.possible || pos + ends.shortest > ends.last) return failure;
                end = nextEnd(token, pos + ends.shortest, ends.last);
                if (end > ends.last) return failure;
                chosen = true;
            }
            spans_[token] = {pos, end};
            pos = end;
        }
        if (pos == line_.size()) return Way::Matched;
        return chosen ? Way::Failed : Way::NoOther;
    }

    static constexpr std::size_t kNone = std::string_view::npos;

    static bool isFixed(Directive d) {
        return d == Directive::Literal || d == Directive::Line || d == Directive::Column ||
               d == Directive::Number;
    }

    // Where fixed text, digits or a number taken at pos end, as they match
    // one way only; kNone when they are not there.
    std::size_t fixedEnd(const Token& t, std::size_t pos) const {
        if (t.directive == Directive::Literal)
            return startsWithBytes(line_.substr(pos), t.literal) ? pos + t.literal.size() : kNone;
        const std::size_t end = t.directive == Directive::Number ? runEnd(pos, isAsciiAlphanumeric)
                                                                 : runEnd(pos, isDigit);
        return end > pos ? end : kNone;
    }

    bool firstKindWord(std::size_t pos, std::size_t& end) {
        if (pos == line_.size()) return false;
        const char first = lowerAscii(line_[pos]);
        for (const KindWord& word : form_.kindWords_) {
            if (fits(word, pos, first)) {
                kind_ = word.kind;
                end = pos + word.text.size();
                return true;
            }
        }
        return false;
    }

    // The word at pos, whose first byte lowered is `first`: the first byte
    // settles most words (a byte of a double-byte word is never lowered).
    bool fits(const KindWord& word, std::size_t pos, char first) const {
        return word.text.front() == first &&
               startsWithWord(line_.substr(pos), word.text, word.ascii);
    }

    // Where a text directive starting at pos may end: from pos + shortest
    // to last. A file name begins with neither a blank nor ":" and holds no
    // "(".
    struct TextEnds {
        bool possible;
        std::size_t shortest;
        std::size_t last;
    };
    TextEnds textEnds(std::size_t token, std::size_t pos) const {
        if (form_.tokens_[token].directive != Directive::File) return {true, 0, line_.size()};
        if (pos < line_.size() && (line_[pos] == ' ' || line_[pos] == ':')) return {false, 1, 0};
        return {true, 1, std::min(line_.find('(', pos), line_.size())};
    }

    // The first end from `end` on that the rest can take: where the fixed
    // text after the token begins, for the last token the line's end, with
    // neither the next end; past `last` when there is none.
    std::size_t nextEnd(std::size_t token, std::size_t end, std::size_t last) const {
        if (token + 1 == tokens_) return line_.size();
        const Token& following = form_.tokens_[token + 1];
        const char anchor = following.literal.empty() ? '\0' : following.literal.front();
        if (following.directive != Directive::Literal || anchor == '\0') return end;
        // A file name ends before its first "(": found already.
        if (anchor == '(' && last < line_.size() && line_[last] == '(' && end <= last &&
            form_.tokens_[token].directive == Directive::File)
            return last;
        const std::size_t at = line_.find(anchor, end);
        return at == std::string_view::npos ? last + 1 : at;
    }

    // Tokens from `token` on match the line from pos to its end. A pair
    // that failed once fails again, so each is searched at most once. Fixed
    // text, digits and numbers match one way only: they are taken in a
    // loop, each span noted on the way (a later way through overwrites it),
    // and only the kind word and the text directives search.
    bool from(std::size_t token, std::size_t pos) {
        for (;; ++token) {
            if (token == tokens_) return pos == line_.size();
            if (!firstTry(token, pos)) return false;
            ++steps_;
            const Token& t = form_.tokens_[token];
            if (t.directive == Directive::Kind) return kindWord(token, pos);
            if (!isFixed(t.directive)) return text(token, pos);
            const std::size_t end = fixedEnd(t, pos);
            if (end == kNone) return false;
            spans_[token] = {pos, end};
            pos = end;
        }
    }

    // The token took [pos, end); the rest must match from end.
    bool next(std::size_t token, std::size_t pos, std::size_t end) {
        if (!from(token + 1, end)) return false;
        spans_[token] = {pos, end};
        return true;
    }

    // The end of the characters of a kind that follow.
    template <typename Is>
    std::size_t runEnd(std::size_t pos, Is is) const {
        while (pos < line_.size() && is(line_[pos])) ++pos;
        return pos;
    }

    bool kindWord(std::size_t token, std::size_t pos) {
        if (pos == line_.size()) return false;
        const char first = lowerAscii(line_[pos]);
        for (const KindWord& word : form_.kindWords_) {
            if (fits(word, pos, first) && next(token, pos, pos + word.text.size())) {
                kind_ = word.kind;
                return true;
            }
        }
        return false;
    }

    // As little text as lets the rest match. Starting this token at a later
    // position s offers no end that starting it here does not, so s is
    // marked tried on the way: should this search fail, s fails too, and a
    // later search that reaches s stops there. Only the ends the rest can
    // take are tried: where the fixed text that follows begins, or, for the
    // last token, the line's end; the positions passed over on the way are
    // marked all the same.
    bool text(std::size_t token, std::size_t pos) {
        const TextEnds ends = textEnds(token, pos);
        if (!ends.possible) return false;
        for (std::size_t end = pos + ends.shortest; end <= ends.last;) {
            const std::size_t candidate = nextEnd(token, end, ends.last);
            const std::size_t passed = std::min(candidate, ends.last);
            if (!firstTries(token, std::max(end - ends.shortest, pos + 1), passed - ends.shortest))
                return false;
            if (candidate > ends.last) return false;
            if (next(token, pos, candidate)) return true;
            end = candidate + 1;
        }
        return false;
    }

    const MessageForm& form_;
    std::string_view line_;
    std::size_t tokens_;
    std::size_t width_;
    std::uint64_t* tried_ = nullptr;  // for the search
    std::vector<std::pair<std::size_t, std::size_t>>& spans_;
    LineKind kind_ = LineKind::Error;
    std::size_t steps_ = 0;
};

MessageForm::Compiled MessageForm::compile(std::string_view notation, common::CodePage cp,
                                           LineKind kindWithoutWord) {
    if (notation.empty()) return {std::nullopt, "書式が空です。"};
    if (notation.size() > kMaxFormLength)
        return {std::nullopt,
                "書式が長すぎます (" + std::to_string(kMaxFormLength) + " バイトまで)。"};
    MessageForm form;
    form.kindWithoutWord_ = kindWithoutWord;
    std::map<Directive, bool> seen;
    const auto addLiteral = [&](std::string_view text) {
        if (form.tokens_.empty() || form.tokens_.back().directive != Directive::Literal)
            form.tokens_.push_back({Directive::Literal, {}});
        form.tokens_.back().literal += text;
    };
    for (std::size_t pos = 0; pos < notation.size();) {
        const std::size_t length = common::charLength(cp, notation, pos);
        // "%" is never part of a double-byte character in either code page.
        if (notation[pos] != '%') {
            addLiteral(notation.substr(pos, length));
            pos += length;
            continue;
        }
        if (pos + 1 == notation.size())
            return {std::nullopt, "書式の最後の「%」の後に指定がありません。"};
        const std::size_t letterLength = common::charLength(cp, notation, pos + 1);
        const std::string written(notation.substr(pos, 1 + letterLength));
        pos += 1 + letterLength;
        if (written == "%%") {
            addLiteral("%");
            continue;
        }
        const auto directive = letterLength == 1 ? directiveOf(written[1]) : std::nullopt;
        if (!directive) return {std::nullopt, "「" + written + "」は書式にない指定です。"};
        if (*directive != Directive::Message && *directive != Directive::Any &&
            std::exchange(seen[*directive], true))
            return {std::nullopt, "「" + written + "」が二度あります。"};
        form.tokens_.push_back({*directive, {}});
    }

    const auto has = [&](Directive d) {
        return std::any_of(form.tokens_.begin(), form.tokens_.end(),
                           [d](const Token& t) { return t.directive == d; });
    };
    if (!has(Directive::Literal))
        return {std::nullopt, "固定の文字がない書式は、どの行にも当てはまってしまいます。"};
    std::string literals;
    for (const Token& t : form.tokens_) literals += t.literal;
    form.literalGroups_ = LineProfile::groupsOf(literals);
    form.hasLine_ = has(Directive::Line);
    const bool sjis = cp == common::CodePage::ShiftJis;
    for (const KindWordRow& row : kKindWords) {
        const std::string_view word = sjis ? row.shiftJis : row.utf8;
        form.kindWords_.push_back({std::string(word), row.kind, isAsciiText(word)});
    }
    return {std::move(form), {}};
}

bool MessageForm::match(std::string_view line, const LineProfile& profile,
                        MessageReading& reading) const {
    steps_ = 0;
    if (line.size() > kMaxLineLength || !profile.mayHold(literalGroups_)) return false;
    // A form that begins or ends with fixed text settles most lines here.
    const Token& first = tokens_.front();
    const Token& last = tokens_.back();
    if ((first.directive == Directive::Literal && !line.starts_with(first.literal)) ||
        (last.directive == Directive::Literal && !line.ends_with(last.literal)))
        return false;

    Matching matching(*this, line);
    const bool matched = matching.run();
    steps_ = matching.steps();
    if (!matched) return false;
    reading.kind = kindWithoutWord_;
    reading.file.clear();
    reading.line = 0;
    reading.column = 0;
    reading.number.clear();
    reading.directory.clear();
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
        const std::string_view taken = matching.span(i);
        switch (tokens_[i].directive) {
            case Directive::File:
                reading.file = taken;
                break;
            case Directive::Line:
                reading.line = DecimalValue(taken);
                break;
            case Directive::Column:
                reading.column = DecimalValue(taken);
                break;
            case Directive::Kind:
                reading.kind = matching.kind();
                break;
            case Directive::Number:
                reading.number = taken;
                break;
            default:
                break;
        }
    }
    // Line 0 names no line: such a message is read by a later form or none.
    return !hasLine_ || reading.line != 0;
}

std::optional<MessageReading> MessageForm::match(std::string_view line) const {
    MessageReading reading;
    if (!match(line, LineProfile(line), reading)) return std::nullopt;
    return reading;
}

UiText DescribeFormReading(std::string_view form, std::string_view example, common::CodePage cp) {
    const MessageForm::Compiled compiled = MessageForm::compile(form, cp);
    if (!compiled.form) return compiled.error;
    const auto reading = compiled.form->match(example);
    if (!reading) return "当てはまりません";
    const char* kind = reading->kind == LineKind::Warning ? "警告"
                       : reading->kind == LineKind::Note  ? "注記"
                                                          : "エラー";
    UiText text("ファイル: ");
    if (reading->file.empty())
        text.words("(なし)");
    else
        text.data(reading->file);
    if (reading->line != 0) text.words("  行: " + std::to_string(reading->line));
    if (reading->column != 0) text.words("  桁: " + std::to_string(reading->column));
    text.words("  種類: ").words(kind);
    if (!reading->number.empty()) text.words("  番号: ").data(reading->number);
    return text;
}
