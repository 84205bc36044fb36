// SPDX-License-Identifier: GPL-3.0-or-later
// The window in English: with the English translation loaded no Russian letter is left in
// what the user reads, in the main window or its two dialogs; without it the texts are Russian.
#include "app/qt_translation.h"
#include "tests/app/window_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>

namespace {

// Every text of the widget and its descendants that the user can read.
QStringList ReadableTexts(QWidget* top) {
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    QStringList texts;
    for (QWidget* w : widgets) {
        texts << w->windowTitle() << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        if (auto* field = qobject_cast<QLineEdit*>(w))
            texts << field->text() << field->placeholderText();
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            texts << combo->currentText();
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
        }
    }
    return texts;
}

QStringList RussianTexts(const QStringList& texts) {
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return texts.filter(cyrillic);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Leaves the application with the translations the program loads for the language.
void UseLanguage(Language language) {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    InstallLanguage(*qApp, language, QStringLiteral(ORBIVIST_BUILD_DIR));
}

} // namespace

TEST_F(WindowTest, EnglishLeavesNoRussianTextAndChangesNoFile) {
    QByteArray saved[2];
    for (const bool english : {false, true}) {
        UseLanguage(english ? Language::English : Language::Russian);
        ServeFromLoopback();
        Open();
        // Texts made as the user works: mode, estimates, the dialogs' counts and phone book.
        form->RadioButton1->click();
        form->Edit1->setText(QStringLiteral("3"));
        Progress().ShowErrorCounts(TileCounters{});
        Schedule().show();
        // Every tab shown once, so that the ones built at their first need are read too.
        for (int tab = form->PageControl1->count() - 1; tab >= 0; --tab)
            form->PageControl1->setCurrentIndex(tab);
        QStringList texts;
        for (QWidget* top : std::initializer_list<QWidget*>{form.get(), &Schedule(), &Progress()})
            texts << ReadableTexts(top);
        EXPECT_EQ(Panel(4), english ? QString("cache only") : QString("только кэш"));
        if (english) {
            EXPECT_EQ(RussianTexts(texts), QStringList());
        } else {
            EXPECT_GT(RussianTexts(texts).size(), 50);
        }
        Schedule().hide();
        Close();
        saved[english] = FileBytes(home.file("ORB.ini")) + FileBytes(home.file("Favorites.dat"));
    }
    UseLanguage(Language::Russian);
    EXPECT_EQ(saved[0], saved[1]);
    EXPECT_FALSE(saved[0].isEmpty());
}
