// The options dialog's controls bound to the settings they edit.
#include "optionsdialog_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "formcontrols.h"
#include "qtext.h"

QLineEdit* SettingControls::edit(QWidget* page, const char* name, std::string Settings::*field) {
    QLineEdit* edit = makeEdit(page, name);
    bindings_.push_back({[=](const Settings& reg) { edit->setText(toQt(reg.*field)); },
                         [=](Settings& reg) { reg.*field = fromQt(edit->text()); }});
    return edit;
}

QCheckBox* SettingControls::checkBox(QWidget* page, const char* name, const char* caption,
                                     bool Settings::*field) {
    QCheckBox* box = makeCheckBox(page, name, caption);
    bindings_.push_back({[=](const Settings& reg) { box->setChecked(reg.*field); },
                         [=](Settings& reg) { reg.*field = box->isChecked(); }});
    return box;
}

QComboBox* SettingControls::list(QWidget* page, const char* name,
                                 std::span<const char* const> items,
                                 std::int32_t Settings::*field, int (*shownItem)(std::int32_t)) {
    auto* list = new QComboBox(page);
    list->setObjectName(name);
    list->setEditable(false);
    for (const char* item : items) list->addItem(wordsToQt(item));
    bindings_.push_back(
        {[=](const Settings& reg) { list->setCurrentIndex(shownItem(reg.*field)); },
         [=](Settings& reg) { reg.*field = list->currentIndex(); }});
    return list;
}

void SettingControls::fill(const Settings& reg) const {
    for (const Binding& binding : bindings_) binding.fill(reg);
}

void SettingControls::store(Settings& reg) const {
    for (const Binding& binding : bindings_) binding.store(reg);
}
