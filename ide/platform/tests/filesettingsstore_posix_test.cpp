// The settings file backend on real files: its exact text, reading files
// written by hand or by other programs, sessions of two stores, damaged
// and unreadable files, and the file's permissions.
#include "filesettingsstore.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <gtest/gtest.h>

#include "filesettingsstore_format.h"
#include "tempconfighome.h"

namespace fs = std::filesystem;

namespace {

class FileSettingsStoreTest : public ::testing::Test {
  protected:
    bool put(SettingsStore& s, const std::string& path, const std::string& name,
             SettingsValue value) {
        auto key = s.openKey(path, true);
        return key && key->write(name, value) && key->close();
    }
    std::optional<SettingsValue> get(SettingsStore& s, const std::string& path,
                                     const std::string& name) {
        auto key = s.openKey(path, false);
        return key ? key->read(name) : std::nullopt;
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(home.settingsFile().parent_path())) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempConfigHome home;
    FileSettingsStore store{FileSettingsStore::userFile()};
};

const SettingsValue kText{kSettingsString, "c:\\msvc \"quoted\" ゴシック"};
const SettingsValue kEleven{kSettingsDword, std::string("\x0b\0\0\0", 4)};
const SettingsValue kExpand{kSettingsExpandString, std::string("A\0", 2)};
const SettingsValue kZeroInside{kSettingsString, std::string("a\0b", 3)};
const SettingsValue kBinary{3, "\x01\xff"};
const SettingsValue kMultiText{7, std::string("a\0\0", 3)};
const SettingsValue kShortDword{kSettingsDword, "\x05"};

TEST_F(FileSettingsStoreTest, WritesTheRegistryExportTextAndReadsEveryTypeBack) {
    EXPECT_EQ(store.file(), (home.root() / "vantor" / "settings.reg").string());
    auto key = store.openKey("Software\\Halden\\Vantor", true);
    ASSERT_TRUE(key);
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, SettingsValue>>{{"Text", kText},
                                                            {"FontSize", kEleven},
                                                            {"Expand", kExpand},
                                                            {"Zero", kZeroInside},
                                                            {"Bin", kBinary},
                                                            {"Multi", kMultiText},
                                                            {"Short", kShortDword},
                                                            {"", SettingsValue{1, "default"}},
                                                            {"q\"\\", SettingsValue{1, ""}}}) {
        EXPECT_TRUE(key->write(name, value));
    }
    auto help = store.openKey("\\Software\\\\Halden\\Vantor\\Help\\", true);  // extra "\" ignored
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->close());
    EXPECT_TRUE(key->close());
    EXPECT_EQ(home.settingsText(),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n"
              "\"Text\"=\"c:\\\\msvc \\\"quoted\\\" ゴシック\"\n"
              "\"FontSize\"=dword:0000000b\n"
              "\"Expand\"=hex(2):41,00\n"
              "\"Zero\"=hex(1):61,00,62\n"
              "\"Bin\"=hex:01,ff\n"
              "\"Multi\"=hex(7):61,00,00\n"
              "\"Short\"=hex(4):05\n"
              "@=\"default\"\n"
              "\"q\\\"\\\\\"=\"\"\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\Help]\n");

    FileSettingsStore other(store.file());
    auto again = other.openKey("SOFTWARE\\halden\\vantor", false);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->read("text"), kText);
    EXPECT_EQ(again->read("FontSize"), kEleven);
    EXPECT_EQ(again->read("Expand"), kExpand);
    EXPECT_EQ(again->read("Zero"), kZeroInside);
    EXPECT_EQ(again->read("Bin"), kBinary);
    EXPECT_EQ(again->read("Multi"), kMultiText);
    EXPECT_EQ(again->read("Short"), kShortDword);
    EXPECT_EQ(again->read(""), (SettingsValue{1, "default"}));
    EXPECT_EQ(again->read("Q\"\\"), (SettingsValue{1, ""}));
    EXPECT_FALSE(again->read("Missing"));
}

TEST_F(FileSettingsStoreTest, ReadsTextsWrittenElsewhereWithoutRewritingThem) {
    const std::string text =
        "\xEF\xBB\xBFREGEDIT4\r\n"
        "\r\n"
        "; written by hand\r\n"
        "[hkey_current_user\\Software\\Halden\\Vantor]\r\n"
        "\"FontName\" = \"Fixed\"\r\n"
        "\"FontSize\"=dword:0000000C\r\n"
        "\"Long\"=hex(2):25,50,41,54,48,25,\\\r\n"
        "  00\r\n"
        "\"FontName\"=\"Later wins\"\r\n";
    home.writeSettingsText(text);
    EXPECT_EQ(get(store, "Software\\Halden\\Vantor", "fontname"),
              (SettingsValue{kSettingsString, "Later wins"}));
    EXPECT_EQ(get(store, "Software\\Halden\\Vantor", "FontSize"),
              (SettingsValue{kSettingsDword, std::string("\x0c\0\0\0", 4)}));
    EXPECT_EQ(get(store, "Software\\Halden\\Vantor", "Long"),
              (SettingsValue{kSettingsExpandString, std::string("%PATH%\0", 7)}));
    // Parent keys exist; opening and creating existing keys changes nothing.
    EXPECT_TRUE(store.openKey("Software\\Halden", false));
    EXPECT_TRUE(store.openKey("software\\HALDEN\\Vantor", true));
    EXPECT_FALSE(store.openKey("Software\\Halden\\Vant", false));
    EXPECT_TRUE(put(store, "Software\\Halden\\Vantor", "FONTSIZE",
                    SettingsValue{kSettingsDword, std::string("\x0c\0\0\0", 4)}));
    EXPECT_EQ(home.settingsText(), text);
}

TEST_F(FileSettingsStoreTest, MissingFileIsAFirstRunAndNothingIsWrittenByReading) {
    EXPECT_FALSE(store.openKey("Software", false));
    EXPECT_FALSE(get(store, "", "x"));
    EXPECT_FALSE(fs::exists(home.settingsFile()));
    EXPECT_TRUE(store.openKey("Software\\New", true));
    EXPECT_EQ(home.settingsText(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\New]\n");
}

TEST_F(FileSettingsStoreTest, TwoStoresWritingOneAfterTheOtherKeepBothValues) {
    FileSettingsStore first(store.file());
    FileSettingsStore second(store.file());
    ASSERT_TRUE(put(first, "K", "A", SettingsValue{1, "from first"}));
    ASSERT_TRUE(put(second, "K", "B", SettingsValue{1, "from second"}));
    ASSERT_TRUE(put(first, "K", "C", SettingsValue{1, "first again"}));
    auto key = second.openKey("K", false);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->read("A")->data, "from first");
    EXPECT_EQ(key->read("B")->data, "from second");
    EXPECT_EQ(key->read("C")->data, "first again");
    // A deletion is a change like any other.
    EXPECT_TRUE(key->remove("a"));
    EXPECT_FALSE(key->remove("A"));
    EXPECT_TRUE(key->close());
    EXPECT_FALSE(get(first, "K", "A"));
}

TEST_F(FileSettingsStoreTest, ProcessesWritingAtTheSameTimeLoseNothing) {
    constexpr int kWriters = 3, kValues = 20;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            FileSettingsStore own(FileSettingsStore::userFile());
            bool ok = true;
            for (int i = 0; i < kValues; ++i) {
                ok = put(own, "K", std::to_string(w) + "-" + std::to_string(i), kEleven) && ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto key = store.openKey("K", false);
    ASSERT_TRUE(key);
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kValues; ++i) {
            EXPECT_TRUE(key->read(std::to_string(w) + "-" + std::to_string(i))) << w << "-" << i;
        }
    }
}

TEST_F(FileSettingsStoreTest, KeysOpenTogetherShareOneSessionSavedWhenTheLastCloses) {
    auto outer = store.openKey("K", true);
    auto inner = store.openKey("K\\Sub", true);
    ASSERT_TRUE(outer && inner);
    EXPECT_TRUE(inner->write("V", SettingsValue{1, "x"}));
    EXPECT_TRUE(inner->close());
    EXPECT_FALSE(fs::exists(home.settingsFile()));
    EXPECT_TRUE(outer->close());
    EXPECT_EQ(get(store, "K\\Sub", "V")->data, "x");
}

TEST_F(FileSettingsStoreTest, DamagedFileIsKeptAsideBeforeAFreshOneReplacesIt) {
    const std::string damaged =
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n"
        "\"FontName\"=\"Courier\"\n"
        "\"Broken\"=\"no closing quote\n"
        "\"Bad\"=dword:xyz\n"
        "garbage \x01\x02\n"
        "[HKEY_LOCAL_MACHINE\\Software]\n"
        "\"Foreign\"=\"not ours\"\n"
        "[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\Help]\n"
        "\"Helpfile\"=\"mine.hlp\"\n";
    home.writeSettingsText(damaged);
    EXPECT_EQ(get(store, "Software\\Halden\\Vantor", "FontName")->data, "Courier");
    EXPECT_EQ(get(store, "Software\\Halden\\Vantor\\Help", "Helpfile")->data, "mine.hlp");
    EXPECT_FALSE(get(store, "Software\\Halden\\Vantor", "Broken"));
    EXPECT_FALSE(store.openKey("Software", false) && get(store, "Software", "Foreign"));
    // Reading leaves it alone.
    EXPECT_EQ(home.settingsText(), damaged);
    EXPECT_EQ(folderEntries().size(), 2u);  // the file and its lock

    ASSERT_TRUE(put(store, "Software\\Halden\\Vantor", "FontSize", kEleven));
    const auto entries = folderEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[1].starts_with("settings.reg.damaged-")) << entries[1];
    std::ifstream kept(home.settingsFile().parent_path() / entries[1], std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
    EXPECT_EQ(home.settingsText(),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n"
              "\"FontName\"=\"Courier\"\n"
              "\"FontSize\"=dword:0000000b\n\n"
              "[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\Help]\n"
              "\"Helpfile\"=\"mine.hlp\"\n");

    // The fresh file is sound: the next change keeps no further copy.
    ASSERT_TRUE(put(store, "Software\\Halden\\Vantor", "FontSize", kShortDword));
    EXPECT_EQ(folderEntries().size(), 3u);
}

TEST_F(FileSettingsStoreTest, UnreadableFileIsMovedAsideNotOverwritten) {
    fs::create_directories(home.settingsFile() / "inside");
    EXPECT_FALSE(get(store, "K", "V"));
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "new"}));
    EXPECT_EQ(get(store, "K", "V")->data, "new");
    int keptAside = 0;
    for (const auto& name : folderEntries()) {
        if (name.starts_with("settings.reg.damaged-")) {
            ++keptAside;
            EXPECT_TRUE(fs::exists(home.settingsFile().parent_path() / name / "inside"));
        }
    }
    EXPECT_EQ(keptAside, 1);
}

TEST_F(FileSettingsStoreTest, FailedSaveIsReportedAtClose) {
    std::ofstream(home.root() / "vantor") << "a file where the folder belongs";
    auto key = store.openKey("K", true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->write("V", SettingsValue{1, "x"}));
    EXPECT_FALSE(key->close());
    EXPECT_TRUE(key->close());  // a second close has nothing left to report
}

TEST_F(FileSettingsStoreTest, FileIsPrivateToTheUserAndNoTemporaryFileStays) {
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "x"}));
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "y"}));
    struct stat st {};
    ASSERT_EQ(stat(home.settingsFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(home.settingsFile().parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"settings.reg", "settings.reg.lock"}));
}

TEST_F(FileSettingsStoreTest, SymbolicLinkIsNeitherReadThroughNorWrittenThrough) {
    const fs::path real = home.root() / "real.reg";
    const std::string realText = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"V\"=\"old\"\n";
    std::ofstream(real) << realText;
    fs::create_directories(home.settingsFile().parent_path());
    fs::create_symlink(real, home.settingsFile());
    EXPECT_FALSE(get(store, "K", "V"));
    ASSERT_TRUE(put(store, "K", "W", SettingsValue{1, "x"}));
    EXPECT_FALSE(fs::is_symlink(home.settingsFile()));
    EXPECT_EQ(get(store, "K", "W")->data, "x");
    std::ifstream in(real, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), realText);
    // The link itself is kept aside, pointing where it did.
    int links = 0;
    for (const auto& name : folderEntries()) {
        const fs::path entry = home.settingsFile().parent_path() / name;
        if (name.starts_with("settings.reg.damaged-") && fs::is_symlink(entry)) {
            EXPECT_EQ(fs::read_symlink(entry), real);
            ++links;
        }
    }
    EXPECT_EQ(links, 1);
}

TEST_F(FileSettingsStoreTest, FifoInPlaceOfTheFileOrItsLockNeverBlocks) {
    fs::create_directories(home.settingsFile().parent_path());
    ASSERT_EQ(mkfifo(home.settingsFile().c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((home.settingsFile().string() + ".lock").c_str(), 0600), 0);
    EXPECT_FALSE(get(store, "K", "V"));
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "x"}));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(home.settingsFile())));
    EXPECT_EQ(get(store, "K", "V")->data, "x");
}

TEST_F(FileSettingsStoreTest, LockHeldByAnotherProcessIsWaitedForOnlySoLong) {
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "before"}));
    const std::string before = home.settingsText();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int fd = open((home.settingsFile().string() + ".lock").c_str(), O_RDWR);
        const bool locked = fd >= 0 && flock(fd, LOCK_EX) == 0;
        (void)!write(ready[1], locked ? "1" : "0", 1);
        pause();  // until killed
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, '1');

    int reports = 0;
    FileSettingsStore waiting(FileSettingsStore::userFile(), std::chrono::milliseconds(300),
                              [&reports] { ++reports; });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(waiting.openKey("K", true));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(home.settingsText(), before);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(put(waiting, "K", "V", SettingsValue{1, "after"}));
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(get(store, "K", "V")->data, "after");
}

TEST_F(FileSettingsStoreTest, TemporaryFilesOfACrashedSaveGoWithTheNextSave) {
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "x"}));
    const fs::path folder = home.settingsFile().parent_path();
    for (const char* name :
         {"settings.reg.tmp-a1B2c3", "settings.reg.new", "settings.reg.tmp-notours"}) {
        std::ofstream(folder / name) << "REGEDIT4\n";
    }
    EXPECT_TRUE(get(store, "K", "V"));  // reading leaves them
    EXPECT_EQ(folderEntries().size(), 5u);
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "y"}));
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"settings.reg", "settings.reg.lock",
                                                         "settings.reg.tmp-notours"}));
}

TEST_F(FileSettingsStoreTest, DamagedFileStaysInPlaceUntilItsReplacementTakesItsName) {
    home.writeSettingsText("REGEDIT4\n\"outside any key\"=\"x\"\n");
    struct stat damaged {};
    ASSERT_EQ(stat(home.settingsFile().c_str(), &damaged), 0);
    ASSERT_TRUE(put(store, "K", "V", SettingsValue{1, "x"}));
    // The copy is the very file that stood there: a second name for it,
    // made while the first one still held it.
    const auto entries = folderEntries();
    ASSERT_EQ(entries.size(), 3u);
    struct stat copy {};
    ASSERT_EQ(stat((home.settingsFile().parent_path() / entries[1]).c_str(), &copy), 0);
    EXPECT_EQ(copy.st_ino, damaged.st_ino);
}

TEST_F(FileSettingsStoreTest, UserFileFollowsXdgConfigHomeElseHome) {
    EXPECT_EQ(FileSettingsStore::userFile(), home.settingsFile().string());
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/home/someone", 1);
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(FileSettingsStore::userFile(), "/home/someone/.config/vantor/settings.reg");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileSettingsStore::userFile(), "/home/someone/.config/vantor/settings.reg");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(FileSettingsFormat, LinesThatCannotBeReadMarkTheTextDamaged) {
    EXPECT_FALSE(parseRegFile("").damaged);
    EXPECT_FALSE(parseRegFile("REGEDIT4\n\n[HKEY_CURRENT_USER]\n@=hex:\n").damaged);
    for (const char* text :
         {"[HKEY_CURRENT_USER\\K]\n",  // no header
          "REGEDIT4\n\"V\"=\"outside any key\"\n", "REGEDIT4\n[HKEY_CURRENT_USERS\\K]\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=\"a\\nb\"\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=hex:100\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=hex(zz):00\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=dword:123456789\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=\"x\" trailing\n",
          "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=-\n"}) {
        EXPECT_TRUE(parseRegFile(text).damaged) << text;
    }
    // Sections of one key in two places are one key.
    const auto content = parseRegFile(
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"X\"=\"1\"\n[HKEY_CURRENT_USER\\B]\n"
        "[HKEY_CURRENT_USER\\a]\n\"Y\"=\"2\"\n");
    ASSERT_EQ(content.keys.keys().size(), 2u);
    EXPECT_EQ(content.keys.keys()[0].values.size(), 2u);
}

}  // namespace
