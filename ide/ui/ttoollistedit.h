// The tool list dialog: shows the tools of the Tools menu by name and lets
// the user edit, add, delete and reorder them through the tool editor. Every
// change goes straight into the main window's tool table; only the finish
// button rebuilds the Tools menu and saves the table.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

class QListWidget;
class QPushButton;
class TEditTool;
class TVantor;
struct tooloptions;

class TToolListEdit : public QDialog {
    Q_OBJECT

  public:
    TToolListEdit(TVantor& main, TEditTool& editor);

    // Fills the list from the table, with no line selected.
    void FormActivate();
    void EditClick();
    void ToolListDblClick();
    void AddClick();
    void DeleteClick();
    void UpClick();
    void DownClick();
    void OKBtnClick();

    QListWidget* ToolList = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* Edit = nullptr;
    QPushButton* Add = nullptr;
    QPushButton* Delete = nullptr;
    QPushButton* Up = nullptr;
    QPushButton* Down = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    tooloptions& tools();
    // The first selected line, or none.
    std::optional<std::size_t> selectedLine() const;
    void selectLine(std::size_t line);
    void showLine(std::size_t line);
    // Shows the editor modally; true when it was closed with OK.
    bool runEditor();
    void moveSelected(std::size_t (*move)(tooloptions&, std::size_t));

    TVantor& main_;
    TEditTool& editor_;
};
