#include "window/frmNote.h"

#include "app/AppContext.h"
#include "app/SettingValues.h"
#include "app/Twips.h"
#include "window/DayNote.h"
#include "window/WindowShape.h"

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
    const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    const QFont font = s.font(TextClass::Note);
    const QFontMetrics fm(font);
    const QString shown = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect extent = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, shown);

    NotePlacementInput in;
    in.cell = QRect(cell.x() * tx, cell.y() * ty, cell.width() * tx, cell.height() * ty);
    in.text = QSize((extent.width() + 1) * tx, extent.height() * ty);
    in.lineHeight = fm.lineSpacing() * ty;
    in.frameWidth = frameWidth * tx;
    in.windowWidth = windowWidth * tx;
    const QScreen *screen = QGuiApplication::screenAt(cell.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    in.screen = QSize((area.x() + area.width()) * tx, (area.y() + area.height()) * ty);
    const NotePlacement place = PlaceDayNote(in, [&](int width) {
        const QRect wrapped =
            fm.boundingRect(QRect(0, 0, width / tx, 100000), Qt::TextWordWrap | Qt::TextWrapAnywhere, shown);
        return qMax(1, wrapped.height() / qMax(1, fm.lineSpacing()));
    });

    txtComment->setFont(font);
    txtComment->setWordWrap(place.wrap);
    QPalette palette = txtComment->palette();
    palette.setColor(QPalette::WindowText, s.textColor(TextClass::Note));
    txtComment->setPalette(palette);
    txtComment->setText(shown);
    txtComment->setGeometry(place.text.x() / tx, place.text.y() / ty, place.text.width() / tx,
                            place.text.height() / ty);
    setGeometry(place.window.x() / tx, place.window.y() / ty, place.window.width() / tx, place.window.height() / ty);
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
