// The find bar under the output window: a text and whether case counts.
// Enter or F3 finds the next match, Shift+F3 the previous one, Escape
// closes the bar; the match is selected in the output window. At either
// end the bar reports that nothing more was found and the selection stays.
#pragma once

#include <QWidget>

class OutputWindow;
class QCheckBox;
class QLineEdit;

class OutputFindBar : public QWidget {
    Q_OBJECT

  public:
    OutputFindBar(OutputWindow* output, QWidget* parent);

    // Shows the bar with its text selected, ready for typing.
    void open();
    // The next or the previous match of the bar's text.
    void findNext();
    void findPrevious();

    QLineEdit* findText = nullptr;
    QCheckBox* matchCaseBox = nullptr;

  signals:
    void notFound();

  private:
    void find(bool forward);
    void close();

    OutputWindow* output_;
};
