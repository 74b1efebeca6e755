#pragma once

#include "core/program/CommandTable.h"

#include <QDate>
#include <QWidget>

class AppContext;
class QAction;
class QPlainTextEdit;
class QTableWidget;
class QToolBar;

// The memo list "メモ一覧": every day of the displayed month with its memo, edited in place; the memo commands, the
// export and the months on its toolbar. It reads and writes through the memo book and follows its changes, from
// whichever window they come.
class frmNoteList : public QWidget {
    Q_OBJECT
public:
    frmNoteList(AppContext &ctx, QWidget *calendar);

    // Rebuilds the rows for the displayed month. An edit still open is finished first, for its own day; false (and
    // nothing rebuilt) when that memo is too long to store.
    bool FillMemoList();
    // The in-place editor over the memo of a row (0 is the first day).
    void startEditing(int row);
    // Stores the edited memo; false when it is refused (too long, or the file said no) and the editor stays open.
    bool finishEditing();
    bool isEditing() const;
    QDate dayOfRow(int row) const;
    QAction *action(const QString &key) const; // a toolbar button by its key: "Cut" … "Close"

    QTableWidget *flxNoteList = nullptr;
    QPlainTextEdit *txtValue = nullptr;
    QToolBar *tblToolbar = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void run(Command command);
    void memoChanged(const QDate &date);
    void cellClicked();
    void cellDoubleClicked();
    void showMenu(const QPoint &global);
    QString dateText(const QDate &day) const;

    AppContext &m_ctx;
    QWidget *m_calendar;
    QDate m_month;          // the month the rows show
    QDate m_editDay;        // the day the open editor belongs to
    bool m_swallow = false; // the clicks of a double click that opened the editor
};
