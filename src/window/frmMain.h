#pragma once

#include <QWidget>

class AppContext;

// The calendar window. Closing it, by the quit command or by the desktop, closes every other window and ends the
// program; nothing is saved then, as every change is written when it is made.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(AppContext &ctx, QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AppContext &m_ctx;
};
