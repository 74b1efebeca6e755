#pragma once

#include <QObject>

class AppContext;

// The user manual, opened in the desktop's browser. Nothing of it stays to be closed when the program ends.
bool HelpAvailable(const AppContext &ctx);
void OpenHelp(const AppContext &ctx);

// F1 in any window of the program opens the manual.
class HelpKey : public QObject {
public:
    HelpKey(const AppContext &ctx, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const AppContext &m_ctx;
};
