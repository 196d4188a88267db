// The options dialog's controls of stored settings, each bound to the field
// of Settings it edits (the field of its row in settingstable.h): made once,
// filled from the record and read back into it by that binding, so a
// control on a page is all a stored setting needs of the dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

class SettingControls {
  public:
    QLineEdit* edit(QWidget* page, const char* name, std::string Settings::*field);
    QCheckBox* checkBox(QWidget* page, const char* name, const char* caption,
                        bool Settings::*field);
    // A fixed list whose item i stands for the number i; shownItem gives
    // the item a stored number shows (-1: none). Nothing chosen is -1.
    QComboBox* list(QWidget* page, const char* name, std::span<const char* const> items,
                    std::int32_t Settings::*field, int (*shownItem)(std::int32_t));

    void fill(const Settings& reg) const;
    void store(Settings& reg) const;

  private:
    struct Binding {
        std::function<void(const Settings&)> fill;
        std::function<void(Settings&)> store;
    };
    std::vector<Binding> bindings_;
};
