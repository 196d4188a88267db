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
#include "regist.h"
#include "tedittool.h"
#include "ttoollistedit.h"
#include "uitestsupport.h"

class TToolListEditTest : public QObject {
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

toolopt tool(const std::string& name) {
    return {name, "prog-" + name, "", "", false, false};
}

void storeTools(UiTestWorld& world, const std::vector<std::string>& names) {
    tooloptions list;
    for (const auto& name : names) list.tools[list.count++] = tool(name);
    SaveTools(list, *world.store);
}

// The main window with the two dialogs, as the process start makes them.
struct ToolsIde {
    explicit ToolsIde(UiTestWorld& world) : vantor(world.startVantor()) {
        editor = new TEditTool(vantor.get());
        list = new TToolListEdit(*vantor, *editor);
        VantorDialogs dialogs;
        dialogs.EditTool = editor;
        dialogs.ToolListEdit = list;
        vantor->setDialogs(dialogs);
    }

    // Opens the list through the Options menu; answer runs once it is up.
    void openList(const std::function<void()>& answer) {
        QTimer::singleShot(0, list, [this, answer] {
            answer();
            if (list->isVisible()) list->reject();
        });
        vantor->ToolsEditClick();
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
        for (int i = 0; i < list->ToolList->count(); ++i) result << list->ToolList->item(i)->text();
        return result;
    }
    int selected() const {
        const auto items = list->ToolList->selectedItems();
        return items.isEmpty() ? -1 : list->ToolList->row(items.first());
    }
    void select(int row) { list->ToolList->setCurrentRow(row); }

    QStringList table() const {
        QStringList result;
        const tooloptions& tools = vantor->tools();
        for (std::size_t i = 0; i < tools.count; ++i) result << toQt(tools.tools[i].Name);
        return result;
    }
    // Separators show as "-".
    QStringList menu() const {
        QStringList result;
        for (const QAction* item : vantor->ToolsMenu->actions()) {
            result << (item->isSeparator() ? QString("-") : item->data().toString());
        }
        return result;
    }
    bool menuShown() const { return vantor->ToolsMenu->menuAction()->isVisible(); }

    std::unique_ptr<TVantor> vantor;
    TEditTool* editor = nullptr;
    TToolListEdit* list = nullptr;
};

// The tools as a fresh start reads them.
QStringList storedNames(UiTestWorld& world) {
    tooloptions list;
    LoadTools(list, *world.store);
    QStringList names;
    for (std::size_t i = 0; i < list.count; ++i) names << toQt(list.tools[i].Name);
    return names;
}

QString settingsText() {
    return QString::fromStdString(
        readFile(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/vantor/settings.reg"));
}

}  // namespace

void TToolListEditTest::editsMovesDeletesAddsAndFinishes() {
    UiTestWorld world;
    storeTools(world, {"A", "B", "C", "D"});
    ToolsIde ide(world);
    QStringList shownAtOpening, menuBeforeFinish, editorShown;
    int selectedAtOpening = 0;

    ide.openList([&] {
        shownAtOpening = ide.lines();
        selectedAtOpening = ide.selected();

        ide.select(2);
        ide.list->UpClick();  // A C B D
        QCOMPARE(ide.selected(), 1);

        ide.select(0);
        ide.answerEditor([&] {
            editorShown << ide.editor->editTitle->text() << ide.editor->editCommand->text();
            ide.editor->editTitle->setText("Alpha");
            ide.editor->editParameter->setText("$(ProjName)");
            ide.editor->editFolder->setText("/tmp");
            ide.editor->isConsolemode->setChecked(true);
            ide.editor->isIconed->setChecked(true);
            ide.editor->OKBtn->click();
        });
        ide.list->Edit->click();
        QCOMPARE(ide.selected(), 0);

        ide.select(3);
        ide.list->DeleteClick();  // the last line: the new last one is selected
        QCOMPARE(ide.selected(), 2);
        ide.select(1);
        ide.list->DeleteClick();  // Alpha B
        QCOMPARE(ide.selected(), 1);

        ide.answerEditor([&] {
            editorShown << ide.editor->editTitle->text() << ide.editor->editCommand->text();
            ide.editor->editTitle->setText("New");
            ide.editor->editCommand->setText("prog-new");
            ide.editor->OKBtn->click();
        });
        ide.list->AddClick();
        QCOMPARE(ide.selected(), 2);
        QCOMPARE(ide.lines(), QStringList({"Alpha", "B", "New"}));
        menuBeforeFinish = ide.menu();
        ide.list->OKBtn->click();
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
    tooloptions stored;
    LoadTools(stored, *world.store);
    const toolopt& alpha = stored.tools[0];
    QCOMPARE(alpha.Command, std::string("prog-A"));
    QCOMPARE(alpha.Arguments, std::string("$(ProjName)"));
    QCOMPARE(alpha.Folder, std::string("/tmp"));
    QVERIFY(alpha.OutputRedirect && alpha.Iconed);
    const QString text = settingsText();
    QVERIFY(text.contains("\"NumTools\"=dword:00000003"));
    for (const char* stale : {"\"Name3\"", "\"Command3\"", "\"Arguments3\"", "\"Folder3\"",
                              "\"OutputRedirect3\"", "\"Iconed3\""}) {
        QVERIFY2(!text.contains(stale), stale);
    }

    // Deleting everything and finishing hides the menu.
    ide.openList([&] {
        while (ide.list->ToolList->count() > 0) {
            ide.select(0);
            ide.list->DeleteClick();
        }
        QCOMPARE(ide.selected(), -1);
        ide.list->OKBtnClick();
    });
    QVERIFY(!ide.menuShown());
    QVERIFY(storedNames(world).isEmpty());
}

void TToolListEditTest::buttonsWithoutSelectionAndAtTheEndsChangeNothing() {
    UiTestWorld world;
    storeTools(world, {"A", "B", "C"});
    ToolsIde ide(world);
    ide.openList([&] {
        ide.list->EditClick();  // no editor: it would stay open and hang the test
        ide.list->DeleteClick();
        ide.list->UpClick();
        ide.list->DownClick();
        QCOMPARE(ide.table(), QStringList({"A", "B", "C"}));
        QCOMPARE(ide.selected(), -1);

        ide.select(0);
        ide.list->UpClick();
        QCOMPARE(ide.selected(), 0);
        ide.select(2);
        ide.list->DownClick();
        QCOMPARE(ide.selected(), 2);
        ide.list->UpClick();
        ide.list->DownClick();
        QCOMPARE(ide.table(), QStringList({"A", "B", "C"}));
        QCOMPARE(ide.lines(), ide.table());

        // Cancelled editors change nothing, yet the line stays selected.
        ide.select(1);
        ide.answerEditor([&] {
            ide.editor->editTitle->setText("Changed");
            ide.editor->CancelBtn->click();
        });
        ide.list->ToolListDblClick();
        QCOMPARE(ide.selected(), 1);
        ide.answerEditor([&] { ide.editor->reject(); });  // the close box
        ide.list->AddClick();
        QCOMPARE(ide.table(), QStringList({"A", "B", "C"}));
        QCOMPARE(ide.lines(), ide.table());
    });
}

void TToolListEditTest::closeBoxKeepsTheTableButNotTheMenuNorTheStore() {
    UiTestWorld world;
    storeTools(world, {"A"});
    ToolsIde ide(world);
    const QString before = settingsText();
    ide.openList([&] {
        ide.answerEditor([&] {
            ide.editor->editTitle->setText("B");
            ide.editor->editCommand->setText("prog-B");
            ide.editor->OKBtnClick();
        });
        ide.list->AddClick();
        ide.list->close();
    });
    QCOMPARE(ide.table(), QStringList({"A", "B"}));
    QCOMPARE(ide.menu(), QStringList({"A"}));
    QCOMPARE(settingsText(), before);

    // The next opening shows the table, and its finish saves it.
    QStringList shown;
    ide.openList([&] {
        shown = ide.lines();
        ide.list->OKBtnClick();
    });
    QCOMPARE(shown, QStringList({"A", "B"}));
    QCOMPARE(ide.menu(), QStringList({"A", "B"}));
    QCOMPARE(storedNames(world), QStringList({"A", "B"}));
}

void TToolListEditTest::twentyFirstToolIsRefused() {
    UiTestWorld world;
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) names.push_back("T" + std::to_string(i));
    storeTools(world, names);
    ToolsIde ide(world);
    bool editorShown = false;
    ide.openList([&] {
        ide.answerEditor([&] { editorShown = ide.editor->isVisible(); });
        ide.list->AddClick();
        ide.list->OKBtnClick();
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

void TToolListEditTest::editorRequiresTitleAndProgramButNotForASeparator() {
    UiTestWorld world;
    storeTools(world, {"A", "B"});
    ToolsIde ide(world);
    bool keptOpen = false;
    QString titleKept;
    ide.openList([&] {
        ide.answerEditor([&] {
            ide.editor->editTitle->setText("");
            ide.editor->editCommand->setText("prog");
            ide.editor->OKBtnClick();
            keptOpen = ide.editor->isVisible();
            ide.editor->editTitle->setText("   ");  // blanks are a title
            ide.editor->editCommand->setText("");
            ide.editor->OKBtnClick();
            titleKept = ide.editor->editTitle->text();
            ide.editor->editCommand->setText("prog");
            ide.editor->OKBtnClick();
        });
        ide.list->AddClick();

        // A separator between A and B.
        ide.answerEditor([&] {
            ide.editor->editTitle->setText("-");
            ide.editor->editCommand->setText("");
            ide.editor->OKBtnClick();
        });
        ide.list->AddClick();
        ide.list->UpClick();
        ide.list->UpClick();
        ide.list->OKBtnClick();
    });
    QVERIFY(keptOpen);
    QCOMPARE(titleKept, QString("   "));
    QCOMPARE(world.ui.messages.size(), std::size_t(2));
    QCOMPARE(world.ui.messages[1].text, std::string("タイトルとプログラムは必須です。"));
    QCOMPARE(world.ui.messages[1].caption, std::string("Vantor"));
    QCOMPARE(world.ui.messages[1].icon, MessageIcon::None);
    QCOMPARE(ide.table(), QStringList({"A", "-", "B", "   "}));
    QCOMPARE(ide.vantor->tools().tools[1].Command, std::string("区切り線"));
    QCOMPARE(ide.menu(), QStringList({"A", "-", "B", "   "}));
}

void TToolListEditTest::startWithABadSettingKeepsTheStoredTools() {
    UiTestWorld world;
    storeTools(world, {"A", "B"});
    world.storeInteger(regschema::kBaseKey, regschema::kEditCommand, 7);
    ToolsIde ide(world);
    QVERIFY(ide.vantor->toolsLoaded());
    QCOMPARE(ide.table(), QStringList({"A", "B"}));

    // Finishing the list stores them back as they were.
    ide.list->OKBtnClick();
    QCOMPARE(storedNames(world), QStringList({"A", "B"}));
    QCOMPARE(ide.menu(), QStringList({"A", "B"}));
}

void TToolListEditTest::unreadableStoredToolValueIsReportedAndThatToolSkipped() {
    UiTestWorld world;
    storeTools(world, {"A", "B", "C"});
    world.storeInteger(regschema::kToolsKey, "Command1", 3);
    ToolsIde ide(world);
    QVERIFY(ide.vantor->toolsLoaded());
    QCOMPARE(world.ui.messages.size(), std::size_t(1));
    QCOMPARE(world.ui.messages[0].text, std::string("'Command1' のﾃﾞｰﾀ型が不正です"));
    QCOMPARE(ide.table(), QStringList({"A", "C"}));
    QCOMPARE(ide.menu(), QStringList({"A", "C"}));
}

QTEST_MAIN(TToolListEditTest)
#include "ttoollistedit_test.moc"
