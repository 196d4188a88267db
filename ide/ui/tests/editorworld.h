// A main window on a project "my proj" whose editor is a real script that
// writes its working folder and arguments into args.txt, one call at a time.
#pragma once

#include <QFile>
#include <QString>
#include <memory>
#include <string>

#include "settings.h"
#include "uitestsupport.h"

struct EditorWorld {
    UiTestWorld world;
    std::unique_ptr<MainWindow> mainWindow;
    std::string folder;
    std::string editor;
    std::string argsFile;

    explicit EditorWorld(const std::string& editArguments = " -l%n %s") {
        const std::string makefile =
            world.writeFile("my proj/makefile", "PROGRAM\t= hello\n\nall:\n");
        argsFile = world.path("args.txt");
        editor = world.writeFile(
            "editor.sh",
            "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > '" + argsFile + "'\n",
            true);
        world.storeRecentProject("hello", makefile);
        world.storeString(settingsschema::kBaseKey, "EditCommand", editor + editArguments);
        mainWindow = world.startMainWindow();
        folder = world.path("my proj");
    }

    // What the editor received, once it has run; the record is removed so
    // that the next call can be told apart.
    QString editorCall() {
        if (!waitForFile(argsFile)) return "editor not started";
        const QString call = QString::fromStdString(readFile(argsFile));
        QFile::remove(QString::fromStdString(argsFile));
        return call;
    }

    // The editor's record of a call in the project folder.
    QString expectedCall(const std::string& arguments) const {
        return QString::fromStdString(folder + "\n" + arguments);
    }
};
