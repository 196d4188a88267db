// A build step that runs a DOS compiler through dosrun in DOSBox (a DOS
// program built with bcc stands in for the compiler): the summary from its
// exit code, the jump from its DOS file names to the host file, and Stop.
#include <QDir>
#include <QtTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"

class DosrunBuildTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void buildReportsTheExitCodeAndTheMessageOpensTheHostFile();
    void stopEndsDosrunAndDosbox();
};

namespace {

// DOSBox is started with its configuration in dosrun's private folder,
// below TMPDIR: a process that names the folder is one left behind.
bool processMentions(const std::string& text) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream file(entry.path() / "cmdline");
        const std::string cmdline((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
        if (cmdline.find(text) != std::string::npos) return true;
    }
    return false;
}

// A project "hello" whose build step is `buildCommand`, with the stand-in
// compiler STAND.COM, a private TMPDIR, and an editor script that records
// its arguments.
struct DosProject {
    explicit DosProject(UiTestWorld& world, const std::string& buildCommand) {
        const std::string makefile =
            world.writeFile("hello/makefile", "PROGRAM\t= hello\n\nall:\n");
        folder = world.path("hello");
        world.writeFile("hello/src/hello.c", "int main() { return x; }\n");
        const std::string build =
            "bcc -ansi -Md -O -o '" + folder + "/STAND.COM' '" DOSRUN_STANDIN_SOURCE "'";
        QCOMPARE(std::system(build.c_str()), 0);
        // dosrun's drive C: is the work folder, above the project.
        const std::filesystem::path config = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
        std::filesystem::create_directories(config / "vantor");
        std::ofstream(config / "vantor" / "dosrun.conf")
            << "root = " << world.work().toStdString() << "\n";
        tmp = world.path("tmp");
        QDir().mkpath(QString::fromStdString(tmp));
        qputenv("TMPDIR", QByteArray::fromStdString(tmp));
        argsFile = world.path("args.txt");
        const std::string editor = world.writeFile(
            "editor.sh",
            "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '" + argsFile + "'\n", true);
        world.storeRecentProject("hello", makefile);
        world.storeString(settingsschema::kBaseKey, "BuildCommand", buildCommand);
        world.storeString(settingsschema::kBaseKey, "EditCommand", editor + " -l%n %s");
        mainWindow = world.startMainWindow();
    }
    ~DosProject() { qunsetenv("TMPDIR"); }

    std::unique_ptr<MainWindow> mainWindow;
    std::string folder;
    std::string tmp;
    std::string argsFile;
};

QStringList lines(MainWindow& mainWindow) {
    return mainWindow.output().text().split('\n');
}

}  // namespace

void DosrunBuildTest::init() {
    if (std::system("command -v dosbox >/dev/null && command -v bcc >/dev/null") != 0)
        QSKIP("needs dosbox and bcc");
}

void DosrunBuildTest::buildReportsTheExitCodeAndTheMessageOpensTheHostFile() {
    UiTestWorld world;
    world.writeFile(
        "hello/BUILD.BAT",
        "@ECHO OFF\r\nECHO Compiling HELLO.C\r\nSTAND.COM msg C:\\HELLO\\SRC\\HELLO.C 3 2\r\n");
    DosProject project(world, "dosrun BUILD.BAT");
    MainWindow& ide = *project.mainWindow;
    ide.buildProject();
    QCOMPARE(lines(ide),
             QStringList({"Start Build.", "Compiling HELLO.C",
                          "C:\\HELLO\\SRC\\HELLO.C(3) : error C2065: 'x' : undeclared identifier",
                          "C:\\HELLO\\SRC\\HELLO.C(3) : warning C4013: 'f' undefined",
                          "Build Error (2)."}));

    const int errorLine = ide.output().text().indexOf("C:\\HELLO");
    ide.output().select(errorLine + 5, 0);
    ide.jumpToEditorOnDoubleClick();
    QVERIFY(waitForFile(project.argsFile));
    QCOMPARE(QString::fromStdString(readFile(project.argsFile)),
             QString::fromStdString("[-l3]\n[" + project.folder + "/src/hello.c]\n"));
    QVERIFY(QDir(QString::fromStdString(project.tmp)).isEmpty());
}

void DosrunBuildTest::stopEndsDosrunAndDosbox() {
    UiTestWorld world;
    DosProject project(world, "dosrun STAND.COM wait NEVER");
    MainWindow& ide = *project.mainWindow;
    std::chrono::steady_clock::time_point stopped;
    world.ui.onProcessEvents = [&world, &ide, &stopped] {
        if (!ide.output().text().contains("waiting for NEVER")) return;
        // Resetting the hook ends this closure: what it needs is copied first.
        auto* const stoppedAt = &stopped;
        QAction* const stop = ide.stopAction;
        world.ui.onProcessEvents = nullptr;
        *stoppedAt = std::chrono::steady_clock::now();
        stop->trigger();
    };
    ide.buildProject();
    const auto took = std::chrono::steady_clock::now() - stopped;
    QCOMPARE(lines(ide).last(), QString("Build Stopped."));
    QVERIFY2(took < std::chrono::milliseconds(2500),
             qPrintable(QString::number(
                 std::chrono::duration_cast<std::chrono::milliseconds>(took).count())));
    QVERIFY(!processMentions(project.tmp));
    QVERIFY(QDir(QString::fromStdString(project.tmp)).isEmpty());
}

QTEST_MAIN(DosrunBuildTest)
#include "dosrun_build_test.moc"
