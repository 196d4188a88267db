// The status line's one owner: the runs, the navigation, the find bar, the
// tools and the menu hints tell it what happened, and it alone knows the
// words each shows.
#pragma once

#include <QString>
#include <chrono>

class QStatusBar;
struct RunCounts;
struct Tool;

class StatusLine {
  public:
    explicit StatusLine(QStatusBar& bar) : bar_(bar) {}

    QString text() const;
    void clear();

    // A menu item's hint, or an empty one when the pointer leaves it.
    void showHint(const QString& hint);
    // A captured run's errors, warnings and time.
    void showRunCounts(const RunCounts& counts, std::chrono::milliseconds elapsed);
    // The find bar's search found nothing.
    void showNotFound();
    // No message line lies in the direction searched.
    void showNoMoreMessages();
    // The command and arguments of a tool being started.
    void showToolCommand(const Tool& tool);
    // Under the debug switch: a selected line's place, the editor's command line.
    void showSelection(int start, int length);
    void showEditorCommand(const std::string& commandLine);

  private:
    void show(const QString& text);

    QStatusBar& bar_;
};
