// The tool list dialog.
#include "ttoollistedit.h"

#include "tvantor.h"

TToolListEdit::TToolListEdit(TVantor& main, TEditTool& editor)
    : QDialog(&main), main_(main), editor_(editor) {
    setObjectName("ToolListEdit");
    setWindowTitle("ツールメニューの一覧");
}
