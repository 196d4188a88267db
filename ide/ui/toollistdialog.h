// The tool list dialog: shows the tools of the Tools menu by name and lets
// the user edit, add, delete and reorder them through the tool editor. Every
// change goes straight into the tool table it is given; its finish button
// accepts, and only then does the window rebuild the Tools menu and save
// the table.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

class QListWidget;
class QPushButton;
class ToolEditor;
class UiServices;
struct ToolTable;

class ToolListDialog : public QDialog {
    Q_OBJECT

  public:
    // The limit of the table is told through ui.
    ToolListDialog(QWidget* parent, ToolTable& tools, UiServices& ui, ToolEditor& editor);

    // Fills the list from the table, with no line selected.
    void fillList();
    void editSelected();
    void editDoubleClicked();
    void addTool();
    void deleteSelected();
    void moveSelectedUp();
    void moveSelectedDown();

    QListWidget* toolList = nullptr;
    QWidget* buttonPanel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* editButton = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* upButton = nullptr;
    QPushButton* downButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ToolTable& tools();
    // The first selected line, or none.
    std::optional<std::size_t> selectedLine() const;
    void selectLine(std::size_t line);
    void showLine(std::size_t line);
    // Shows the editor modally; true when it was closed with OK.
    bool runEditor();
    void moveSelected(std::size_t (*move)(ToolTable&, std::size_t));

    ToolTable& tools_;
    UiServices& ui_;
    ToolEditor& editor_;
};
