// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/field_validator.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

bool StorableInWindows1251(const QString& text) {
    const QByteArray bytes = QStringEncoder("windows-1251")(text);
    return QString(QStringDecoder("windows-1251")(bytes)) == text;
}

} // namespace

FieldValidator::FieldValidator(QLineEdit* field, int maxTyped)
    : QValidator(field), field_(field), maxTyped_(maxTyped) {}

QValidator::State FieldValidator::validate(QString& input, int&) const {
    if (!StorableInWindows1251(input))
        return Invalid;
    if (maxTyped_ < 0 || input.size() <= maxTyped_)
        return Acceptable;
    // Over the limit: only shortening a longer text the program put there is an edit.
    return input.size() < field_->text().size() ? Intermediate : Invalid;
}

void LimitToStorableText(QLineEdit* field, int maxTyped) {
    field->setValidator(new FieldValidator(field, maxTyped)); // owned by the field
}
