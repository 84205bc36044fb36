// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps what can be typed into a field storable: every character must have a byte in the
// windows-1251 files the program keeps, and typing stops at the field's length. Text set by
// the program (a whole favourite line, say) may be longer and can still be shortened.
#include <QLineEdit>
#include <QValidator>

class FieldValidator : public QValidator {
    Q_OBJECT
public:
    // maxTyped < 0: no length limit.
    FieldValidator(QLineEdit* field, int maxTyped);
    State validate(QString& input, int& pos) const override;

private:
    const QLineEdit* field_;
    int maxTyped_;
};

// Installs a FieldValidator owned by the field.
void LimitToStorableText(QLineEdit* field, int maxTyped = -1);
