#include "gui/calendar/frmNote.h"

#include "core/program/AppContext.h"
#include "core/settings/SettingValues.h"
#include "core/system/Twips.h"
#include "core/view/DayNote.h"
#include "gui/calendar/WindowShape.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

frmNote::frmNote(AppContext &ctx)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmNote"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    txtComment = new QLabel(this);
    txtComment->setObjectName(QStringLiteral("txtComment"));
    txtComment->setTextFormat(Qt::PlainText);
    txtComment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void frmNote::showFor(const QString &text, const QRect &cell, int frameWidth, int windowWidth) {
    const SettingsModel &s = m_ctx.settings;
    const QFont font = s.font(TextClass::Note);
    const QFontMetrics fm(font);
    const QString shown = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect extent = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, shown);

    NotePlacementInput in;
    in.cell = ToTwips(cell);
    in.text = ToTwips(QSize(extent.width() + 1, extent.height()));
    in.lineHeight = ToTwipsY(fm.lineSpacing());
    in.frameWidth = ToTwipsX(frameWidth);
    in.windowWidth = ToTwipsX(windowWidth);
    const QScreen *screen = QGuiApplication::screenAt(cell.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    in.screen = ToTwips(QSize(area.x() + area.width(), area.y() + area.height()));
    const NotePlacement place = PlaceDayNote(in, [&](int width) {
        const QRect wrapped =
            fm.boundingRect(QRect(0, 0, ToPixelsX(width), 100000), Qt::TextWordWrap | Qt::TextWrapAnywhere, shown);
        return qMax(1, wrapped.height() / qMax(1, fm.lineSpacing()));
    });

    txtComment->setFont(font);
    txtComment->setWordWrap(place.wrap);
    QPalette palette = txtComment->palette();
    palette.setColor(QPalette::WindowText, s.textColor(TextClass::Note));
    txtComment->setPalette(palette);
    txtComment->setText(shown);
    txtComment->setGeometry(ToPixels(place.text));
    setGeometry(ToPixels(place.window));
    const QRegion shape = WindowShape::outline(size() * devicePixelRatioF(), s.on(&Settings::Note_Frame_Conner));
    show();
    raise();
    // Applied once the window is mapped: the platform resets the shape while it maps a window.
    QTimer::singleShot(0, this, [this, shape] { WindowShape::apply(this, shape, QRegion()); });
    update();
}

void frmNote::paintEvent(QPaintEvent *) {
    const SettingsModel &s = m_ctx.settings;
    QPainter p(this);
    p.fillRect(rect(), s.color(&Settings::Note_Back_Color));
    if (s.on(&Settings::Frame_Style)) {
        p.setClipRegion(WindowShape::outline(size(), s.on(&Settings::Note_Frame_Conner), true));
        p.fillRect(rect(), s.color(&Settings::Note_Frame_Color));
    }
}
