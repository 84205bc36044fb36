// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRadioButton>

// Checks or clears one of an exclusive set of radio buttons. Qt refuses to clear
// the checked button of an exclusive set, but a settings file may select no mode.
inline void SetRadioChecked(QRadioButton* button, bool checked) {
    if (checked || !button->isChecked()) {
        button->setChecked(checked);
        return;
    }
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}
