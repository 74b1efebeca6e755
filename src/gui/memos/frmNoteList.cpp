#include "gui/memos/frmNoteList.h"

#include "core/calendar/DatePattern.h"
#include "core/memos/MemoBook.h"
#include "core/program/AppContext.h"
#include "core/program/MemoCommands.h"
#include "core/system/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

enum Column { IndexColumn, NumberColumn, DateColumn, MemoColumn };
constexpr int kRowTwips = 300;
constexpr int kEditorCharacters = 1024;

struct ToolbarEntry {
    const char *key;
    std::optional<Command> command; // none for Close
};
const ToolbarEntry kToolbar[] = {
    {"Cut", Command::CutMemo},         {"Copy", Command::CopyMemo},         {"Paste", Command::PasteMemo},
    {"Del", Command::DeleteMemo},      {"Clear", Command::ClearMonth},      {"Export", Command::ExportMemos},
    {"BeforeYear", Command::YearBack}, {"BeforeMonth", Command::MonthBack}, {"Now", Command::ThisMonth},
    {"AfterMonth", Command::MonthOn},  {"AfterYear", Command::YearOn},      {"Close", std::nullopt},
};

bool isNavigation(Command c) {
    return c == Command::YearBack || c == Command::MonthBack || c == Command::ThisMonth || c == Command::MonthOn ||
           c == Command::YearOn;
}

} // namespace

frmNoteList::frmNoteList(AppContext &ctx, QWidget *calendar)
    : QWidget(calendar, Qt::Window), m_ctx(ctx), m_calendar(calendar) {
    setObjectName(QStringLiteral("frmNoteList"));
    setAttribute(Qt::WA_DeleteOnClose);

    tblToolbar = new QToolBar(this);
    tblToolbar->setObjectName(QStringLiteral("tblToolbar"));
    tblToolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ToolbarEntry &entry : kToolbar) {
        QAction *a;
        if (entry.command) {
            const CommandInfo &info = InfoOf(*entry.command);
            a = tblToolbar->addAction(info.captionText());
            const Command command = *entry.command;
            connect(a, &QAction::triggered, this, [this, command] { run(command); });
            // The months go by the calendar's own icons, the memo commands by their names.
            const QString icon = QStringLiteral(":/icons/%1.svg").arg(info.toolbarKeyName());
            if (info.toolbarKey && QFile::exists(icon)) {
                a->setIcon(QIcon(icon));
                a->setToolTip(info.tipText());
                tblToolbar->removeAction(a);
                auto *button = new QToolButton(tblToolbar);
                button->setDefaultAction(a);
                button->setToolButtonStyle(Qt::ToolButtonIconOnly);
                button->setAutoRaise(true);
                tblToolbar->addWidget(button);
            }
        } else {
            a = tblToolbar->addAction(QString::fromUtf8("閉じる"));
            connect(a, &QAction::triggered, this, &QWidget::close);
        }
        a->setObjectName(QString::fromLatin1(entry.key));
        if (qstrcmp(entry.key, "Export") == 0 || qstrcmp(entry.key, "AfterYear") == 0) tblToolbar->addSeparator();
    }

    flxNoteList = new QTableWidget(this);
    flxNoteList->setObjectName(QStringLiteral("flxNoteList"));
    flxNoteList->setColumnCount(4);
    flxNoteList->setHorizontalHeaderLabels(
        {QStringLiteral("Index"), QString::fromUtf8("№"), QString::fromUtf8("日付"), QString::fromUtf8("メモ内容")});
    flxNoteList->verticalHeader()->hide();
    flxNoteList->setColumnHidden(IndexColumn, true);
    flxNoteList->setColumnWidth(NumberColumn, ToPixelsX(500));
    flxNoteList->setColumnWidth(DateColumn, ToPixelsX(1200));
    flxNoteList->horizontalHeader()->setStretchLastSection(true);
    flxNoteList->setSelectionMode(QAbstractItemView::SingleSelection);
    flxNoteList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flxNoteList->setWordWrap(false);
    flxNoteList->setContextMenuPolicy(Qt::CustomContextMenu);
    flxNoteList->installEventFilter(this);
    connect(flxNoteList, &QTableWidget::cellClicked, this, &frmNoteList::cellClicked);
    connect(flxNoteList, &QTableWidget::currentCellChanged, this, &frmNoteList::cellClicked);
    connect(flxNoteList, &QTableWidget::cellDoubleClicked, this, &frmNoteList::cellDoubleClicked);
    connect(flxNoteList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { showMenu(flxNoteList->viewport()->mapToGlobal(at)); });

    txtValue = new QPlainTextEdit(this);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    txtValue->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtValue->hide();
    connect(txtValue, &QPlainTextEdit::textChanged, this, [this] {
        // At most as many characters as the editor always took; the byte limit is the memo book's.
        if (txtValue->document()->characterCount() - 1 <= kEditorCharacters) return;
        QTextCursor cursor = txtValue->textCursor();
        cursor.setPosition(kEditorCharacters);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tblToolbar);
    layout->addWidget(flxNoteList);

    const QScreen *screen = calendar && calendar->screen() ? calendar->screen() : QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->availableGeometry().height() : 768;
    // As wide as the toolbar needs, so that no button hides behind its overflow.
    resize(std::max(ToPixelsX(7500), tblToolbar->sizeHint().width()),
           std::max(ToPixelsY(3000), screenHeight - ToPixelsY(2000)));

    connect(&ctx.memos(), &MemoBook::memoChanged, this, &frmNoteList::memoChanged);
    FillMemoList();
}

QString frmNoteList::dateText(const QDate &day) const {
    return m_ctx.settings.japaneseWeekdays() ? FormatDatePattern(day, QString::fromUtf8("M月d日 (aaa)"), m_ctx.locale)
                                             : FormatDatePattern(day, QStringLiteral("MMM dd"), m_ctx.locale);
}

bool frmNoteList::FillMemoList() {
    // An open edit belongs to its own day, not to the row that day had.
    if (isEditing() && !finishEditing()) return false;
    m_month = m_ctx.displayedMonth;
    const bool japanese = m_ctx.settings.japaneseWeekdays();
    setWindowTitle(QString::fromUtf8("メモ一覧（") +
                   FormatDatePattern(m_month, japanese ? QString::fromUtf8("yyyy年M月") : QStringLiteral("MMM yyyy"),
                                     m_ctx.locale) +
                   QString::fromUtf8("）"));
    flxNoteList->setRowCount(0);
    const int startDay = m_ctx.settings.startDay();
    for (int cell = 0; cell < 42; ++cell) {
        const QDate day = GridCellDate(cell, m_month, startDay);
        if (!day.isValid()) continue;
        const int row = flxNoteList->rowCount();
        flxNoteList->insertRow(row);
        const QString memo = m_ctx.memos().memo(day, QStringLiteral("\n"));
        const QString cells[] = {QString::number(cell), QString::number(row + 1), dateText(day), memo};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c == MemoColumn) item->setToolTip(m_ctx.memos().memo(day));
            if (c == NumberColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            flxNoteList->setItem(row, c, item);
        }
        flxNoteList->setRowHeight(row, ToPixelsY(kRowTwips));
    }
    // Wide enough for the longest date text of the month in the list's font.
    flxNoteList->resizeColumnToContents(DateColumn);
    flxNoteList->setColumnWidth(DateColumn, std::max(ToPixelsX(1200), flxNoteList->columnWidth(DateColumn)));
    return true;
}

QDate frmNoteList::dayOfRow(int row) const {
    const QTableWidgetItem *index = flxNoteList->item(row, IndexColumn);
    return index ? GridCellDate(index->text().toInt(), m_month, m_ctx.settings.startDay()) : QDate();
}

void frmNoteList::memoChanged(const QDate &date) {
    if (date.year() != m_month.year() || date.month() != m_month.month()) return;
    for (int row = 0; row < flxNoteList->rowCount(); ++row) {
        if (dayOfRow(row) != date) continue;
        QTableWidgetItem *item = flxNoteList->item(row, MemoColumn);
        item->setText(m_ctx.memos().memo(date, QStringLiteral("\n")));
        item->setToolTip(m_ctx.memos().memo(date));
        return;
    }
}

bool frmNoteList::isEditing() const {
    return txtValue->isVisible();
}

void frmNoteList::startEditing(int row) {
    const QDate day = dayOfRow(row);
    if (!day.isValid()) return;
    m_editDay = day;
    // The last two rows edit at the second-to-last, so that the box stays inside the list.
    const int placeRow = row >= flxNoteList->rowCount() - 2 ? std::max(0, flxNoteList->rowCount() - 2) : row;
    QWidget *viewport = flxNoteList->viewport();
    const QPoint topLeft = viewport->mapTo(
        this, QPoint(flxNoteList->columnViewportPosition(MemoColumn), flxNoteList->rowViewportPosition(placeRow)));
    txtValue->setGeometry(topLeft.x(), topLeft.y(), flxNoteList->columnWidth(MemoColumn),
                          3 * flxNoteList->horizontalHeader()->height());
    txtValue->setPlainText(m_ctx.memos().memo(day));
    txtValue->selectAll();
    txtValue->show();
    txtValue->raise();
    txtValue->setFocus();
}

bool frmNoteList::finishEditing() {
    if (!isEditing()) return true;
    // The memo book says why it refuses (too long, a character the file cannot hold); the text stays to be mended.
    if (m_ctx.memos().store(m_editDay, txtValue->toPlainText()) == StoreResult::Failed) {
        txtValue->setFocus();
        return false;
    }
    txtValue->hide();
    return true;
}

void frmNoteList::cellClicked() {
    if (m_swallow) {
        m_swallow = false;
        return;
    }
    if (isEditing()) finishEditing();
}

void frmNoteList::cellDoubleClicked() {
    const int row = flxNoteList->currentRow();
    if (isEditing()) {
        if (finishEditing() && dayOfRow(row) != m_editDay) startEditing(row);
    } else {
        startEditing(row);
    }
    m_swallow = true;
}

void frmNoteList::run(Command command) {
    // An open edit is stored first, for its own day; a refused one stops the command.
    if (isEditing() && !finishEditing()) return;
    m_ctx.commands.run(command, {dayOfRow(flxNoteList->currentRow())});
    if (isNavigation(command)) FillMemoList();
    activateWindow();
    flxNoteList->setFocus();
}

void frmNoteList::showMenu(const QPoint &global) {
    const int row = flxNoteList->currentRow();
    if (!dayOfRow(row).isValid()) return;
    QMenu menu(this);
    for (const Command c :
         {Command::CutMemo, Command::CopyMemo, Command::PasteMemo, Command::DeleteMemo, Command::ClearMonth}) {
        QAction *a = menu.addAction(InfoOf(c).captionText());
        a->setObjectName(InfoOf(c).menuItemName());
        if (c == Command::PasteMemo) a->setEnabled(CanPaste(m_ctx.clipboard));
        connect(a, &QAction::triggered, this, [this, c] { run(c); });
    }
    menu.addSeparator();
    QAction *exportAction = menu.addAction(InfoOf(Command::ExportMemos).captionText());
    connect(exportAction, &QAction::triggered, this, [this] { run(Command::ExportMemos); });
    menu.exec(global);
}

QAction *frmNoteList::action(const QString &key) const {
    return tblToolbar->findChild<QAction *>(key);
}

bool frmNoteList::eventFilter(QObject *watched, QEvent *event) {
    if (watched == flxNoteList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const int row = flxNoteList->currentRow();
            if (row + 1 < flxNoteList->rowCount()) {
                flxNoteList->setCurrentCell(row + 1, MemoColumn);
                flxNoteList->scrollToItem(flxNoteList->item(row + 1, MemoColumn));
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmNoteList::closeEvent(QCloseEvent *event) {
    if (m_calendar) m_calendar->raise();
    event->accept();
}
