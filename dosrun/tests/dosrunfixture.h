// The fixture of the tests that run the real dosrun in the real DOSBox
// without a window: a project folder with STAND.COM (standin.c built with
// bcc, standing in for a compiler), a settings home and a temporary folder
// of the test's own, both found as they were left when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dosrunchild.h"
#include "tempfolder.h"

namespace fs = std::filesystem;

inline bool haveDosbox() {
    return std::system("command -v dosbox >/dev/null 2>&1 && command -v bcc >/dev/null 2>&1") == 0;
}

inline void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Dosrun : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveDosbox()) GTEST_SKIP() << "needs dosbox and bcc";
        project = work.path() / "proj";
        fs::create_directories(project);
        fs::create_directories(work.path() / "home");
        fs::create_directories(work.path() / "tmp");
        environment = {work.path() / "home", work.path() / "tmp", {}};
        const std::string build = "bcc -ansi -Md -O -o '" + (work.path() / "STAND.COM").string() +
                                  "' '" DOSRUN_STANDIN_SOURCE "'";
        ASSERT_EQ(std::system(build.c_str()), 0);
        fs::copy_file(work.path() / "STAND.COM", project / "STAND.COM");
    }
    void TearDown() override {
        if (IsSkipped()) return;
        // Whatever the run's end, DOSBox is gone with it and so is every
        // file dosrun made; the home stays untouched.
        EXPECT_TRUE(ProcessesMentioning(environment.tmp.string()).empty());
        EXPECT_TRUE(fs::is_empty(environment.tmp)) << listing(environment.tmp).front();
        EXPECT_TRUE(fs::is_empty(environment.home)) << listing(environment.home).front();
    }
    DosrunResult run(const std::vector<std::string>& arguments) {
        return RunDosrun(arguments, project, environment);
    }
    void expectOwnFailure(const DosrunResult& result, const std::string& about) {
        EXPECT_EQ(result.status, 125) << result.err;
        EXPECT_TRUE(result.err.starts_with("dosrun: ")) << result.err;
        EXPECT_NE(result.err.find(about), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }

    TempFolder work{"dosrun-test-"};
    fs::path project;
    DosrunEnvironment environment;
};
