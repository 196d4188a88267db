// Unit tests of the command line, the DEPMILLOPT variable and the help text.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <sstream>
#include <string>
#include <vector>

#include "endstatus.h"
#include "helptext.h"
#include "options.h"

namespace {

using depmill::GeneratorOptions;

const std::string kUsage(depmill::kUsageLine);
const std::string kBanner = "Depmill Ver.2.00 by Halden\n";

struct Parsed {
    GeneratorOptions options;
    std::optional<int> status;
    std::string out;
    std::string err;
};

Parsed parse(const std::vector<std::string>& args, GeneratorOptions options = {}) {
    std::ostringstream out;
    std::ostringstream err;
    Parsed parsed;
    parsed.status =
        depmill_testing::endStatus([&] { depmill::parseArguments(args, options, out, err); });
    parsed.options = options;
    parsed.out = out.str();
    parsed.err = err.str();
    return parsed;
}

void expectFailure(const std::vector<std::string>& args, int status, const std::string& err) {
    const Parsed parsed = parse(args);
    EXPECT_EQ(parsed.status, status) << args.front();
    EXPECT_EQ(parsed.err, err) << args.front();
    EXPECT_EQ(parsed.out, "");
}

TEST(OptionArguments, NoArgumentsKeepTheDefaults) {
    const Parsed parsed = parse({});
    EXPECT_FALSE(parsed.status);
    EXPECT_EQ(parsed.err, "");
    const GeneratorOptions& o = parsed.options;
    EXPECT_FALSE(o.library || o.systemIncludes || o.database || o.ignoreOldMacros);
    EXPECT_EQ(o.model, 0);
    EXPECT_TRUE(o.responseFiles);
    EXPECT_EQ(o.objectExt, "obj");
    EXPECT_EQ(o.toolchain, 0);
    EXPECT_FALSE(o.outDir || o.target);
    EXPECT_TRUE(o.includeDirs.empty());
}

TEST(OptionArguments, CombinedLettersAndTheDatabaseLetter) {
    Parsed p = parse({"-lsU"});
    EXPECT_TRUE(p.options.library && p.options.systemIncludes && p.options.ignoreOldMacros);

    // "d" ends the argument: the s after it is never read.
    p = parse({"-ds"});
    EXPECT_TRUE(p.options.database);
    EXPECT_FALSE(p.options.systemIncludes);
    EXPECT_EQ(p.options.model, 'l');
    EXPECT_EQ(p.options.includeDirs, std::vector<std::string>{"..\\header"});

    p = parse({"-sd"});
    EXPECT_TRUE(p.options.database && p.options.systemIncludes);

    EXPECT_EQ(parse({"-ms", "-d"}).options.model, 's');
    EXPECT_EQ(parse({"-d", "-ms"}).options.model, 's');

    p = parse({"-mlt1", "-"});
    EXPECT_FALSE(p.status);
    EXPECT_EQ(p.options.model, 'l');
    EXPECT_EQ(p.options.toolchain, 1);
}

TEST(OptionArguments, ModelAndToolchainValues) {
    for (char model : std::string("scmlh")) {
        EXPECT_EQ(parse({std::string("-m") + model}).options.model, model);
    }
    expectFailure({"-m"}, 1, "Depmill: illegal -m option\n");
    expectFailure({"-mL"}, 1, "Depmill: illegal -m option\n");
    expectFailure({"-t4"}, 1, "Depmill: illegal -t option\n");
    expectFailure({"-t"}, 1, "Depmill: illegal -t option\n");
    EXPECT_EQ(parse({"-t2"}).options.toolchain, 2);
    EXPECT_EQ(parse({"-t2", "-t0"}).options.toolchain, 0);
    EXPECT_EQ(parse({"-mst3l"}).options.toolchain, 3);
}

TEST(OptionArguments, ValuesFromTheSameOrTheNextArgument) {
    Parsed p = parse({"-oprog.exe", "-O", "obj", "-Iinc", "-I", "..\\h", "-bo"});
    EXPECT_FALSE(p.status);
    EXPECT_EQ(p.options.target, "prog.exe");
    EXPECT_EQ(p.options.outDir, "obj");
    EXPECT_EQ(p.options.includeDirs, (std::vector<std::string>{"inc", "..\\h"}));
    EXPECT_EQ(p.options.objectExt, "o");

    // The next argument is the value whatever it looks like; the rest of an
    // argument that gave a value is not read as letters.
    p = parse({"-o", "-l", "-Ofoo-l"});
    EXPECT_EQ(p.options.target, "-l");
    EXPECT_EQ(p.options.outDir, "foo-l");
    EXPECT_FALSE(p.options.library);

    expectFailure({"-o"}, 1, "Depmill: illegal -o option\n");
    expectFailure({"-l", "-O"}, 1, "Depmill: illegal -O option\n");
    expectFailure({"-I"}, 1, "Depmill: illegal -I option\n");
    expectFailure({"-b"}, 1, "Depmill: illegal -b option\n");
    expectFailure({"-b", "objs"}, 1, "Depmill: illegal -b extention\n");
    EXPECT_EQ(parse({"-b", "abc"}).options.objectExt, "abc");
    // A name that ends its definition's line must not continue it.
    expectFailure({"-oprog\\"}, 1, "Depmill: illegal -o option\n");
    expectFailure({"-O", "\x95\x5C"}, 1, "Depmill: illegal -O option\n");
}

TEST(OptionArguments, AtMostTenIncludeFolders) {
    std::vector<std::string> args;
    for (int i = 0; i < 10; ++i) args.push_back("-Idir" + std::to_string(i));
    const Parsed ten = parse(args);
    EXPECT_FALSE(ten.status);
    EXPECT_EQ(ten.options.includeDirs.size(), 10u);
    EXPECT_EQ(ten.options.includeDirs.back(), "dir9");

    args.push_back("-Imore");
    expectFailure(args, 1, "Depmill: too many include path\n");
    args.back() = "-d";
    expectFailure(args, 1, "Depmill: too many include path\n");
    // The limit is checked before the value is looked for.
    args.back() = "-I";
    expectFailure(args, 1, "Depmill: too many include path\n");
}

TEST(OptionArguments, BannerAndIllegalLetters) {
    Parsed p = parse({"-v", "-Vl"});
    EXPECT_FALSE(p.status);
    EXPECT_EQ(p.err, kBanner + kBanner);
    EXPECT_TRUE(p.options.library);

    // The other letters of the argument are still read; later arguments not.
    p = parse({"-xly", "-t9"});
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(p.err, "Depmill: illegal option x\nDepmill: illegal option y\n" + kUsage);
    EXPECT_TRUE(p.options.library);

    expectFailure({"-x"}, 2, "Depmill: illegal option x\n" + kUsage);
    // Under Shift-JIS "ル" is one letter, though its second byte is an "l".
    GeneratorOptions sjis;
    sjis.codePage = common::CodePage::ShiftJis;
    p = parse({"-\x83\x6Cs"}, sjis);
    EXPECT_EQ(p.err, "Depmill: illegal option \x83\x6C\n" + kUsage);
    EXPECT_FALSE(p.options.library);
    EXPECT_TRUE(p.options.systemIncludes);
    expectFailure({"/x"}, 2, kUsage);
    expectFailure({"-l", "main.c"}, 2, kUsage);
    expectFailure({""}, 2, kUsage);
    EXPECT_FALSE(parse({"-", "-l"}).status);
}

TEST(OptionArguments, HelpRequests) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"/?"}, {"-?"}, {"-l-", "-t9"}, {"-s?x"}}) {
        GeneratorOptions options;
        options.codePage = common::CodePage::ShiftJis;
        const Parsed p = parse(args, options);
        EXPECT_EQ(p.status, 2) << args.front();
        EXPECT_EQ(p.err, kBanner + kUsage) << args.front();
        EXPECT_EQ(p.out, std::string(depmill::helpText(common::CodePage::ShiftJis)))
            << args.front();
    }
    EXPECT_EQ(parse({"-?"}).out, std::string(depmill::helpText(common::CodePage::Utf8)));
}

// The Shift-JIS (code page 932) bytes in UTF-8, converted by the system.
std::string ShiftJisToUtf8(const std::string& bytes) {
#ifdef _WIN32
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), size)));
    const int wideSize = static_cast<int>(wide.size());
    std::string out(wide.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, out.data(),
                            static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
#else
    const iconv_t converter = iconv_open("UTF-8", "CP932");
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::string in = bytes;
    std::string out(bytes.size() * 3, '\0');
    char* from = in.data();
    std::size_t fromLeft = in.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    EXPECT_NE(iconv(converter, &from, &fromLeft, &to, &toLeft), static_cast<std::size_t>(-1));
    iconv_close(converter);
    out.resize(out.size() - toLeft);
    return out;
#endif
}

TEST(HelpText, BothEncodingsHoldTheSameTenLines) {
    const std::string utf8(depmill::helpText(common::CodePage::Utf8));
    const std::string sjis(depmill::helpText(common::CodePage::ShiftJis));
    EXPECT_NE(utf8, sjis);
    EXPECT_EQ(ShiftJisToUtf8(sjis), utf8);

    std::istringstream lines(utf8);
    std::vector<std::string> options;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.substr(0, 4), "    ");
        EXPECT_NE(line[4], ' ');
        options.push_back(line.substr(4, 13));  // the option column, padded
    }
    EXPECT_EQ(options, (std::vector<std::string>{"-l           ", "-o filename  ", "-O dirname   ",
                                                 "-I pathname  ", "-s           ", "-d           ",
                                                 "-m[smclh]    ", "-b ext       ", "-t{0|1|2|3}  ",
                                                 "-U           "}));
    EXPECT_EQ(utf8.back(), '\n');
}

TEST(OptionVariable, LettersAndTheirValues) {
    GeneratorOptions o;
    depmill::applyOptionVariable("T2 S1 L0", o);
    EXPECT_EQ(o.toolchain, 2);
    EXPECT_TRUE(o.systemIncludes);
    EXPECT_FALSE(o.responseFiles);
    EXPECT_FALSE(o.database);

    // Lower case works; a value out of range changes nothing; everything up
    // to a letter's value is skipped, letters too.
    GeneratorOptions lower;
    depmill::applyOptionVariable("t1, x2, T4 s", lower);
    EXPECT_EQ(lower.toolchain, 1);
    EXPECT_FALSE(lower.systemIncludes);

    GeneratorOptions watcom;
    depmill::applyOptionVariable("T3", watcom);
    EXPECT_EQ(watcom.toolchain, 3);

    GeneratorOptions skipped;
    depmill::applyOptionVariable("D L1 S", skipped);
    EXPECT_TRUE(skipped.database);
    EXPECT_TRUE(skipped.responseFiles);
    EXPECT_FALSE(skipped.systemIncludes);
    EXPECT_EQ(skipped.model, 0);
    EXPECT_EQ(skipped.includeDirs, std::vector<std::string>{"..\\header"});

    // Under Shift-JIS the second bytes of "サ" (0x54, "T") and "ル" (0x6C, "l")
    // are no letters.
    GeneratorOptions sjis;
    sjis.codePage = common::CodePage::ShiftJis;
    depmill::applyOptionVariable(
        "\x83\x54"
        "1 \x83\x6C"
        "0 S1",
        sjis);
    EXPECT_EQ(sjis.toolchain, 0);
    EXPECT_TRUE(sjis.responseFiles);
    EXPECT_TRUE(sjis.systemIncludes);

    GeneratorOptions off;
    depmill::applyOptionVariable("D1 D0 L2", off);
    EXPECT_FALSE(off.database);
    EXPECT_TRUE(off.responseFiles);
    EXPECT_TRUE(off.includeDirs.empty());
}

TEST(OptionVariable, DatabaseFolderComesBeforeCommandLineFolders) {
    GeneratorOptions o;
    depmill::applyOptionVariable("D1", o);
    const Parsed p = parse({"-Iinc", "-d"}, o);
    EXPECT_EQ(p.options.includeDirs, (std::vector<std::string>{"..\\header", "inc", "..\\header"}));
    EXPECT_EQ(p.options.model, 'l');
}

}  // namespace
