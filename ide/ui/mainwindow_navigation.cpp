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
#include "statusline.h"
#include "tool.h"

namespace {

ReadingAt readingsOf(OutputWindow& output) {
    return [&output](std::size_t index) { return output.messageAt(static_cast<int>(index)); };
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
    if (debugMode()) status_->showSelection(start, length);
    return true;
}

const MessageReading* MainWindow::selectedMessage() {
    const int line = outputWindow->lineNumberAt(outputWindow->selectionStart());
    if (outputWindow->selectedText() != outputWindow->lineText(line)) return nullptr;
    return outputWindow->messageAt(line);
}

// A whole message line opens where its reading points (a message that names
// no file opens nothing); any other text, or part of a line selected by
// hand, is read as it is.
void MainWindow::jumpToEditor() {
    std::optional<std::string> commandLine;
    if (const MessageReading* message = selectedMessage()) {
        if (!LeadsToFile(*message)) return;
        // A compiler that dosrun ran names its files by DOSBox's drives.
        MessageReading onHost = *message;
        onHost.file = HostFileOfDosDriveFile(message->file, project_->projectFolder, codePage_);
        const EditorJump jump{ResolveMessageFile(onHost, project_->projectFolder, codePage_),
                              message->line, message->column};
        commandLine = FillEditCommand(settings_->editorCommand, jump, codePage_);
    } else {
        commandLine = EditorCommandLine(settings_->editorCommand,
                                        fromQt(outputWindow->selectedText(), codePage_), codePage_,
                                        messageReader_.get());
    }
    if (commandLine) startEditor(*commandLine);
}

// The editor runs on its own: no shell, no pipes, not waited for, and a
// failure to start it is not reported.
void MainWindow::startEditor(const std::string& commandLine) {
    if (debugMode()) status_->showEditorCommand(commandLine);
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
                                       readingsOf(*outputWindow), current, direction);
    if (!found) {
        status_->showNoMoreMessages();
        return;
    }
    outputWindow->selectLine(static_cast<int>(*found));
    jumpToEditor();
}

// The number of the message at the selection, else of the next one below.
void MainWindow::jumpToHelp() {
    if (outputWindow->selectionLength() == 0 && !selectCurrentLine()) return;
    const int line = outputWindow->lineNumberAt(outputWindow->selectionStart());
    if (const auto key =
            FindHelpKeyword(static_cast<std::size_t>(outputWindow->lineCount()),
                            readingsOf(*outputWindow), static_cast<std::size_t>(line))) {
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
