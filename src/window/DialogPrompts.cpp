#include "window/DialogPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString displayText(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

QWidget *DialogPrompts::parent() {
    return QApplication::activeWindow();
}

void DialogPrompts::information(const QString &text) {
    QMessageBox box(QMessageBox::Information, ApplicationTitle(), displayText(text), QMessageBox::Ok, parent());
    box.exec();
}

Prompts::Answer DialogPrompts::question(const QString &text, Buttons buttons) {
    QMessageBox::StandardButtons standard = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel) standard |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, ApplicationTitle(), displayText(text), standard, parent());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    if (buttons == Buttons::YesNoCancel) box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

QString DialogPrompts::chooseFolder(const QString &title, const QString &startFolder) {
    return QFileDialog::getExistingDirectory(parent(), title, startFolder);
}

QString DialogPrompts::openFileName(const QString &title, const QString &folder, const QString &filter) {
    return QFileDialog::getOpenFileName(parent(), title, folder, filter);
}

QStringList DialogPrompts::openFileNames(const QString &title, const QString &folder, const QString &filter) {
    return QFileDialog::getOpenFileNames(parent(), title, folder, filter);
}

QString DialogPrompts::saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) {
    return QFileDialog::getSaveFileName(parent(), title, suggestedPath, filter);
}

std::optional<QFont> DialogPrompts::chooseFont(const QFont &initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent());
    return ok ? std::optional<QFont>(font) : std::nullopt;
}

std::optional<QColor> DialogPrompts::chooseColor(const QColor &initial) {
    const QColor color = QColorDialog::getColor(initial, parent());
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}
