// What the form tests share: a UTF-8 locale, a settings folder of each test
// function's own, the real settings file, child processes and depmill, and
// fakes only for the modal boxes, the sounds and the help viewer.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "childprocess.h"
#include "fakehelpviewer.h"
#include "fakesoundplayer.h"
#include "fakeuiservices.h"
#include "mainwindow.h"
#include "registry.h"
#include "settings.h"
#include "settingsstore.h"
#include "textconversion.h"

// Texts are UTF-8 bytes in the core and in these tests, whatever the CI's
// environment says.
inline const bool kUtf8Locale = [] {
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
    return true;
}();

// The fake boxes and choosers, with the window's events still handled
// whenever the runner lets them through.
class TestUiServices : public FakeUiServices {
  public:
    void processEvents() override {
        FakeUiServices::processEvents();
        QCoreApplication::processEvents();
    }
};

// One test function's world: its own XDG_CONFIG_HOME and a work folder.
class UiTestWorld {
  public:
    UiTestWorld() : savedFolder_(QDir::currentPath()) {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        store = CreateUserSettingsStore();
    }
    ~UiTestWorld() { QDir::setCurrent(savedFolder_); }

    // A main window on this world's settings, as the process start makes it.
    std::unique_ptr<MainWindow> startMainWindow() {
        return std::make_unique<MainWindow>(
            MainWindowServices{ui, *store, *processes, sounds, help, *textConversion});
    }

    // The work folder, for project files.
    QString work() const { return work_.path(); }

    std::string path(const std::string& name) const {
        return (work_.path() + "/" + QString::fromStdString(name)).toStdString();
    }

    // Writes a file below the work folder (folders made as needed).
    std::string writeFile(const std::string& name, const std::string& content,
                          bool executable = false) const {
        const std::string file = path(name);
        QDir().mkpath(QFileInfo(QString::fromStdString(file)).path());
        std::ofstream(file, std::ios::binary) << content;
        if (executable) {
            QFile::setPermissions(QString::fromStdString(file),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return file;
    }

    // Writes one string value straight into the settings store.
    void storeString(const char* key, const char* name, const std::string& value) {
        RegistryAccess reg(*store);
        QVERIFY(reg.openKey(key, true));
        reg.writeString(name, value);
    }
    void storeInteger(const char* key, const char* name, int value) {
        RegistryAccess reg(*store);
        QVERIFY(reg.openKey(key, true));
        reg.writeInteger(name, value);
    }
    // The project the next start opens: history entry 0.
    void storeRecentProject(const std::string& name, const std::string& makefile) {
        storeString(settingsschema::kHistoryKey, "Project0", name);
        storeString(settingsschema::kHistoryKey, "ProjectFile0", makefile);
    }

    TestUiServices ui;
    FakeSoundPlayer sounds;
    FakeHelpViewer help;
    const std::unique_ptr<ChildProcesses> processes = CreateSystemChildProcesses();
    const std::unique_ptr<TextConversion> textConversion = CreateSystemTextConversion();
    std::unique_ptr<SettingsStore> store;

  private:
    QTemporaryDir config_;
    QTemporaryDir work_;
    QString savedFolder_;
};

// Waits (handling events) until the file exists and is not empty.
inline bool waitForFile(const std::string& file, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        QFileInfo info(QString::fromStdString(file));
        if (info.exists() && info.size() > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the writer finish
            return true;
        }
        QTest::qWait(20);
    }
    return false;
}

inline std::string readFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
