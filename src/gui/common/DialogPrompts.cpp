#include "gui/common/DialogPrompts.h"

#include "core/view/FontSettings.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
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
    // Opened on the face the stored name is drawn with: the dialog lists faces, not the Windows names it stands for.
    QFont shown = initial;
    shown.setFamily(DrawnFace(initial.family()));
    QFontDialog dialog(shown, parent());
    // Sizes a month calendar can use, also when typed.
    const auto limitSizes = [&dialog] {
        for (QLineEdit *edit : dialog.findChildren<QLineEdit *>())
            if (qobject_cast<const QIntValidator *>(edit->validator()))
                edit->setValidator(new QIntValidator(MinFontPoints, MaxFontPoints, edit));
        for (QListView *list : dialog.findChildren<QListView *>()) {
            const QAbstractItemModel *model = list->model();
            for (int row = 0; model && row < model->rowCount(); ++row) {
                bool number = false;
                const int points = model->index(row, 0).data().toInt(&number);
                if (number) list->setRowHidden(row, points < MinFontPoints || points > MaxFontPoints);
            }
        }
    };
    limitSizes();
    // The size list is filled anew for each face and style.
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog, limitSizes, Qt::QueuedConnection);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFont();
}

std::optional<QColor> DialogPrompts::chooseColor(const QColor &initial) {
    const QColor color = QColorDialog::getColor(initial, parent());
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

void DialogPrompts::notice(const QString &text) {
    // Not modal: a sync that found something must not stop the calendar until the box is answered.
    auto *box = new QMessageBox(QMessageBox::Information, ApplicationTitle(), displayText(text), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

std::optional<QString> DialogPrompts::password(const QString &text) {
    QInputDialog dialog(parent());
    dialog.setWindowTitle(ApplicationTitle());
    dialog.setLabelText(displayText(text));
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}
