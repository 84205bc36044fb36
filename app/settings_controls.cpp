// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_controls.h"

#include "app/radio_check.h"
#include "store/settings_schema.h"

namespace {

template <typename Field> auto& MemberOf(const SettingsControlRow& row, Settings& settings) {
    return std::get<Field>(SettingsSchema()[row.line].field).member(settings);
}

} // namespace

void ShowSettingsLine(const SettingsControlRow& row, Settings& settings) {
    if (auto* field = std::get_if<QLineEdit*>(&row.control))
        (*field)->setText(MemberOf<TextField>(row, settings));
    else if (auto* box = std::get_if<QCheckBox*>(&row.control))
        (*box)->setChecked(MemberOf<FlagField>(row, settings));
    else if (auto* button = std::get_if<QRadioButton*>(&row.control))
        SetRadioChecked(*button, MemberOf<FlagField>(row, settings));
    else if (auto* spinner = std::get_if<QSpinBox*>(&row.control))
        (*spinner)->setValue(MemberOf<NumberField>(row, settings));
    else if (auto* combo = std::get_if<QComboBox*>(&row.control))
        (*combo)->setCurrentIndex(MemberOf<NumberField>(row, settings));
}

void TakeSettingsLine(const SettingsControlRow& row, Settings& settings) {
    if (auto* field = std::get_if<QLineEdit*>(&row.control))
        MemberOf<TextField>(row, settings) = (*field)->text();
    else if (auto* box = std::get_if<QCheckBox*>(&row.control))
        MemberOf<FlagField>(row, settings) = (*box)->isChecked();
    else if (auto* button = std::get_if<QRadioButton*>(&row.control))
        MemberOf<FlagField>(row, settings) = (*button)->isChecked();
    else if (auto* spinner = std::get_if<QSpinBox*>(&row.control))
        MemberOf<NumberField>(row, settings) = (*spinner)->value();
    else if (auto* combo = std::get_if<QComboBox*>(&row.control))
        MemberOf<NumberField>(row, settings) = (*combo)->currentIndex();
}
