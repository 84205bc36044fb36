// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form_controls.h"

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    if (width > 0)
        label->setFixedWidth(width);
    else
        label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& text, int x, int y, int width) {
    auto* edit = new QLineEdit(text, parent);
    edit->setGeometry(x, y, width, 21);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(x, y, w, h);
    button->setAutoDefault(false);
    return button;
}

QSpinBox* MakeUpDown(QWidget* parent, int x, int y, int min, int max, int value) {
    auto* spin = new QSpinBox(parent);
    spin->setGeometry(x, y, 64, 21);
    spin->setRange(min, max);
    spin->setValue(value);
    if (auto* field = spin->findChild<QLineEdit*>())
        field->setReadOnly(true);
    return spin;
}
