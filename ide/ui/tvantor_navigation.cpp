// The main window's jumps from the output window: the line under the caret,
// the next and previous message line, the external editor at a message line
// or at the makefile, the error help.
#include <QTextDocument>
#include <string_view>

#include "helpviewer.h"
#include "makedirectory.h"
#include "navigation.h"
#include "outputwindow.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "runner.h"
#include "toolopt.h"
#include "tvantor.h"

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
bool TVantor::SelectCurrentLine() {
    const int caret = output1->selectionStart();
    const OutputWindow::Line line = output1->lineAt(caret);
    const std::u16string_view view(reinterpret_cast<const char16_t*>(line.text.utf16()),
                                   static_cast<std::size_t>(line.text.size()));
    auto found = ::SelectCurrentLine(view, static_cast<std::size_t>(caret - line.start));
    if (!found) {  // an empty line, which is no line only in an empty output
        if (output1->document()->isEmpty()) return false;
        found = LineSelection{};
    }
    const int start = line.start + static_cast<int>(found->start);
    const int length = static_cast<int>(found->length);
    output1->select(start, length);
    if (debugMode()) setStatusText(QString("Start=%1, Len=%2").arg(start).arg(length));
    return true;
}

void TVantor::JumpToEditor() {
    const std::string text = fromQt(output1->selectedText(), codePage_);
    std::optional<std::string> commandLine;
    if (auto message = ParseMessageLine(text)) {
        const auto line =
            static_cast<std::size_t>(output1->lineNumberAt(output1->selectionStart()));
        message->fileName = ResolveMessageFile(message->fileName,
                                               MakeDirectoryAt(linesOf(*output1, codePage_), line));
        commandLine = FillEditCommand(regist->EditCommand, *message, codePage_);
    } else {
        commandLine = EditorCommandLine(regist->EditCommand, text, codePage_);
    }
    if (commandLine) startEditor(*commandLine);
}

// The editor runs on its own: no shell, no pipes, not waited for, and a
// failure to start it is not reported.
void TVantor::startEditor(const std::string& commandLine) {
    if (debugMode()) setStatusText("Editcmd=" + toQt(commandLine));
    toolopt editor;
    editor.Command = commandLine;
    editor.Folder = proj->projectfolder;
    RunDetached(editor, services_.processes);
}

void TVantor::output1Click() {
    SelectCurrentLine();
}

void TVantor::output1DblClick() {
    if (SelectCurrentLine()) JumpToEditor();
}

void TVantor::jumpEditClick() {
    if (output1->selectionLength() == 0 && !SelectCurrentLine()) return;
    JumpToEditor();
}

// New output sends the message search back to the top until the caret or
// the selection is placed. Lines appended place nothing: an edit reports
// the cursors it moved before the document's contentsChanged.
void TVantor::followOutputReading() {
    connect(output1->document(), &QTextDocument::contentsChanged, this,
            [this] { searchFromTop_ = true; });
    for (auto placed :
         {&QPlainTextEdit::cursorPositionChanged, &QPlainTextEdit::selectionChanged}) {
        connect(output1, placed, this, [this] { searchFromTop_ = false; });
    }
}

void TVantor::NextMessageClick() {
    selectMessage(SearchDirection::Next);
}

void TVantor::PreviousMessageClick() {
    selectMessage(SearchDirection::Previous);
}

// The search goes on after the selection's last line or before its first.
void TVantor::selectMessage(SearchDirection direction) {
    output1->flush();  // lines not yet shown are new output too
    std::optional<std::size_t> current;
    if (!searchFromTop_) {
        const int start = output1->selectionStart();
        const int length = output1->selectionLength();
        const int from =
            direction == SearchDirection::Next && length > 0 ? start + length - 1 : start;
        current = static_cast<std::size_t>(output1->lineNumberAt(from));
    }
    const auto found = FindMessageLine(static_cast<std::size_t>(output1->lineCount()),
                                       linesOf(*output1, codePage_), current, direction);
    if (!found) {
        setStatusText(kNoMoreMessages);
        return;
    }
    output1->selectLine(static_cast<int>(*found));
    JumpToEditor();
}

void TVantor::jumpHelpClick() {
    if (output1->selectionLength() == 0 && !SelectCurrentLine()) return;
    const QString fromSelection = output1->text().mid(output1->selectionStart());
    if (const auto key = FindHelpKeyword(fromQt(fromSelection), codePage_)) {
        services_.help.keyword(regist->Cerror, *key);
    }
}

// A makefile path is taken whole, blanks and parentheses included.
void TVantor::EditProjectClick() {
    if (const auto commandLine =
            ProjectEditCommandLine(regist->EditCommand, proj->projectfilename, codePage_)) {
        startEditor(*commandLine);
    }
}
