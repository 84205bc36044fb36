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
    std::optional<Language> language; // nullopt: not given
    QString error;                    // non-empty: given without a language we speak
};

// Takes "--lang X" or "--lang=X" out of arguments, so that the rest parse as before.
LanguageArgument TakeLanguageArgument(QStringList& arguments);
