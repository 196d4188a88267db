// The tool editor dialog.
#include "tedittool.h"

TEditTool::TEditTool(QWidget* parent) : QDialog(parent) {
    setObjectName("EditTool");
    setWindowTitle("ツールメニューの設定");
}
