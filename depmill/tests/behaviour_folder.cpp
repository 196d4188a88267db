// What a run says and leaves behind when the folder in memory fails where
// the operating system can fail (a listing, a new file, an entry that
// changes between the look and the open) or holds entries other than files.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "memory_run.h"

namespace depmill_test {
namespace {

const std::string kPrevious = "CC\t= cl\n\nall: prog.exe\n";

struct FolderCase {
    const char* what;
    std::function<void(MemoryFolder&)> prepare;  // after main.c and the previous makefile
    int status;
    std::string out;
    std::string err;
    std::set<std::string> names;  // of the folder after the run
};

class FolderEntries : public testing::TestWithParam<FolderCase> {};

// main.c includes a.h; the previous makefile stays as it was unless the run
// succeeds.
TEST_P(FolderEntries, ReportedAndLeftAlone) {
    const FolderCase& c = GetParam();
    MemoryProject sb;
    sb.write({{"main.c", "#include \"a.h\"\n"}, {"a.h", ""}, {"makefile", kPrevious}});
    c.prepare(sb.folder());
    const RunResult run = sb.run();
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(entriesOf(sb), c.names);
    if (c.status != 0 && sb.folder().bytes("makefile")) {
        EXPECT_EQ(sb.read("makefile"), kPrevious);
    }
}

const std::set<std::string> kUntouched{"a.h", "main.c", "makefile"};
const std::set<std::string> kWritten{"a.h", "main.c", "makefile", "makefile.old"};

INSTANTIATE_TEST_SUITE_P(
    Folder, FolderEntries,
    testing::Values(FolderCase{"a folder that cannot be listed",
                               [](MemoryFolder& f) { f.failListing(); }, 2, "",
                               "Depmill: can't open directory\n", kUntouched},
                    FolderCase{"a previous makefile that changes at the open",
                               [](MemoryFolder& f) { f.changingAtOpen("makefile"); }, 2, "",
                               "Depmill: can't open Makefile\n", kUntouched},
                    FolderCase{"a previous makefile that is a link",
                               [](MemoryFolder& f) { f.link("makefile", "a.h"); }, 2, "",
                               "Depmill: can't open Makefile\n", kUntouched},
                    FolderCase{"no new file", [](MemoryFolder& f) { f.refuseNewFiles(); }, 2, "",
                               "Depmill: can't create Makefile\n", kUntouched},
                    FolderCase{"a header that changes at the open is not found",
                               [](MemoryFolder& f) { f.changingAtOpen("a.h"); }, 0,
                               "Depmill: can't find a.h (in main.c)\n", "", kWritten},
                    FolderCase{"a source that is a device keeps its rule",
                               [](MemoryFolder& f) { f.device("com1.c"); },
                               0,
                               "Depmill: can't open com1.c\n",
                               "",
                               {"a.h", "com1.c", "main.c", "makefile", "makefile.old"}},
                    FolderCase{"a source folder keeps its rule",
                               [](MemoryFolder& f) { f.folder("dir.c"); },
                               0,
                               "Depmill: can't open dir.c\n",
                               "",
                               {"a.h", "dir.c", "main.c", "makefile", "makefile.old"}}));

// A source is named in lower case where that name is the same file, as a
// link makes it; the listed name stays where the lower-case one is missing
// or another file.
TEST(FolderNames, LowerCaseWhereItIsTheSameFile) {
    MemoryProject sb;
    sb.write({{"Io.c", ""}, {"MAIN.C", ""}, {"Util.c", ""}, {"util.c", ""}});
    sb.folder().link("io.c", "Io.c");
    const RunResult run = sb.run();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(sb.makefile().find("\nOF1\t= io.obj MAIN.obj Util.obj io.obj util.obj\n"),
              std::string::npos)
        << sb.makefile();
}

}  // namespace
}  // namespace depmill_test
