#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

// Qt's own texts (the buttons and labels of the file, font, colour and print dialogs, the text boxes' context menu)
// in the system's language where Qt has a translation for it, and in Japanese otherwise, the language of everything
// else the program shows. Null when no translation is installed at all.
std::unique_ptr<QTranslator> QtTranslations(const QLocale &system);
