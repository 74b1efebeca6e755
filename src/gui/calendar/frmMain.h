#pragma once

#include "core/calendar/DayClass.h"
#include "core/settings/SettingsModel.h"
#include "core/view/MonthLayout.h"
#include "gui/calendar/PictureBand.h"
#include "gui/calendar/WindowDrag.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class AppContext;
class QPainter;
class ClockLabel;
class DesktopWatch;
class SeeThrough;
class QLabel;
class TodayMarker;
class Toolbar;
class TrayIcon;
class frmFrame;
class frmInput;
class frmMenu;
class frmNote;
class NoteWindows;

// The calendar window: title, clock, weekday header, 6 x 7 day cells with their rokuyo, the today marker, three rules,
// the outline and the picture band. It paints what core computes and forwards the commands.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(AppContext &ctx, QWidget *parent = nullptr);
    ~frmMain() override;

    // Fills title, header and the 42 cells for the month of date.
    void ShowMonth(const QDate &date);
    // Sizes and places everything, and places the window on the screen.
    void LayoutCalendar(const QDate &date);
    void PlaceTodayMarker(int cell);
    // Pushes fonts, colours and the clock's settings onto the window.
    void ApplyOptions();
    void LoadBackgroundPicture();
    void ChangePicture(int command);
    void ApplyTransparency();
    // The activation: the first one places the window and applies picture and transparency; after the options have
    // been applied (activationDone cleared) it rebuilds everything.
    void activateCalendar();
    void clearActivationDone() { m_activationDone = false; }
    void ApplyToolbarMode(const QString &entry);

    // The clock: the time in the chosen zone once a second; a new local date moves the today marker, takes a view
    // of the current month on to the new month and rebuilds the tray tip.
    void tick();
    // Dragging: the outline follows the mouse (screen pixels), the window moves on release unless Position fixes it.
    void sub_Move_Start(QPoint global);
    void sub_Move_Refresh(QPoint global);
    void sub_Move_End(QPoint global);
    // The entry box of a day cell, under the cell.
    void openInput(int cell);
    // The entry box of a day, its month shown first (a reminder's 開く).
    void openDay(const QDate &date);
    void refreshTrayTip();

    frmNote *note() const { return m_note; }
    frmMenu *menu() const { return m_menu; }
    TrayIcon *tray() const { return m_tray; }
    NoteWindows *notes() const { return m_notes; }
    frmInput *input() const;
    frmFrame *outlineWindow() const { return m_drag.outline(); }
    int hoverDayIndex() const { return m_hoverDayIndex; }
    bool isHighlighted(const QWidget *widget) const;

    // What the window shows where, for the tests and the screen-reader tree.
    const MonthGeometry &layoutTwips() const { return m_geometry; }
    QRegion visibleRegion() const;
    QRegion inputRegion() const;
    SeeThrough *seeThrough() const { return m_seeThrough; }
    QRect pictureRect() const { return m_band.rect(); }

    QLabel *lblTitle = nullptr;
    ClockLabel *lblTime = nullptr;
    std::array<QLabel *, 7> lblHeader{};
    std::array<QLabel *, 42> lblDay{};
    std::array<QLabel *, 42> lblRokuyo{};
    TodayMarker *shpToday = nullptr;
    Toolbar *tlbToolbar = nullptr;

signals:
    // Each second of the clock, for whoever checks the time without a timer of its own.
    void ticked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    int dayIndexOf(const QObject *label) const;
    QWidget *widgetAt(const QPoint &at) const; // the label or toolbar button at a point of the window
    void setHighlight(QWidget *widget, bool on);
    void setTextColor(QLabel *label, const QColor &color) const;
    void hoverDay(int cell);
    void hoverOver(QWidget *child);
    QList<QRect> inputLabelRects() const;
    QString clockText() const;
    void dateChanged(const QDate &today);
    // Lights what lies under the pointer (screen pixels), or nothing when it is off the window.
    void followPointer(const QPoint &global);
    void addCommands();
    void goToMonth(const QDate &month);
    void settingsChanged(SettingsGroup group);
    void memoChanged(const QDate &date);
    GridDay gridDay(int cell, const QDate &month) const;
    QDate cellDate(int cell) const; // the date a cell of the displayed month shows, invalid for a blank cell
    void pictureChanged();
    QRegion opaqueShape() const;
    void paintBackground(QPainter &painter); // what the window paints under its labels
    void paintArea(QPainter &painter, const QRect &area);
    QSize measure(const QFont &font, const QString &text) const; // twips
    QFont labelFont(const QFont &font) const;
    QFont dayFont(int dayClass) const; // the class's font, bold for a day with a memo
    QColor dayColor(int dayClass) const;

    AppContext &m_ctx;
    // The fonts and colours of the five measuring labels.
    QFont m_titleFont, m_timeFont, m_weekdayFont, m_offdayFont, m_holidayFont;
    QColor m_titleColor, m_timeColor, m_weekdayColor, m_offdayColor, m_holidayColor;
    QString m_weekdaySample = QStringLiteral("99");
    MonthGeometry m_geometry;
    PictureBand m_band;
    WindowDrag m_drag;
    QSize m_lastBand; // band size of the last picture change
    QRegion m_ring;   // the outline's one-pixel ring
    QPair<QSize, bool> m_ringKey;
    bool m_firstActivation = true;
    bool m_activationDone = false;

    frmNote *m_note = nullptr;
    frmMenu *m_menu = nullptr;
    TrayIcon *m_tray = nullptr;
    NoteWindows *m_notes = nullptr;
    QPointer<frmInput> m_input_box;
    QTimer m_clock;
    DesktopWatch *m_desktop = nullptr;
    SeeThrough *m_seeThrough = nullptr;
    QDate m_today;
    int m_hoverDayIndex = 99;
    int m_pressedDay = -1;           // a left press on a day, clicked when released over it
    QWidget *m_hoverLabel = nullptr; // the lit label or toolbar button
};
