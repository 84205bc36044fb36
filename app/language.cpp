// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/language.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>

std::optional<Language> LanguageNamed(const QString& value) {
    if (value == QLatin1String("en"))
        return Language::English;
    if (value == QLatin1String("ru"))
        return Language::Russian;
    return std::nullopt;
}

Language ChooseLanguage(std::optional<Language> option, const QLocale& system) {
    if (option)
        return *option;
    return system.language() == QLocale::English ? Language::English : Language::Russian;
}

LanguageArgument TakeLanguageArgument(QStringList& arguments) {
    const QString name = QStringLiteral("--lang");
    const QString joined = name + u'=';
    LanguageArgument result;
    for (qsizetype i = 0; i < arguments.size();) {
        QString value;
        if (arguments[i] == name) {
            value = i + 1 < arguments.size() ? arguments[i + 1] : QString();
            arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
        } else if (arguments[i].startsWith(joined)) {
            value = arguments[i].mid(joined.size());
            arguments.remove(i);
        } else {
            ++i;
            continue;
        }
        result.language = LanguageNamed(value);
        if (!result.language) {
            result.badValue = value;
            return result;
        }
    }
    return result;
}

QString BadLanguageReason(const QString& value) {
    return QCoreApplication::translate("Language", "--lang принимает en или ru, а не \"%1\"")
        .arg(value);
}
