// Process start of the IDE: the application with Qt's translations, the
// system's seams, the six forms in their fixed order, the event loop. An exception that escapes is
// shown in an error box and ends the process.
#include <QApplication>
#include <QMessageBox>
#include <clocale>
#include <exception>

#include "aboutbox.h"
#include "childprocess.h"
#include "fileversion.h"
#include "helpfilecheck.h"
#include "helpviewer.h"
#include "mainwindow.h"
#include "optionsdialog.h"
#include "project.h"
#include "projectdialog.h"
#include "qtext.h"
#include "qttranslations.h"
#include "qtuiservices.h"
#include "settings.h"
#include "settingsstore.h"
#include "soundplayer.h"
#include "textconversion.h"
#include "tooleditor.h"
#include "toollistdialog.h"

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor");
    // The desktop entry vantor.desktop: its icon and name on Wayland too.
    QGuiApplication::setDesktopFileName("vantor");
    InstallQtTranslations(app);
    try {
        QtUiServices ui;
        const auto settings = CreateUserSettingsStore(&ui);
        const auto processes = CreateSystemChildProcesses();
        const auto sounds = CreateSystemSoundPlayer();
        const auto systemHelp = CreateSystemHelpViewer(ui, *processes);
        HelpFileCheck help(*systemHelp, ui);
        const auto textConversion = CreateSystemTextConversion();
        const auto fileVersions = CreateSystemFileVersionReader();

        MainWindow mainWindow({ui, *settings, *processes, *sounds, help, *textConversion});
        ui.setParentWindow(&mainWindow);
        MainWindowDialogs dialogs;
        dialogs.toolEditor = new ToolEditor(&mainWindow, ui);
        dialogs.optionsDialog =
            new OptionsDialog(&mainWindow, mainWindow.settings(), mainWindow.codePage());
        dialogs.projectDialog = new ProjectDialog(
            ui, [&mainWindow]() -> Project& { return mainWindow.project(); },
            mainWindow.settings().projectFolder, &mainWindow);
        dialogs.toolListDialog =
            new ToolListDialog(&mainWindow, mainWindow.tools(), ui, *dialogs.toolEditor);
        dialogs.aboutBox = new AboutBox(*fileVersions, &mainWindow);
        mainWindow.setDialogs(dialogs);

        mainWindow.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Vantor", wordsToQt(error.what()));
        return 1;
    }
}
