// Process start of the IDE: the application with Qt's translations, the
// system's seams, the six forms in their fixed order, the event loop. An exception that escapes is
// shown in an error box and ends the process.
#include <QApplication>
#include <QMessageBox>
#include <clocale>
#include <exception>

#include "childprocess_system.h"
#include "helpfilecheck.h"
#include "proj.h"
#include "qtext.h"
#include "qttranslations.h"
#include "qtuiservices.h"
#include "regist.h"
#include "sound.h"
#include "systemhelp.h"
#include "taboutbox.h"
#include "tedittool.h"
#include "toptiondlg.h"
#include "tprojectsetting.h"
#include "ttoollistedit.h"
#include "tvantor.h"
#include "usersettingsstore.h"

int main(int argc, char* argv[]) {
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor");
    // The desktop entry vantor.desktop: its icon and name on Wayland too.
    QGuiApplication::setDesktopFileName("vantor");
    InstallQtTranslations(app);
    try {
        QtUiServices ui;
        const auto settings = openUserSettingsStore(&ui);
        SystemChildProcesses processes;
        const auto sounds = CreateSystemSoundPlayer();
        const auto systemHelp = CreateSystemHelpViewer(ui);
        HelpFileCheck help(*systemHelp, ui);

        TVantor Vantor({ui, *settings, processes, *sounds, help});
        ui.setParentWindow(&Vantor);
        VantorDialogs dialogs;
        dialogs.EditTool = new TEditTool(&Vantor);
        dialogs.OptionDlg = new TOptionDlg(Vantor);
        dialogs.projectsetting = new Tprojectsetting(
            ui, [&Vantor]() -> TPROJ& { return Vantor.project(); }, Vantor.settings().ProjectFolder,
            &Vantor);
        dialogs.ToolListEdit = new TToolListEdit(Vantor, *dialogs.EditTool);
        dialogs.AboutBox = new TAboutBox(&Vantor);
        Vantor.setDialogs(dialogs);

        Vantor.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Vantor", toQt(error.what()));
        return 1;
    }
}
