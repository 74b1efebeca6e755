#include "window/QtTranslations.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Installs the translation for a system language while the test runs.
struct Translated {
    std::unique_ptr<QTranslator> translator;
    explicit Translated(const QLocale &system) : translator(QtTranslations(system)) {
        if (translator) QCoreApplication::installTranslator(translator.get());
    }
    ~Translated() {
        if (translator) QCoreApplication::removeTranslator(translator.get());
    }
};

QStringList actionTexts(QMenu *menu) {
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    return texts;
}

} // namespace

TEST(QtTexts, DialogsAndContextMenusSpeakJapanese) {
    // A Japanese session, and sessions whose language Qt speaks natively or not at all (C, English): all Japanese.
    for (const QLocale &system : {QLocale(QLocale::Japanese, QLocale::Japan), QLocale::c(),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        SCOPED_TRACE(system.name().toStdString());
        const Translated qt(system);
        ASSERT_TRUE(qt.translator) << "qtbase_ja.qm of qt6-translations-l10n";
        EXPECT_TRUE(qt.translator->language().startsWith("ja")) << qt.translator->language().toStdString();

        QFileDialog dialog(nullptr, "開く");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto *lookIn = dialog.findChild<QLabel *>("lookInLabel");
        ASSERT_NE(lookIn, nullptr);
        EXPECT_NE(lookIn->text(), "Look in:");
        QStringList buttons;
        for (QPushButton *b : dialog.findChildren<QPushButton *>()) buttons << b->text();
        EXPECT_FALSE(buttons.contains("Cancel")) << buttons.join(',').toStdString();
        EXPECT_FALSE(buttons.contains("&Open")) << buttons.join(',').toStdString();

        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        const QStringList items = actionTexts(menu.get());
        ASSERT_FALSE(items.isEmpty());
        for (const char *english : {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Select All"})
            EXPECT_FALSE(items.join(u'|').contains(QString::fromLatin1(english).remove(u'&')))
                << english << " in " << items.join(u'|').toStdString();
    }
}

TEST(QtTexts, ALanguageQtSpeaksIsKept) {
    const Translated qt(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(qt.translator);
    EXPECT_TRUE(qt.translator->language().startsWith("de")) << qt.translator->language().toStdString();
}
