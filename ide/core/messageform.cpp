// Reading the form notation into tokens and matching a line against them by
// a search that remembers every token and position it has tried.
#include "messageform.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <utility>

namespace {

using Directive = MessageForm::Directive;
using Token = MessageForm::Token;

// Lines longer than this are no messages: the search's memory grows with
// the line, and no compiler writes a message this long.
constexpr std::size_t kMaxLineLength = 8192;

// The kind words in the code pages' bytes.
constexpr std::string_view kErrorJaUtf8 = "\u30a8\u30e9\u30fc";
constexpr std::string_view kWarningJaUtf8 = "\u8b66\u544a";
constexpr std::string_view kErrorJaSjis = "\x83\x47\x83\x89\x81\x5b";
constexpr std::string_view kWarningJaSjis = "\x8c\x78\x8d\x90";

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

// True when text begins with word, ASCII letters compared in either case
// when the word is ASCII (a double-byte word's bytes are compared as they
// are, since its second bytes may look like letters).
bool startsWithIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    if (std::any_of(word.begin(), word.end(), [](char c) { return (c & 0x80) != 0; }))
        return text.starts_with(word);
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lowerAscii(text[i]) != lowerAscii(word[i])) return false;
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

// The search's memory of tried (token, position) pairs, kept between calls
// so that reading a line allocates nothing.
std::vector<std::uint64_t>& triedBits(std::size_t bits) {
    thread_local std::vector<std::uint64_t> words;
    const std::size_t needed = (bits + 63) / 64;
    if (words.size() < needed) words.resize(needed);
    std::fill_n(words.begin(), needed, 0);
    return words;
}

}  // namespace

LineProfile::LineProfile(std::string_view line) {
    for (const char c : line) ++counts_[static_cast<unsigned char>(c)];
    for (char d = '0'; d <= '9'; ++d) digits_ += counts_[static_cast<unsigned char>(d)];
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

LineKind KindOfWord(std::string_view word) {
    if (startsWithIgnoringCase(word, "warning") || word == kWarningJaUtf8 || word == kWarningJaSjis)
        return LineKind::Warning;
    if (startsWithIgnoringCase(word, "note")) return LineKind::Note;
    return LineKind::Error;
}

// One match of a form against a line: the search and what it found.
class MessageForm::Matching {
  public:
    Matching(const MessageForm& form, std::string_view line)
        : form_(form),
          line_(line),
          width_(line.size() + 1),
          tried_(triedBits((form.tokens_.size() + 1) * width_)),
          spans_(form.tokens_.size()) {}

    bool run() { return from(0, 0); }
    std::string_view span(std::size_t token) const {
        return line_.substr(spans_[token].first, spans_[token].second - spans_[token].first);
    }

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

    // Tokens from `token` on match the line from pos to its end. A pair
    // that failed once fails again, so each is searched at most once.
    bool from(std::size_t token, std::size_t pos) {
        if (token == form_.tokens_.size()) return pos == line_.size();
        if (!firstTry(token, pos)) return false;
        ++form_.steps_;
        const Token& t = form_.tokens_[token];
        const std::string_view rest = line_.substr(pos);
        switch (t.directive) {
            case Directive::Literal:
                return rest.starts_with(t.literal) && next(token, pos, pos + t.literal.size());
            case Directive::Line:
            case Directive::Column:
                return run(token, pos, isDigit);
            case Directive::Number:
                return run(token, pos, isAsciiAlphanumeric);
            case Directive::Kind:
                for (const std::string& word : form_.kindWords_) {
                    if (startsWithIgnoringCase(rest, word) && next(token, pos, pos + word.size()))
                        return true;
                }
                return false;
            case Directive::File:
            case Directive::Message:
            case Directive::Any:
                return text(token, pos);
        }
        return false;
    }

    // The token took [pos, end); the rest must match from end.
    bool next(std::size_t token, std::size_t pos, std::size_t end) {
        if (!from(token + 1, end)) return false;
        spans_[token] = {pos, end};
        return true;
    }

    // All the characters of a kind that follow, at least one.
    template <typename Is>
    bool run(std::size_t token, std::size_t pos, Is is) {
        std::size_t end = pos;
        while (end < line_.size() && is(line_[end])) ++end;
        return end > pos && next(token, pos, end);
    }

    // As little text as lets the rest match. Starting this token at a later
    // position s offers no end that starting it here does not, so s is
    // marked tried on the way: should this search fail, s fails too, and a
    // later search that reaches s stops there.
    bool text(std::size_t token, std::size_t pos) {
        const Directive d = form_.tokens_[token].directive;
        const std::size_t shortest = d == Directive::File ? 1 : 0;
        const Token* following =
            token + 1 < form_.tokens_.size() ? &form_.tokens_[token + 1] : nullptr;
        const char anchor = following != nullptr && following->directive == Directive::Literal
                                ? following->literal.front()
                                : '\0';
        // A file name begins with neither a blank nor ":" and holds no "(".
        if (d == Directive::File && pos < line_.size() && (line_[pos] == ' ' || line_[pos] == ':'))
            return false;
        for (std::size_t end = pos + shortest; end <= line_.size(); ++end) {
            if (d == Directive::File && line_[end - 1] == '(') return false;
            const std::size_t start = end - shortest;
            if (start > pos) {
                if (!firstTry(token, start)) return false;
                ++form_.steps_;
            }
            if (anchor != '\0' && (end == line_.size() || line_[end] != anchor)) continue;
            if (next(token, pos, end)) return true;
        }
        return false;
    }

    const MessageForm& form_;
    std::string_view line_;
    std::size_t width_;
    std::vector<std::uint64_t>& tried_;
    std::vector<std::pair<std::size_t, std::size_t>> spans_;
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

    std::map<unsigned char, std::uint32_t> bytes;
    for (const Token& t : form.tokens_) {
        for (const char c : t.literal) ++bytes[static_cast<unsigned char>(c)];
        if (t.directive == Directive::Line || t.directive == Directive::Column)
            ++form.requiredDigits_;
    }
    if (bytes.empty())
        return {std::nullopt, "固定の文字がない書式は、どの行にも当てはまってしまいます。"};
    form.requiredBytes_.assign(bytes.begin(), bytes.end());
    // "fatal error" before "fatal", so that the longer word is tried first.
    form.kindWords_ = {"fatal error", "error", "warning", "note", "fatal"};
    const bool sjis = cp == common::CodePage::ShiftJis;
    form.kindWords_.emplace_back(sjis ? kErrorJaSjis : kErrorJaUtf8);
    form.kindWords_.emplace_back(sjis ? kWarningJaSjis : kWarningJaUtf8);
    return {std::move(form), {}};
}

std::optional<MessageReading> MessageForm::match(std::string_view line,
                                                 const LineProfile& profile) const {
    steps_ = 0;
    if (line.size() > kMaxLineLength || !profile.holdsDigits(requiredDigits_)) return std::nullopt;
    for (const auto& [byte, count] : requiredBytes_) {
        if (!profile.holds(byte, count)) return std::nullopt;
    }
    // A form that begins or ends with fixed text settles most lines here.
    const Token& first = tokens_.front();
    const Token& last = tokens_.back();
    if ((first.directive == Directive::Literal && !line.starts_with(first.literal)) ||
        (last.directive == Directive::Literal && !line.ends_with(last.literal)))
        return std::nullopt;

    Matching matching(*this, line);
    if (!matching.run()) return std::nullopt;
    MessageReading reading;
    reading.kind = kindWithoutWord_;
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
                reading.kind = KindOfWord(taken);
                break;
            case Directive::Number:
                reading.number = taken;
                break;
            default:
                break;
        }
    }
    // Line 0 names no line: such a message is read by a later form or none.
    const bool hasLine = std::any_of(tokens_.begin(), tokens_.end(),
                                     [](const Token& t) { return t.directive == Directive::Line; });
    if (hasLine && reading.line == 0) return std::nullopt;
    return reading;
}

UiText DescribeFormReading(std::string_view form, std::string_view example,
                           common::CodePage cp) {
    const MessageForm::Compiled compiled = MessageForm::compile(form, cp);
    if (!compiled.form) return compiled.error;
    const auto reading = compiled.form->match(example);
    if (!reading) return "当てはまりません";
    const char* kind = reading->kind == LineKind::Warning ? "警告"
                       : reading->kind == LineKind::Note  ? "注記"
                                                          : "エラー";
    UiText text("ファイル: ");
    if (reading->file.empty()) text.words("(なし)");
    else text.data(reading->file);
    if (reading->line != 0) text.words("  行: " + std::to_string(reading->line));
    if (reading->column != 0) text.words("  桁: " + std::to_string(reading->column));
    text.words("  種類: ").words(kind);
    if (!reading->number.empty()) text.words("  番号: ").data(reading->number);
    return text;
}
