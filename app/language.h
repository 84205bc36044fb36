// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language of the window and of the batch commands' messages: Russian, in which every text
// is written, or English from the translation built beside the program.
#include <QString>
#include <QStringList>
#include <optional>

class QLocale;

enum class Language { Russian, English };

// The language a --lang value names: "en" or "ru"; nullopt for anything else.
std::optional<Language> LanguageNamed(const QString& value);

// --lang wins; without it, English for a locale whose language is English, else Russian.
Language ChooseLanguage(std::optional<Language> option, const QLocale& system);

struct LanguageArgument {
    std::optional<Language> language; // nullopt: not given, or not one we speak
    std::optional<QString> badValue;  // given without a language we speak
};

// Takes "--lang X" or "--lang=X" out of arguments, so that the rest parse as before. Taken
// before anything else is read: every message of the run is in the language it names.
LanguageArgument TakeLanguageArgument(QStringList& arguments);

// Why value is refused, in the run's language (which the locale chose).
QString BadLanguageReason(const QString& value);
