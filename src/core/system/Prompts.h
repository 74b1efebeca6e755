#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

// Every message box and common dialog of the program goes through here, so that tests can answer them and check
// their texts. Message boxes are titled with the application title "ツキバン"; a CR LF in a text is a line break.
class Prompts {
public:
    enum class Answer { Ok, Yes, No, Cancel };
    enum class Buttons { YesNo, YesNoCancel };

    virtual ~Prompts() = default;

    // Information icon, OK button.
    virtual void information(const QString &text) = 0;
    // Question icon.
    virtual Answer question(const QString &text, Buttons buttons = Buttons::YesNo) = 0;

    // The common dialogs give an empty text or nullopt when cancelled.
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
    virtual QString openFileName(const QString &title, const QString &folder, const QString &filter) = 0;
    // Several files at once; none when cancelled.
    virtual QStringList openFileNames(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;

    // A notice that waits for nobody (what a background job found); where no window can stay open, a message box.
    virtual void notice(const QString &text) { information(text); }
    // A password typed into a masked field; nullopt when cancelled or when nobody can answer.
    virtual std::optional<QString> password(const QString &text) {
        (void)text;
        return std::nullopt;
    }
};

// The application title: the title of every message box, the tip of the tray icon, the name of the shortcuts.
inline QString ApplicationTitle() {
    return QStringLiteral("ツキバン");
}
