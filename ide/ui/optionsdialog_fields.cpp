// The options dialog's controls, laid out by their lines and bound to the
// settings they edit.
#include "optionsdialog_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <string>
#include <variant>

#include "formcontrols.h"
#include "qtext.h"

namespace {

// The field of the row's type; nullptr for a line of no setting.
template <typename Field>
auto fieldOf(const StoredSetting* row) -> decltype(Field::field) {
    const auto* stored = row != nullptr ? std::get_if<Field>(&row->field) : nullptr;
    return stored != nullptr ? stored->field : nullptr;
}

}  // namespace

QWidget* SettingControls::add(QWidget* page, QGridLayout* grid, const OptionsLine& line) {
    const OptionControl& control = ControlOf(line);
    QWidget* widget = make(page, control, SettingOf(line));
    const int at = grid->rowCount();
    if (control.kind == ControlKind::Edit || control.kind == ControlKind::List) {
        const std::string label = std::string(control.name) + "Label";
        grid->addWidget(makeLabel(page, label.c_str(), control.caption, widget), at, 0);
        grid->addWidget(widget, at, 1);
    } else {
        grid->addWidget(widget, at, 0, 1, 2);
    }
    return widget;
}

QWidget* SettingControls::make(QWidget* page, const OptionControl& control,
                               const StoredSetting* row) {
    const std::string name = ControlObjectName(control);
    switch (control.kind) {
        case ControlKind::Edit: {
            QLineEdit* edit = makeEdit(page, name.c_str());
            if (const auto field = fieldOf<TextField<Settings>>(row)) {
                bindings_.push_back({[=](const Settings& reg) { edit->setText(toQt(reg.*field)); },
                                     [=](Settings& reg) { reg.*field = fromQt(edit->text()); }});
            }
            return edit;
        }
        case ControlKind::CheckBox: {
            QCheckBox* box = makeCheckBox(page, name.c_str(), control.caption);
            if (const auto field = fieldOf<FlagField<Settings>>(row)) {
                bindings_.push_back({[=](const Settings& reg) { box->setChecked(reg.*field); },
                                     [=](Settings& reg) { reg.*field = box->isChecked(); }});
            }
            return box;
        }
        case ControlKind::List: {
            auto* list = new QComboBox(page);
            list->setObjectName(QString::fromStdString(name));
            list->setEditable(false);
            for (const char* item : control.items) list->addItem(wordsToQt(item));
            if (const auto field = fieldOf<NumberField<Settings>>(row)) {
                const auto shownItem = control.shownItem;
                bindings_.push_back(
                    {[=](const Settings& reg) { list->setCurrentIndex(shownItem(reg.*field)); },
                     [=](Settings& reg) { reg.*field = list->currentIndex(); }});
            }
            return list;
        }
        case ControlKind::Heading:
        case ControlKind::None:
            break;
    }
    auto* heading = new QLabel(wordsToQt(control.caption), page);
    heading->setObjectName(QString::fromStdString(name));
    return heading;
}

void SettingControls::fill(const Settings& reg) const {
    for (const Binding& binding : bindings_) binding.fill(reg);
}

void SettingControls::store(Settings& reg) const {
    for (const Binding& binding : bindings_) binding.store(reg);
}
