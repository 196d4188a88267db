// The main window's jumps from the output window: the line under the caret,
// the external editor at a message line or at the makefile, the error help.
#include <QTextDocument>
#include <string_view>

#include "helpviewer.h"
#include "navigation.h"
#include "outputwindow.h"
#include "proj.h"
#include "qtext.h"
#include "regist.h"
#include "runner.h"
#include "toolopt.h"
#include "tvantor.h"

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

void TVantor::JumpToEditor(const std::string& text) {
    if (const auto commandLine = EditorCommandLine(regist->EditCommand, text, codePage_)) {
        startEditor(*commandLine);
    }
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
    if (SelectCurrentLine()) JumpToEditor(fromQt(output1->selectedText()));
}

void TVantor::jumpEditClick() {
    if (output1->selectionLength() == 0 && !SelectCurrentLine()) return;
    JumpToEditor(fromQt(output1->selectedText()));
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
