// The IDE as the project tests drive it: the real main window and project
// dialog on a settings file in a temporary folder and real child processes
// (depmill, make, gcc), with fakes for the modal boxes, sounds and help
// (the world of uitestsupport.h).
#pragma once

#include <QDialog>
#include <QFile>
#include <QTimer>
#include <functional>
#include <memory>

#include "mainwindow.h"
#include "outputwindow.h"
#include "projectdialog.h"
#include "qtext.h"
#include "uitestsupport.h"

// The main window and its project dialog on the services of one test's world.
class ProjectTestIde {
  public:
    explicit ProjectTestIde(UiTestWorld& world)
        : ui(world.ui), sounds(world.sounds), mainWindow(world.startMainWindow()) {
        MainWindow& main = *mainWindow;
        dialog = new ProjectDialog(
            world.ui, [&main]() -> Project& { return main.project(); },
            main.settings().projectFolder, &main);
        MainWindowDialogs dialogs;
        dialogs.projectDialog = dialog;
        mainWindow->setDialogs(dialogs);
    }

    QStringList outputLines() const {
        QString text = mainWindow->output().text();
        return text.isEmpty() ? QStringList() : text.split('\n');
    }

    QString title() const { return mainWindow->windowTitle(); }

    // Runs answer as soon as the dialog is up, then closes the dialog if the
    // answer left it open, so that a failing check cannot hang the test.
    void whenDialogShown(const std::function<void()>& answer) {
        QTimer::singleShot(0, dialog, [this, answer] {
            answer();
            if (dialog->isVisible()) dialog->reject();
        });
    }

    FakeUiServices& ui;
    FakeSoundPlayer& sounds;
    std::unique_ptr<MainWindow> mainWindow;
    ProjectDialog* dialog = nullptr;  // owned by the main window
};

inline bool writeTextFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

inline QByteArray readTextFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
