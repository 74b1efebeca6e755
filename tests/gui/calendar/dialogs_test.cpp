#include "core/view/FontSettings.h"
#include "gui/common/QtTranslations.h"

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

TEST(FontNames, TheDialogsFaceAndTheStoredName) {
    InstallFontSubstitutions();
    const struct {
        const char *stored, *drawn;
    } drawn[] = {{"MS UI Gothic", "IPAPGothic"}, {"MS Gothic", "IPAGothic"}, {"MS Mincho", "IPAMincho"},
                 {"IPAGothic", "IPAGothic"}};
    for (const auto &d : drawn) EXPECT_EQ(DrawnFace(QString::fromUtf8(d.stored)), d.drawn) << d.stored;

    const struct {
        const char *chosen, *stored, *kept;
    } names[] = {
        {"IPAPGothic", "MS UI Gothic", "MS UI Gothic"}, // the face it opened on: the name as written
        {"IPAPGothic", "Meiryo", "Meiryo"},
        {"IPAMincho", "MS UI Gothic", "MS Mincho"}, // a face standing for a Windows one: that one's name
        {"IPAPGothic", "DejaVu Sans", "MS UI Gothic"},
        {"DejaVu Sans", "MS UI Gothic", "DejaVu Sans"},
    };
    for (const auto &n : names)
        EXPECT_EQ(StoredFaceName(n.chosen, QString::fromUtf8(n.stored)), n.kept) << n.chosen << " over " << n.stored;

    // Whole sizes in the dialog: the size it opened on keeps the stored 11.25; others stay within 6-72 points.
    QFont stored("MS UI Gothic");
    stored.setPointSizeF(11.25);
    for (const auto &[points, kept] : {std::pair{11, 11.25}, {12, 12.0}, {300, 72.0}, {2, 6.0}}) {
        QFont chosen("IPAPGothic");
        chosen.setPointSize(points);
        const QFont font = KeptFont(chosen, stored);
        EXPECT_EQ(font.pointSizeF(), kept) << points;
        EXPECT_EQ(font.family(), "MS UI Gothic");
    }
    // A name that is only an alias here is written as a face other programs know.
    EXPECT_NE(RealFaceName("Sans Serif"), "Sans Serif");
    EXPECT_FALSE(RealFaceName("Sans Serif").isEmpty());
    EXPECT_EQ(RealFaceName("MS UI Gothic"), "MS UI Gothic");
    EXPECT_EQ(RealFaceName("IPAMincho"), "IPAMincho");
}
