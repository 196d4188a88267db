// The main window's jumps from the output window: the line under the caret,
// the next and previous message line, the external editor at a message line
// or at the makefile, the error help.
#include <string_view>

#include "dosdrivefile.h"
#include "helpviewer.h"
#include "mainwindow.h"
#include "makedirectory.h"
#include "navigation.h"
#include "outputwindow.h"
#include "project.h"
#include "qtext.h"
#include "runner.h"
#include "settings.h"
#include "tool.h"

namespace {

constexpr char kNoMoreMessages[] = "これ以上メッセージはありません";

LineAt linesOf(OutputWindow& output, common::CodePage cp) {
    return [&output, cp](std::size_t index) {
        return fromQt(output.lineText(static_cast<int>(index)), cp);
    };
}

}  // namespace

// Only the line under the caret is read, so a click costs the same in a
// short output and in a long one.
bool MainWindow::selectCurrentLine() {
    const int caret = outputWindow->selectionStart();
    const OutputWindow::Line line = outputWindow->lineAt(caret);
    const std::u16string_view view(reinterpret_cast<const char16_t*>(line.text.utf16()),
                                   static_cast<std::size_t>(line.text.size()));
    auto found = ::SelectCurrentLine(view, static_cast<std::size_t>(caret - line.start));
    if (!found) {  // an empty line, which is no line only in an empty output
        if (outputWindow->lineCount() == 0) return false;
        found = LineSelection{};
    }
    const int start = line.start + static_cast<int>(found->start);
    const int length = static_cast<int>(found->length);
    outputWindow->select(start, length);
    if (debugMode()) setStatusText(QString("Start=%1, Len=%2").arg(start).arg(length));
    return true;
}

void MainWindow::jumpToEditor() {
    const std::string text = fromQt(outputWindow->selectedText(), codePage_);
    std::optional<std::string> commandLine;
    if (auto message = ParseMessageLine(text)) {
        const auto line =
            static_cast<std::size_t>(outputWindow->lineNumberAt(outputWindow->selectionStart()));
        message->fileName =
            HostFileOfDosDriveFile(message->fileName, project_->projectFolder, codePage_);
        message->fileName = ResolveMessageFile(
            message->fileName, MakeDirectoryAt(linesOf(*outputWindow, codePage_), line));
        commandLine = FillEditCommand(settings_->editorCommand, *message, codePage_);
    } else {
        commandLine = EditorCommandLine(settings_->editorCommand, text, codePage_);
    }
    if (commandLine) startEditor(*commandLine);
}

// The editor runs on its own: no shell, no pipes, not waited for, and a
// failure to start it is not reported.
void MainWindow::startEditor(const std::string& commandLine) {
    if (debugMode()) setStatusText("Editcmd=" + toQt(commandLine));
    Tool editor;
    editor.command = commandLine;
    editor.folder = project_->projectFolder;
    RunDetached(editor, services_.processes);
}

void MainWindow::selectClickedLine() {
    selectCurrentLine();
}

void MainWindow::jumpToEditorOnDoubleClick() {
    if (selectCurrentLine()) jumpToEditor();
}

void MainWindow::jumpToEditorFromSelection() {
    if (outputWindow->selectionLength() == 0 && !selectCurrentLine()) return;
    jumpToEditor();
}

// New output sends the message search back to the top until the caret or
// the selection is placed. Lines appended place nothing, and lines leaving
// from the top take the selection along without placing it.
void MainWindow::followOutputReading() {
    connect(outputWindow, &OutputWindow::contentsChanged, this, [this] { searchFromTop_ = true; });
    connect(outputWindow, &OutputWindow::selectionChanged, this,
            [this] { searchFromTop_ = false; });
}

void MainWindow::openNextMessage() {
    selectMessage(SearchDirection::Next);
}

void MainWindow::openPreviousMessage() {
    selectMessage(SearchDirection::Previous);
}

// The search goes on after the selection's last line or before its first.
void MainWindow::selectMessage(SearchDirection direction) {
    outputWindow->flush();  // lines not yet shown are new output too
    std::optional<std::size_t> current;
    if (!searchFromTop_) {
        const int start = outputWindow->selectionStart();
        const int length = outputWindow->selectionLength();
        const int from =
            direction == SearchDirection::Next && length > 0 ? start + length - 1 : start;
        current = static_cast<std::size_t>(outputWindow->lineNumberAt(from));
    }
    const auto found = FindMessageLine(static_cast<std::size_t>(outputWindow->lineCount()),
                                       linesOf(*outputWindow, codePage_), current, direction);
    if (!found) {
        setStatusText(kNoMoreMessages);
        return;
    }
    outputWindow->selectLine(static_cast<int>(*found));
    jumpToEditor();
}

void MainWindow::jumpToHelp() {
    if (outputWindow->selectionLength() == 0 && !selectCurrentLine()) return;
    const QString fromSelection = outputWindow->text().mid(outputWindow->selectionStart());
    if (const auto key = FindHelpKeyword(fromQt(fromSelection), codePage_)) {
        services_.help.keyword(settings_->errorHelpFile, *key);
    }
}

// A makefile path is taken whole, blanks and parentheses included.
void MainWindow::editMakefile() {
    if (const auto commandLine =
            ProjectEditCommandLine(settings_->editorCommand, project_->projectFile, codePage_)) {
        startEditor(*commandLine);
    }
}
