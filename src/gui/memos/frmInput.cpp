#include "gui/memos/frmInput.h"

#include "core/memos/MemoBook.h"
#include "core/program/AppContext.h"
#include "core/system/Twips.h"
#include "core/view/InputBoxLayout.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// The entry box's caption and borders, as a classic desktop draws them.
constexpr int kCaptionAndBordersY = WindowMetrics::CyCaption + 2 * WindowMetrics::CyFrame;
constexpr int kBordersX = 2 * WindowMetrics::CxFrame;

} // namespace

frmInput::frmInput(AppContext &ctx, const QDate &day, const InputBoxAnchor &anchor, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_day(day) {
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(DayKey(day));
    setWindowModality(Qt::ApplicationModal);

    // The face and size of the day numbers, without their bold mark.
    QFont font(anchor.font.family());
    if (anchor.font.pointSizeF() > 0) font.setPointSizeF(anchor.font.pointSizeF());
    setFont(font);

    const QString captions[] = {QStringLiteral("保存して閉じる"), QStringLiteral("×")};
    for (int i = 0; i < 2; ++i) {
        QPushButton *button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("cmdInput%1").arg(i));
        button->setAccessibleName(captions[i]);
        // Enter belongs to the text box, which takes line breaks.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdInput_Click(i); });
        cmdInput[size_t(i)] = button;
    }
    cmdInput[1]->setToolTip(QStringLiteral("保存せずに閉じる"));
    cmdInput[1]->setAccessibleDescription(cmdInput[1]->toolTip());

    txtInput = new QPlainTextEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setAccessibleName(DayKey(day));
    txtInput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtInput->setTabChangesFocus(true);
    // A memo longer than the limit, written by hand or by the import, is shown whole; only new input is cut.
    txtInput->setPlainText(ctx.memos().memo(day));
    txtInput->moveCursor(QTextCursor::End);
    connect(txtInput->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { m_changeEnd = position + added; });
    connect(txtInput, &QPlainTextEdit::textChanged, this, &frmInput::limitLength);

    placeOnScreen(anchor);
    txtInput->setFocus();
}

void frmInput::placeOnScreen(const InputBoxAnchor &anchor) {
    const QScreen *screen = QGuiApplication::screenAt(anchor.calendarTopLeft);
    if (!screen) screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect screenPixels = screen ? screen->geometry() : QRect(0, 0, 1024, 768);

    InputBoxPlacement in;
    in.label = ToTwips(anchor.label);
    in.frameWidth = ToTwipsX(anchor.frameWidth);
    in.windowLeft = ToTwipsX(anchor.calendarTopLeft.x());
    in.captionHeight = ToTwipsY(kCaptionAndBordersY);
    in.screen = ToTwips(screenPixels);
    const InputBoxGeometry g = LayoutInputBox(in);

    // Qt sizes the client area; the window manager adds caption and borders around it.
    const QSize client(std::max(1, ToPixelsX(g.window.width()) - kBordersX),
                       std::max(1, ToPixelsY(g.window.height()) - kCaptionAndBordersY));
    const auto toPixels = [&](const QRect &r) {
        const QRect p = ToPixels(r);
        return QRect(p.topLeft(), QSize(std::min(p.width(), client.width()), p.height()));
    };
    // "×" takes the right end of the save button's row, a square as high as the row.
    const QRect button = toPixels(g.button);
    const int closeWidth = std::min(button.height(), button.width() / 4);
    cmdInput[1]->setGeometry(button.right() + 1 - closeWidth, button.y(), closeWidth, button.height());
    cmdInput[0]->setGeometry(button.adjusted(0, 0, -closeWidth, 0));
    txtInput->setGeometry(toPixels(g.text));
    setFixedSize(client);
    move(ToPixels(g.window.topLeft()));
}

void frmInput::limitLength() {
    QTextDocument *doc = txtInput->document();
    const int excess = doc->characterCount() - 1 - MaxCharacters;
    if (excess <= 0) return;
    // Drop what was just typed or pasted beyond the limit, never text that was there before.
    int end = std::clamp(m_changeEnd, 0, doc->characterCount() - 1);
    int start = std::max(0, end - excess);
    if (start > 0 && doc->characterAt(start).isLowSurrogate()) --start; // never split a surrogate pair
    QTextCursor cursor(doc);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void frmInput::cmdInput_Click(int index) {
    if (index == 1) {
        reject();
        return;
    }
    const StoreResult result = m_ctx.memos().store(m_day, txtInput->toPlainText());
    // The refusal (too long, characters the file cannot hold) or the write failure has been reported; the text stays
    // here so that nothing typed is lost.
    if (result == StoreResult::Failed) {
        txtInput->setFocus();
        return;
    }
    m_result = result;
    accept();
}
