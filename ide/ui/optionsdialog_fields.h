// The options dialog's controls, made from the lines of its pages
// (optionspages.h): each control of a stored setting is bound to the field
// of Settings its row names, filled from the record and read back into it
// by that binding, so the row and the line are all a setting needs.
#pragma once

#include <functional>
#include <vector>

#include "optionspages.h"
#include "settings.h"

class QGridLayout;
class QWidget;

class SettingControls {
  public:
    // The line's control in the next row of the page's grid: an edit or a
    // list with its label in front, a check box or a heading across both
    // columns.
    QWidget* add(QWidget* page, QGridLayout* grid, const OptionsLine& line);

    void fill(const Settings& reg) const;
    void store(Settings& reg) const;

  private:
    QWidget* make(QWidget* page, const OptionControl& control, const StoredSetting* row);

    struct Binding {
        std::function<void(const Settings&)> fill;
        std::function<void(Settings&)> store;
    };
    std::vector<Binding> bindings_;
};
