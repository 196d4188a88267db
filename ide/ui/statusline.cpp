// The texts of the status line.
#include "statusline.h"

#include <QStatusBar>

#include "qtext.h"
#include "runcounts.h"
#include "tool.h"

QString StatusLine::text() const {
    return bar_.currentMessage();
}

void StatusLine::clear() {
    show({});
}

void StatusLine::show(const QString& text) {
    bar_.showMessage(text);
}

void StatusLine::showHint(const QString& hint) {
    show(hint);
}

void StatusLine::showRunCounts(const RunCounts& counts, std::chrono::milliseconds elapsed) {
    show(wordsToQt(RunCountsStatusText(counts, elapsed)));
}

void StatusLine::showNotFound() {
    show(wordsToQt("見つかりません"));
}

void StatusLine::showNoMoreMessages() {
    show(wordsToQt("これ以上メッセージはありません"));
}

void StatusLine::showToolCommand(const Tool& tool) {
    show("Tool: " + toQt(tool.command) + " " + toQt(tool.arguments));
}

void StatusLine::showSelection(int start, int length) {
    show(QString("Start=%1, Len=%2").arg(start).arg(length));
}

void StatusLine::showEditorCommand(const std::string& commandLine) {
    show("Editcmd=" + toQt(commandLine));
}
