#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// A notice of the program's own, where the desktop has neither a notification server nor a tray: a small window
// in the corner of the screen with the heading, the text and the buttons of the notice.
class frmRemind : public QWidget {
    Q_OBJECT
public:
    frmRemind(const QString &summary, const QString &body, bool snooze, QWidget *parent = nullptr);

    QLabel *lblSummary = nullptr;
    QLabel *lblBody = nullptr;
    QPushButton *cmdSnooze = nullptr; // none for today's notice
    QPushButton *cmdOpen = nullptr;
    QPushButton *cmdClose = nullptr;

    // Bottom right of the screen's free area, above the ones already shown there.
    void placeOnScreen(int shownBefore);

signals:
    void snoozeChosen();
    void openChosen();
};
