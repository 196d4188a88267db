// The Open Watcom sample through the main window and its keys, with the
// real toolchain: the settings scripts/run.sh stores build it and its tool
// runs the program through dosrun; Check dependencies writes its -t3
// makefile; a build with a compile error, once by make with the
// Linux-hosted tools and once by wmake with the DOS-hosted tools inside
// DOSBox, ends "Build Error (2)." and F4 opens the file at the error's line
// (a DOS name through dosrun's drives).
#include <QApplication>
#include <QMenu>
#include <QtTest>
#include <cstdlib>
#include <filesystem>

#include "environment.h"
#include "outputwindow.h"
#include "settings.h"
#include "uitestsupport.h"
#include "watcomtoolchain.h"

class WatcomBuildTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void theRunScriptsSettingsBuildAndRunTheProgram();
    void checkDependenciesThenANativeBuildErrorOpensItsLine();
    void aBuildInsideDosboxOpensTheHostFileOfItsDosName();
};

namespace {

// The sample copied into the world's work folder; its folder.
std::string copySample(UiTestWorld& world, const std::string& name) {
    const std::string folder = world.path(name);
    std::filesystem::copy(VANTOR_EXAMPLES_DIR "/watcom-hello", folder,
                          std::filesystem::copy_options::recursive);
    return folder;
}

// The window shown and active, so that its keys reach the menu items.
void activate(MainWindow& mainWindow) {
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    mainWindow.output().setFocus();
}

// The sample as "hello", the most recent project, with an editor script
// that records its arguments.
struct WatcomProject {
    WatcomProject(UiTestWorld& world, const std::string& buildCommand) {
        folder = copySample(world, "hello");
        argsFile = world.path("args.txt");
        const std::string editor = world.writeFile(
            "editor.sh",
            "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '" + argsFile + "'\n", true);
        world.storeRecentProject("hello", folder + "/makefile");
        world.storeString(settingsschema::kBaseKey, "BuildCommand", buildCommand);
        world.storeString(settingsschema::kBaseKey, "DepmillCommand", "depmill -t3");
        world.storeString(settingsschema::kBaseKey, "EditCommand", editor + " -l%n %s");
        mainWindow = world.startMainWindow();
        activate(*mainWindow);
    }

    QStringList lines() const { return mainWindow->output().text().split('\n'); }

    // Shift+F8, then F4 from the top of the output: the editor's record.
    QString buildAndOpenTheFirstMessage() {
        QTest::keyClick(mainWindow.get(), Qt::Key_F8, Qt::ShiftModifier);
        QTest::keyClick(&mainWindow->output(), Qt::Key_F4);
        if (!waitForFile(argsFile)) return "editor not started: " + lines().join('\n');
        return QString::fromStdString(readFile(argsFile));
    }

    std::unique_ptr<MainWindow> mainWindow;
    std::string folder;
    std::string argsFile;
};

// The lines of the output that start with the text.
QStringList linesStarting(const QStringList& lines, const QString& start) {
    QStringList found;
    for (const QString& line : lines)
        if (line.startsWith(start)) found << line;
    return found;
}

std::optional<WatcomToolchain> toolchain;
std::string savedPath;

}  // namespace

// The children of the window find the Linux-hosted tools as a user's shell
// would, through WATCOM, INCLUDE and PATH.
void WatcomBuildTest::init() {
    toolchain = FindWatcom();
    if (!toolchain) QSKIP(kNoWatcom);
    savedPath = qEnvironmentVariable("PATH").toStdString();
    for (const auto& [name, value] : toolchain->environment()) SetEnvironment(name, value);
}

void WatcomBuildTest::cleanup() {
    if (!toolchain) return;
    SetEnvironment("PATH", savedPath);
    RemoveEnvironment("WATCOM");
    RemoveEnvironment("INCLUDE");
}

// Build (Shift+F8) with the stored settings, then the tool from the Tools
// menu (Alt+T, Down, Return): the program's own lines in the window.
void WatcomBuildTest::theRunScriptsSettingsBuildAndRunTheProgram() {
    if (std::system("command -v dosbox >/dev/null") != 0) QSKIP("needs dosbox");
    UiTestWorld world;
    const std::string folder = copySample(world, "watcom-hello");
    const std::string settings = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/vantor";
    std::filesystem::create_directories(settings);
    const std::string write =
        "bash -c 'source \"$0\" && write_sample_settings watcom-hello \"$1\" "
        "\"$2\"' '" VANTOR_SOURCE_DIR "/scripts/sample-settings.sh' '" +
        folder + "/makefile' '" + settings + "/settings.reg'";
    QCOMPARE(std::system(write.c_str()), 0);
    std::unique_ptr<MainWindow> mainWindow = world.startMainWindow();
    activate(*mainWindow);

    QTest::keyClick(mainWindow.get(), Qt::Key_F8, Qt::ShiftModifier);
    const QStringList built = mainWindow->output().text().split('\n');
    QCOMPARE(built.last(), QString("End Build."));
    QVERIFY(QFileInfo::exists(QString::fromStdString(folder + "/hello.exe")));

    QTest::keyClick(mainWindow.get(), Qt::Key_T, Qt::AltModifier);
    QTest::qWait(50);
    QVERIFY(mainWindow->toolsMenu->isVisible());
    QTest::keyClick(mainWindow->toolsMenu, Qt::Key_Down);
    QTest::keyClick(mainWindow->toolsMenu, Qt::Key_Return);
    const QString ran = mainWindow->output().text();
    QVERIFY2(ran.endsWith("\nHello from Open Watcom!\nMS-DOS 5.00\n"
                          "code pointers 4 bytes, data pointers 4 bytes"),
             qPrintable(ran));
}

void WatcomBuildTest::checkDependenciesThenANativeBuildErrorOpensItsLine() {
    UiTestWorld world;
    WatcomProject project(world, "make");
    QTest::keyClick(project.mainWindow.get(), Qt::Key_F5);  // Check dependencies
    QCOMPARE(project.lines(), QStringList({"", "Start Depmill.", "End Depmill."}));
    QVERIFY(QFileInfo::exists(QString::fromStdString(project.folder + "/makefile.old")));
    const std::string makefile = readFile(project.folder + "/makefile");
    QVERIFY(makefile.find("\nCC\t= wcc\n") != std::string::npos);
    QVERIFY(makefile.find("\nMODEL\t= l\n") != std::string::npos);  // -ml from the makefile

    world.writeFile("hello/memory.c",
                    "#include \"dosinfo.h\"\n\nvoid report_memory_model(void)\n"
                    "{\n    return missing;\n}\n");
    // The editor runs in the project folder, where the name holds as written.
    QCOMPARE(project.buildAndOpenTheFirstMessage(), QString("[-l5]\n[memory.c]\n"));
    const QStringList lines = project.lines();
    QCOMPARE(lines.last(), QString("Build Error (2)."));
    QVERIFY2(!linesStarting(lines, "memory.c(5): Error! E").isEmpty(),
             qPrintable(lines.join('\n')));
    QVERIFY(linesStarting(lines, "wcc ").size() >=
            2);  // the objects folder Build made holds the rest
}

// wmake inside DOSBox runs the DOS-hosted wcc, which finds the broken
// header through the DOS INCLUDE and names it "C:\SHARED\broken.h".
void WatcomBuildTest::aBuildInsideDosboxOpensTheHostFileOfItsDosName() {
    if (std::system("command -v dosbox >/dev/null") != 0) QSKIP("needs dosbox");
    UiTestWorld world;
    const std::filesystem::path config = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    std::filesystem::create_directories(config / "vantor");
    std::ofstream(config / "vantor" / "dosrun.conf")
        << "root = " << world.work().toStdString() << "\n"
        << toolchain->dosrunSettings(";C:\\SHARED") << "timeout = 300\n";
    world.writeFile("shared/broken.h",
                    "/* included from main.c */\nint broken(void) { return x; }\n");
    WatcomProject project(world, "dosrun wmake -h -e");
    world.writeFile("hello/main.c", "#include \"broken.h\"\nint main(void) { return broken(); }\n");

    QCOMPARE(project.buildAndOpenTheFirstMessage(),
             QString::fromStdString("[-l2]\n[" + world.path("shared/broken.h") + "]\n"));
    const QStringList lines = project.lines();
    QCOMPARE(lines.last(), QString("Build Error (2)."));
    QVERIFY2(!linesStarting(lines, "C:\\SHARED\\broken.h(2): Error! E1011: ").isEmpty(),
             qPrintable(lines.join('\n')));
}

QTEST_MAIN(WatcomBuildTest)
#include "watcom_build_test.moc"
