#pragma once

#include "core/memos/MemoStore.h"

#include <QDate>
#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QRect>

#include <array>
#include <optional>

class AppContext;
class QPlainTextEdit;
class QPushButton;

// Where the entry box opens, as the calendar window knows it (pixels on the screen).
struct InputBoxAnchor {
    QRect label;            // the clicked day number
    QFont font;             // its font; the box writes in the same face and size
    int frameWidth = 0;     // the calendar's outline frame
    QPoint calendarTopLeft; // the calendar window
};

// The memo entry box of one day, application-modal: show() returns at once (or exec() waits); finished() gives
// Accepted when the memo was saved, and storeResult() then tells whether it was stored or removed.
class frmInput : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxCharacters = 1024;

    frmInput(AppContext &ctx, const QDate &day, const InputBoxAnchor &anchor, QWidget *parent = nullptr);

    QDate day() const { return m_day; }
    // Stored or Removed once the memo has been saved; nullopt while open and after "×".
    std::optional<StoreResult> storeResult() const { return m_result; }

    std::array<QPushButton *, 2> cmdInput{};
    QPlainTextEdit *txtInput = nullptr;

private:
    void cmdInput_Click(int index);
    void placeOnScreen(const InputBoxAnchor &anchor);
    void limitLength();

    AppContext &m_ctx;
    QDate m_day;
    std::optional<StoreResult> m_result;
    int m_changeEnd = 0; // end of the text the last edit inserted
};
