#pragma once

#include <QWidget>

class AppContext;
class QLabel;

// The popup note of a hovered day: passive, it never takes the focus or the mouse.
class frmNote : public QWidget {
public:
    explicit frmNote(AppContext &ctx);

    // Shows text beside the day label (its rectangle on the screen, pixels) of the calendar window.
    void showFor(const QString &text, const QRect &cell, int frameWidth, int windowWidth);
    QLabel *txtComment = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    AppContext &m_ctx;
};
