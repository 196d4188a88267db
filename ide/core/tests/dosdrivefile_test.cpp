#include "dosdrivefile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tempconfighome.h"
#include "tempfolder.h"

// On Windows a drive letter is the system's own: every name stays as it is.
TEST(DosDriveFile, ADriveLetterLeadsThroughDosrunsDrivesToTheHostFile) {
    TempConfigHome home;
    TempFolder work;
    const auto project = work.path() / "proj";
    std::filesystem::create_directories(project / "src");
    std::ofstream(project / "src" / "hello.c") << "x";
    const std::string folder = project.string();
    const auto cp = common::CodePage::Utf8;
#ifdef _WIN32
    const std::vector<std::string> names = {"C:\\SRC\\HELLO.C", "src\\hello.c", "D:\\X.H",
                                            (project / "src" / "hello.c").string()};
    for (const std::string& name : names) {
        EXPECT_EQ(HostFileOfDosDriveFile(name, folder, cp), name);
    }
#else
    // No settings file: drive C: is the project folder, as for a dosrun
    // that a build step starts there.
    EXPECT_EQ(HostFileOfDosDriveFile("C:\\SRC\\HELLO.C", folder, cp),
              (project / "src" / "hello.c").string());
    EXPECT_EQ(HostFileOfDosDriveFile("src\\hello.c", folder, cp), "src\\hello.c");
    EXPECT_EQ(HostFileOfDosDriveFile("D:\\X.H", folder, cp), "D:\\X.H");

    std::filesystem::create_directories(home.root() / "vantor");
    std::ofstream(home.root() / "vantor" / "dosrun.conf")
        << "root = " << work.path().string() << "\ndrive D = " << folder << "/src\nbad line\n";
    EXPECT_EQ(HostFileOfDosDriveFile("C:\\PROJ\\SRC\\HELLO.C", folder, cp),
              (project / "src" / "hello.c").string());
    EXPECT_EQ(HostFileOfDosDriveFile("d:\\Hello.c", folder, cp),
              (project / "src" / "hello.c").string());
#endif
}
