// The form notation: what each directive takes, forms that cannot be read,
// the choice where a line can be matched more than one way, and the bound
// on the matcher's work for forms and lines built to make it backtrack.
#include "messageform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using common::CodePage;

MessageForm formOf(std::string_view notation, LineKind kindWithoutWord = LineKind::Error) {
    auto compiled = MessageForm::compile(notation, CodePage::Utf8, kindWithoutWord);
    EXPECT_TRUE(compiled.form.has_value()) << notation << ": " << compiled.error;
    return compiled.form ? std::move(*compiled.form)
                         : *MessageForm::compile("x", CodePage::Utf8).form;
}

TEST(MessageForm, EachDirectiveTakesItsPart) {
    const auto reading = formOf("%f|%l|%c|%t|%n|%m|%*|100%%")
                             .match("src/a b.c|12|7|Warning|W8004|some text|more|100%");
    ASSERT_TRUE(reading.has_value());
    EXPECT_EQ(reading->file, "src/a b.c");
    EXPECT_EQ(reading->line, 12u);
    EXPECT_EQ(reading->column, 7u);
    EXPECT_EQ(reading->kind, LineKind::Warning);
    EXPECT_EQ(reading->number, "W8004");

    // Kind words in any letter case; fatal is an error. Without %t the
    // form's own kind.
    for (const auto& [word, kind] :
         {std::pair{"ERROR", LineKind::Error}, std::pair{"Fatal Error", LineKind::Error},
          std::pair{"fatal", LineKind::Error}, std::pair{"NOTE", LineKind::Note},
          std::pair{"\u30a8\u30e9\u30fc", LineKind::Error},
          std::pair{"\u8b66\u544a", LineKind::Warning}}) {
        const auto read = formOf("%f:%l: %t: %m").match(std::string("a.c:1: ") + word + ": x");
        ASSERT_TRUE(read.has_value()) << word;
        EXPECT_EQ(read->kind, kind) << word;
    }
    EXPECT_EQ(formOf("see %f:%l", LineKind::Note).match("see a.c:3")->kind, LineKind::Note);
}

TEST(MessageForm, AFormMatchesWholeLinesOnly) {
    const MessageForm form = formOf("%f(%l): %t %n: %m");
    EXPECT_TRUE(form.match("a.c(1): error C1: x").has_value());
    EXPECT_TRUE(form.match("a.c(1): error C1: ").has_value());  // %m may be empty
    for (const char* other : {"a.c(1): error C1", "xa.c(1) error C1: x", "a.c(): error C1: x",
                              "a.c(x): error C1: x", "a.c(1): errors C1: x", "(1): error C1: x",
                              " a.c(1): error C1: x", "a.c(0): error C1: x", ""}) {
        EXPECT_FALSE(form.match(other).has_value()) << other;
    }
}

// Where the line offers more than one way, the file takes as little as
// lets the rest match, and a "(" inside a would-be file name ends it.
TEST(MessageForm, TheShortestFileThatLetsTheRestMatch) {
    const auto colon = formOf("%f:%l:%c: %t: %m").match("C:\\my dir\\x.c:3:4: error: a:1:2: b");
    ASSERT_TRUE(colon.has_value());
    EXPECT_EQ(colon->file, "C:\\my dir\\x.c");
    EXPECT_EQ(colon->line, 3u);
    EXPECT_FALSE(formOf("%f:%l: %t: %m").match("a(1)b.c:3: error: x").has_value());
    // Turbo C's form with blanks in the file name.
    const auto tc = formOf("%t %f %l: %m").match("Error C:\\MY DIR\\X.C 12: bad 3: x");
    ASSERT_TRUE(tc.has_value());
    EXPECT_EQ(tc->file, "C:\\MY DIR\\X.C");
    EXPECT_EQ(tc->line, 12u);
}

TEST(MessageForm, FormsThatCannotBeRead) {
    for (const char* bad :
         {"", "%f(%q)", "%f %f", "%f %l %l", "%t %t: %m", "%", "%m", "%f%l", "%*%m"}) {
        const auto compiled = MessageForm::compile(bad, CodePage::Utf8);
        EXPECT_FALSE(compiled.form.has_value()) << bad;
        EXPECT_FALSE(compiled.error.empty()) << bad;
    }
    EXPECT_FALSE(MessageForm::compile(std::string(kMaxFormLength + 1, 'x'), CodePage::Utf8).form);
    EXPECT_TRUE(MessageForm::compile(std::string(kMaxFormLength, 'x'), CodePage::Utf8).form);
    // %m and %* may come more than once; a double-byte letter after "%" is
    // reported whole.
    EXPECT_TRUE(MessageForm::compile("%m: %m (%*) %*", CodePage::Utf8).form);
    EXPECT_EQ(MessageForm::compile("a%\u3042b", CodePage::Utf8).error,
              "「%\u3042」は書式にない指定です。");
    EXPECT_TRUE(MessageForm::compile("\x95\x5C%%", CodePage::ShiftJis).form);
}

// Forms and lines of the kind that sends a backtracking matcher into
// exponential time stay within the bound, and the bound itself is linear.
TEST(MessageForm, HostileFormsAndLinesStayWithinTheBound) {
    const std::string as(4000, 'a');
    for (const char* notation : {"%*a%*a%*a%*a%*a%*a%*a%*a%*b", "%f%*:%m:%*:%m:%*:%mX",
                                 "%*%*%*%*%*%*%*%*%*%*%*%*%*%*%*%*x", "%m%m%m%m%m%m%m%m%m%m)"}) {
        auto compiled = MessageForm::compile(notation, CodePage::Utf8);
        ASSERT_TRUE(compiled.form.has_value()) << notation << compiled.error;
        for (const std::string& line : {as, as + ":" + as, std::string(2000, ':') + "a"}) {
            compiled.form->match(line);
            EXPECT_LE(compiled.form->lastSteps(), compiled.form->stepBound(line.size()))
                << notation;
        }
    }
}

TEST(MessageForm, TheReadingShownForAnExample) {
    EXPECT_EQ(DescribeFormReading("%f(%l,%c): %t %n: %m", "a.c(3,4): warning W1: x", CodePage::Utf8)
                  .bytes(),
              "ファイル: a.c  行: 3  桁: 4  種類: 警告  番号: W1");
    EXPECT_EQ(DescribeFormReading("LINK : %t %n: %m", "LINK : error L1: x", CodePage::Utf8).bytes(),
              "ファイル: (なし)  種類: エラー  番号: L1");
    EXPECT_EQ(DescribeFormReading("%f(%l): %m", "a.c: x", CodePage::Utf8).bytes(),
              "当てはまりません");
    EXPECT_EQ(DescribeFormReading("%f(%x)", "a.c(1)", CodePage::Utf8).bytes(),
              "「%x」は書式にない指定です。");
}

}  // namespace
