#include "gui/common/QtTranslations.h"

#include <QLibraryInfo>

std::unique_ptr<QTranslator> QtTranslations(const QLocale &system) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>();
    // English is Qt's own language; anything else without a translation falls back to the program's Japanese.
    if (system.language() != QLocale::English && system.language() != QLocale::C &&
        translator->load(system, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
        return translator;
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                         folder))
        return translator;
    return nullptr;
}
