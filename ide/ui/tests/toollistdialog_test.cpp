// The tool list dialog and the tool editor on the main window's live tool
// table: edits, additions, deletions and moves, the finish button that
// rebuilds the Tools menu and saves, the close box that does neither, the
// limit of the table, the editor's rules, and stored values of the wrong type.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "qtext.h"
#include "settings.h"
#include "tooleditor.h"
#include "toollistdialog.h"
#include "uitestsupport.h"

class ToolListDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void editsMovesDeletesAddsAndFinishes();
    void buttonsWithoutSelectionAndAtTheEndsChangeNothing();
    void closeBoxKeepsTheTableButNotTheMenuNorTheStore();
    void twentyFirstToolIsRefused();
    void editorRequiresTitleAndProgramButNotForASeparator();
    void startWithABadSettingKeepsTheStoredTools();
    void unreadableStoredToolValueIsReportedAndThatToolSkipped();
};

namespace {

Tool tool(const std::string& name) {
    return {name, "prog-" + name, "", "", false, false};
}

void storeTools(UiTestWorld& world, const std::vector<std::string>& names) {
    ToolTable list;
    for (const auto& name : names) list.tools[list.count++] = tool(name);
    SaveTools(list, *world.store);
}

// The main window with the two dialogs, as the process start makes them.
struct ToolsIde {
    explicit ToolsIde(UiTestWorld& world) : mainWindow(world.startMainWindow()) {
        editor = new ToolEditor(mainWindow.get(), world.ui);
        list = new ToolListDialog(mainWindow.get(), mainWindow->tools(), world.ui, *editor);
        MainWindowDialogs dialogs;
        dialogs.toolEditor = editor;
        dialogs.toolListDialog = list;
        mainWindow->setDialogs(dialogs);
    }

    // Opens the list through the Options menu; answer runs once it is up.
    void openList(const std::function<void()>& answer) {
        QTimer::singleShot(0, list, [this, answer] {
            answer();
            if (list->isVisible()) list->reject();
        });
        mainWindow->editTools();
    }

    // Runs answer in the editor once the next handler has shown it.
    void answerEditor(const std::function<void()>& answer) {
        QTimer::singleShot(0, editor, [this, answer] {
            answer();
            if (editor->isVisible()) editor->reject();
        });
    }

    QStringList lines() const {
        QStringList result;
        for (int i = 0; i < list->toolList->count(); ++i) result << list->toolList->item(i)->text();
        return result;
    }
    int selected() const {
        const auto items = list->toolList->selectedItems();
        return items.isEmpty() ? -1 : list->toolList->row(items.first());
    }
    void select(int row) { list->toolList->setCurrentRow(row); }

    QStringList table() const {
        QStringList result;
        const ToolTable& tools = mainWindow->tools();
        for (std::size_t i = 0; i < tools.count; ++i) result << toQt(tools.tools[i].name);
        return result;
    }
    // Separators show as "-".
    QStringList menu() const {
        QStringList result;
        for (const QAction* item : mainWindow->toolsMenu->actions()) {
            result << (item->isSeparator() ? QString("-") : item->data().toString());
        }
        return result;
    }
    bool menuShown() const { return mainWindow->toolsMenu->menuAction()->isVisible(); }

    std::unique_ptr<MainWindow> mainWindow;
    ToolEditor* editor = nullptr;
    ToolListDialog* list = nullptr;
};

// The tools as a fresh start reads them.
QStringList storedNames(UiTestWorld& world) {
    ToolTable list;
    LoadTools(list, *world.store);
    QStringList names;
    for (std::size_t i = 0; i < list.count; ++i) names << toQt(list.tools[i].name);
    return names;
}

QString settingsText() {
    return QString::fromStdString(
        readFile(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/vantor/settings.reg"));
}

}  // namespace

void ToolListDialogTest::editsMovesDeletesAddsAndFinishes() {
    UiTestWorld world;
    storeTools(world, {"A", "B", "C", "D"});
    ToolsIde ide(world);
    QStringList shownAtOpening, menuBeforeFinish, editorShown;
    int selectedAtOpening = 0;

    ide.openList([&] {
        shownAtOpening = ide.lines();
        selectedAtOpening = ide.selected();

        ide.select(2);
        ide.list->moveSelectedUp();  // A C B D
        QCOMPARE(ide.selected(), 1);

        ide.select(0);
        ide.answerEditor([&] {
            editorShown << ide.editor->titleEdit->text() << ide.editor->programEdit->text();
            ide.editor->titleEdit->setText("Alpha");
            ide.editor->argumentsEdit->setText("$(ProjName)");
            ide.editor->folderEdit->setText("/tmp");
            ide.editor->captureOutputBox->setChecked(true);
            ide.editor->minimisedBox->setChecked(true);
            ide.editor->okButton->click();
        });
        ide.list->editButton->click();
        QCOMPARE(ide.selected(), 0);

        ide.select(3);
        ide.list->deleteSelected();  // the last line: the new last one is selected
        QCOMPARE(ide.selected(), 2);
        ide.select(1);
        ide.list->deleteSelected();  // Alpha B
        QCOMPARE(ide.selected(), 1);

        ide.answerEditor([&] {
            editorShown << ide.editor->titleEdit->text() << ide.editor->programEdit->text();
            ide.editor->titleEdit->setText("New");
            ide.editor->programEdit->setText("prog-new");
            ide.editor->okButton->click();
        });
        ide.list->addTool();
        QCOMPARE(ide.selected(), 2);
        QCOMPARE(ide.lines(), QStringList({"Alpha", "B", "New"}));
        menuBeforeFinish = ide.menu();
        ide.list->okButton->click();
    });

    QCOMPARE(shownAtOpening, QStringList({"A", "B", "C", "D"}));
    QCOMPARE(selectedAtOpening, -1);
    QCOMPARE(editorShown, QStringList({"A", "prog-A", "新規", ""}));
    QCOMPARE(menuBeforeFinish, QStringList({"A", "B", "C", "D"}));
    QCOMPARE(ide.table(), QStringList({"Alpha", "B", "New"}));
    QCOMPARE(ide.menu(), QStringList({"Alpha", "B", "New"}));
    QVERIFY(ide.menuShown());

    // Stored under new numbers, the values of the dropped index removed.
    QCOMPARE(storedNames(world), QStringList({"Alpha", "B", "New"}));
    ToolTable stored;
    LoadTools(stored, *world.store);
    const Tool& alpha = stored.tools[0];
    QCOMPARE(alpha.command, std::string("prog-A"));
    QCOMPARE(alpha.arguments, std::string("$(ProjName)"));
    QCOMPARE(alpha.folder, std::string("/tmp"));
    QVERIFY(alpha.captureOutput && alpha.minimised);
    const QString text = settingsText();
    QVERIFY(text.contains("\"NumTools\"=dword:00000003"));
    for (const char* stale : {"\"Name3\"", "\"Command3\"", "\"Arguments3\"", "\"Folder3\"",
                              "\"OutputRedirect3\"", "\"Iconed3\""}) {
        QVERIFY2(!text.contains(stale), stale);
    }

    // Deleting everything and finishing hides the menu.
    ide.openList([&] {
        while (ide.list->toolList->count() > 0) {
            ide.select(0);
            ide.list->deleteSelected();
        }
        QCOMPARE(ide.selected(), -1);
        ide.list->okButton->click();
    });
    QVERIFY(!ide.menuShown());
    QVERIFY(storedNames(world).isEmpty());
}

void ToolListDialogTest::buttonsWithoutSelectionAndAtTheEndsChangeNothing() {
    UiTestWorld world;
    storeTools(world, {"A", "B", "C"});
    ToolsIde ide(world);
    ide.openList([&] {
        ide.list->editSelected();  // no editor: it would stay open and hang the test
        ide.list->deleteSelected();
        ide.list->moveSelectedUp();
        ide.list->moveSelectedDown();
        QCOMPARE(ide.table(), QStringList({"A", "B", "C"}));
        QCOMPARE(ide.selected(), -1);

        ide.select(0);
        ide.list->moveSelectedUp();
        QCOMPARE(ide.selected(), 0);
        ide.select(2);
        ide.list->moveSelectedDown();
        QCOMPARE(ide.selected(), 2);
        ide.list->moveSelectedUp();
        ide.list->moveSelectedDown();
        QCOMPARE(ide.table(), QStringList({"A", "B", "C"}));
        QCOMPARE(ide.lines(), ide.table());

        // Cancelled editors change nothing, yet the line stays selected.
        ide.select(1);
        ide.answerEditor([&] {
            ide.editor->titleEdit->setText("Changed");
            ide.editor->cancelButton->click();
        });
        ide.list->editDoubleClicked();
        QCOMPARE(ide.selected(), 1);
        ide.answerEditor([&] { ide.editor->reject(); });  // the close box
        ide.list->addTool();
        QCOMPARE(ide.table(), QStringList({"A", "B", "C"}));
        QCOMPARE(ide.lines(), ide.table());
    });
}

void ToolListDialogTest::closeBoxKeepsTheTableButNotTheMenuNorTheStore() {
    UiTestWorld world;
    storeTools(world, {"A"});
    ToolsIde ide(world);
    const QString before = settingsText();
    ide.openList([&] {
        ide.answerEditor([&] {
            ide.editor->titleEdit->setText("B");
            ide.editor->programEdit->setText("prog-B");
            ide.editor->confirm();
        });
        ide.list->addTool();
        ide.list->close();
    });
    QCOMPARE(ide.table(), QStringList({"A", "B"}));
    QCOMPARE(ide.menu(), QStringList({"A"}));
    QCOMPARE(settingsText(), before);

    // The next opening shows the table, and its finish saves it.
    QStringList shown;
    ide.openList([&] {
        shown = ide.lines();
        ide.list->okButton->click();
    });
    QCOMPARE(shown, QStringList({"A", "B"}));
    QCOMPARE(ide.menu(), QStringList({"A", "B"}));
    QCOMPARE(storedNames(world), QStringList({"A", "B"}));
}

void ToolListDialogTest::twentyFirstToolIsRefused() {
    UiTestWorld world;
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) names.push_back("T" + std::to_string(i));
    storeTools(world, names);
    ToolsIde ide(world);
    bool editorShown = false;
    ide.openList([&] {
        ide.answerEditor([&] { editorShown = ide.editor->isVisible(); });
        ide.list->addTool();
        ide.list->okButton->click();
    });
    QVERIFY(!editorShown);
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].text,
             std::string("ツールメニューには、20個までしか登録できません。"));
    QCOMPARE(world.ui.messages[0].caption, std::string("Vantor"));
    QCOMPARE(world.ui.messages[0].icon, MessageIcon::None);
    QCOMPARE(ide.table().size(), 20);
    QCOMPARE(storedNames(world).size(), 20);
}

void ToolListDialogTest::editorRequiresTitleAndProgramButNotForASeparator() {
    UiTestWorld world;
    storeTools(world, {"A", "B"});
    ToolsIde ide(world);
    bool keptOpen = false;
    QString titleKept;
    ide.openList([&] {
        ide.answerEditor([&] {
            ide.editor->titleEdit->setText("");
            ide.editor->programEdit->setText("prog");
            ide.editor->confirm();
            keptOpen = ide.editor->isVisible();
            ide.editor->titleEdit->setText("   ");  // blanks are a title
            ide.editor->programEdit->setText("");
            ide.editor->confirm();
            titleKept = ide.editor->titleEdit->text();
            ide.editor->programEdit->setText("prog");
            ide.editor->confirm();
        });
        ide.list->addTool();

        // A separator between A and B.
        ide.answerEditor([&] {
            ide.editor->titleEdit->setText("-");
            ide.editor->programEdit->setText("");
            ide.editor->confirm();
        });
        ide.list->addTool();
        ide.list->moveSelectedUp();
        ide.list->moveSelectedUp();
        ide.list->okButton->click();
    });
    QVERIFY(keptOpen);
    QCOMPARE(titleKept, QString("   "));
    QCOMPARE(world.ui.messages.size(), std::size_t(2));
    QCOMPARE(world.ui.messages[1].text, std::string("タイトルとプログラムは必須です。"));
    QCOMPARE(world.ui.messages[1].caption, std::string("Vantor"));
    QCOMPARE(world.ui.messages[1].icon, MessageIcon::None);
    QCOMPARE(ide.table(), QStringList({"A", "-", "B", "   "}));
    QCOMPARE(ide.mainWindow->tools().tools[1].command, std::string("区切り線"));
    QCOMPARE(ide.menu(), QStringList({"A", "-", "B", "   "}));
}

void ToolListDialogTest::startWithABadSettingKeepsTheStoredTools() {
    UiTestWorld world;
    storeTools(world, {"A", "B"});
    world.storeInteger(settingsschema::kBaseKey, "EditCommand", 7);
    ToolsIde ide(world);
    QVERIFY(ide.mainWindow->toolsLoaded());
    QCOMPARE(ide.table(), QStringList({"A", "B"}));

    // Finishing the list stores them back as they were.
    ide.openList([&] { ide.list->okButton->click(); });
    QCOMPARE(storedNames(world), QStringList({"A", "B"}));
    QCOMPARE(ide.menu(), QStringList({"A", "B"}));
}

void ToolListDialogTest::unreadableStoredToolValueIsReportedAndThatToolSkipped() {
    UiTestWorld world;
    storeTools(world, {"A", "B", "C"});
    world.storeInteger(settingsschema::kToolsKey, "Command1", 3);
    ToolsIde ide(world);
    QVERIFY(ide.mainWindow->toolsLoaded());
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].text, std::string("'Command1' のﾃﾞｰﾀ型が不正です"));
    QCOMPARE(ide.table(), QStringList({"A", "C"}));
    QCOMPARE(ide.menu(), QStringList({"A", "C"}));
}

QTEST_MAIN(ToolListDialogTest)
#include "toollistdialog_test.moc"
