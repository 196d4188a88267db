// The IDE as the project tests drive it: the real main window and project
// dialog on a settings file in a temporary folder and real child processes
// (depmill, make, gcc), with fakes for the modal boxes, sounds and help.
#pragma once

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <memory>

#include "childprocess_system.h"
#include "fakehelpviewer.h"
#include "fakesoundplayer.h"
#include "fakeuiservices.h"
#include "outputwindow.h"
#include "qtext.h"
#include "tprojectsetting.h"
#include "tvantor.h"
#include "usersettingsstore.h"

// Texts are UTF-8 byte strings whatever locale the test runner inherits.
inline void useUtf8Locale() {
    setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
}

// A settings folder of its own and the current folder restored afterwards,
// for one test function.
class TestEnvironment {
  public:
    TestEnvironment() : savedFolder_(QDir::currentPath()) {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }
    ~TestEnvironment() { QDir::setCurrent(savedFolder_); }

    // A scratch folder for project files.
    QString work() const { return work_.path(); }

  private:
    QString savedFolder_;
    QTemporaryDir config_;
    QTemporaryDir work_;
};

class ProjectTestIde {
  public:
    ProjectTestIde()
        : store(openUserSettingsStore()),
          vantor(std::make_unique<TVantor>(VantorServices{ui, *store, processes, sounds, help})) {
        dialog = new Tprojectsetting(*vantor);
        VantorDialogs dialogs;
        dialogs.projectsetting = dialog;
        vantor->setDialogs(dialogs);
    }

    QStringList outputLines() const {
        QString text = vantor->output().text();
        return text.isEmpty() ? QStringList() : text.split('\n');
    }

    QString title() const { return vantor->windowTitle(); }

    // Runs answer as soon as the dialog is up, then closes the dialog if the
    // answer left it open, so that a failing check cannot hang the test.
    void whenDialogShown(const std::function<void()>& answer) {
        QTimer::singleShot(0, dialog, [this, answer] {
            answer();
            if (dialog->isVisible()) dialog->reject();
        });
    }

    FakeUiServices ui;
    std::unique_ptr<SettingsStore> store;
    SystemChildProcesses processes;
    FakeSoundPlayer sounds;
    FakeHelpViewer help;
    std::unique_ptr<TVantor> vantor;
    Tprojectsetting* dialog = nullptr;  // owned by the main window
};

inline bool writeTextFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

inline QByteArray readTextFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
