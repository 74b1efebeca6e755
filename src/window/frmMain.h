#pragma once

#include "window/MonthLayout.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <array>

class AppContext;
class QLabel;
class TodayMarker;
class Toolbar;

// The calendar window: title, clock, weekday header, 6 x 7 day cells with their rokuyo, the today marker, three rules,
// the outline and the picture band. It paints what core computes and forwards the commands.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(AppContext &ctx, QWidget *parent = nullptr);

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
    void runToolbarButton(int index);

    // What the window shows where, for the tests and the screen-reader tree.
    const MonthGeometry &layoutTwips() const { return m_geometry; }
    QRegion visibleRegion() const { return m_visible; }
    QRegion inputRegion() const { return m_input; }
    QRect pictureRect() const { return m_pictureRect; }

    QLabel *lblTitle = nullptr;
    QLabel *lblTime = nullptr;
    std::array<QLabel *, 7> lblHeader{};
    std::array<QLabel *, 42> lblDay{};
    std::array<QLabel *, 42> lblRokuyo{};
    TodayMarker *shpToday = nullptr;
    Toolbar *tlbToolbar = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QSize measure(const QFont &font, const QString &text) const; // twips
    QRect toPixels(const QRect &twips) const;
    QFont labelFont(const QFont &font) const;
    QColor dayColor(int dayClass) const;
    void updateShape();
    QString pictureErrorText(const QString &path, int number, const QString &description) const;

    AppContext &m_ctx;
    // The fonts and colours of the five measuring labels.
    QFont m_titleFont, m_timeFont, m_weekdayFont, m_offdayFont, m_holidayFont;
    QColor m_titleColor, m_timeColor, m_weekdayColor, m_offdayColor, m_holidayColor;
    QString m_weekdaySample = QStringLiteral("99");
    MonthGeometry m_geometry;
    QImage m_picture;    // the loaded picture file
    QPixmap m_scaled;    // painted into the band
    QRect m_pictureRect; // pixels, empty when no picture is shown
    QSize m_lastBand;    // band size of the last picture change
    QRegion m_visible, m_input;
    bool m_firstActivation = true;
    bool m_activationDone = false;
};
