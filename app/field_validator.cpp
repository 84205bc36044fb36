// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/field_validator.h"

#include "store/cp1251_lines.h"

FieldValidator::FieldValidator(QLineEdit* field, int maxTyped)
    : QValidator(field), field_(field), maxTyped_(maxTyped) {}

QValidator::State FieldValidator::validate(QString& input, int&) const {
    if (!FitsCp1251(input)) // the files keep it byte for byte
        return Invalid;
    if (maxTyped_ < 0 || input.size() <= maxTyped_)
        return Acceptable;
    // Over the limit: only shortening a longer text the program put there is an edit.
    return input.size() < field_->text().size() ? Intermediate : Invalid;
}

void LimitToStorableText(QLineEdit* field, int maxTyped) {
    field->setValidator(new FieldValidator(field, maxTyped)); // owned by the field
}
