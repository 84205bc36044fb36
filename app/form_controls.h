// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Controls at fixed places, as every window of the program lays them out: the windows are
// not resizable and each control has its position and size.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

// width < 0: as wide as the text.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width = -1);
QLineEdit* MakeEdit(QWidget* parent, const QString& text, int x, int y, int width);
// A button that Enter in a field never presses.
QPushButton* MakeButton(QWidget* parent, const QString& text, int x, int y, int w, int h);
// A number field whose text cannot be typed into, only stepped with its arrows.
QSpinBox* MakeUpDown(QWidget* parent, int x, int y, int min, int max, int value);
