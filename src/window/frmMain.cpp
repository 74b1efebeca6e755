#include "window/frmMain.h"

#include "app/AppContext.h"
#include "app/Clock.h"
#include "app/Prompts.h"
#include "app/SettingValues.h"
#include "app/SettingsStore.h"
#include "app/Twips.h"
#include "calendar/DatePattern.h"
#include "calendar/DayClass.h"
#include "calendar/Kyureki.h"
#include "calendar/TimeZones.h"
#include "window/BackgroundPicture.h"
#include "window/FontSettings.h"
#include "window/TodayMarker.h"
#include "window/Toolbar.h"
#include "window/WindowShape.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, Qt::Alignment alignment) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void setTextColor(QLabel *label, const QColor &color) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
}

// A one-pixel ring along the edge of a w x h rectangle, rounded with 20-pixel corner ellipses unless square.
QPainterPath ringPath(int w, int h, bool rounded) {
    QPainterPath outer, inner;
    if (rounded) {
        outer.addRoundedRect(QRectF(0, 0, w, h), 10, 10);
        inner.addRoundedRect(QRectF(1, 1, w - 2, h - 2), 9, 9);
    } else {
        outer.addRect(QRectF(0, 0, w, h));
        inner.addRect(QRectF(1, 1, w - 2, h - 2));
    }
    return outer.subtracted(inner);
}

} // namespace

frmMain::frmMain(AppContext &ctx, QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ApplicationTitle());
    setAttribute(Qt::WA_OpaquePaintEvent);

    LoadSettings(m_ctx);
    TimeZoneOffset(m_ctx.settings.Time_Zone, m_ctx.zone);

    lblTitle = makeLabel(this, QStringLiteral("lblTitle"), Qt::AlignLeft | Qt::AlignTop);
    lblTime = makeLabel(this, QStringLiteral("lblTime"), Qt::AlignLeft | Qt::AlignTop);
    for (int d = 0; d < 7; ++d)
        lblHeader[size_t(d)] = makeLabel(this, QStringLiteral("lblHeader%1").arg(d), Qt::AlignHCenter | Qt::AlignTop);
    for (int i = 0; i < 42; ++i) {
        lblRokuyo[size_t(i)] = makeLabel(this, QStringLiteral("lblRokuyo%1").arg(i), Qt::AlignLeft | Qt::AlignTop);
        lblDay[size_t(i)] = makeLabel(this, QStringLiteral("lblDay%1").arg(i), Qt::AlignRight | Qt::AlignTop);
    }
    shpToday = new TodayMarker(this);
    shpToday->hide();
    tlbToolbar = new Toolbar(this);
    connect(tlbToolbar, &Toolbar::buttonClicked, this, &frmMain::runToolbarButton);
    connect(tlbToolbar, &Toolbar::modeChosen, this, &frmMain::ApplyToolbarMode);

    Settings &s = m_ctx.settings;
    s.Back_PictureShowName = SelectFolderPicture(s.Back_PicturePath, s.Back_PictureShowName, QStringLiteral("NOW"));
    ApplyOptions();
    m_ctx.displayedMonth = m_ctx.clock().today();
    ShowMonth(m_ctx.displayedMonth);
    LayoutCalendar(m_ctx.displayedMonth);
    lblTime->setToolTip(ClockTooltip(s.Time_Zone, m_ctx.zone));
}

QSize frmMain::measure(const QFont &font, const QString &text) const {
    const QFontMetrics fm(font);
    return QSize((fm.horizontalAdvance(text) + 1) * TwipsPerPixelX(), fm.height() * TwipsPerPixelY());
}

QRect frmMain::toPixels(const QRect &t) const {
    const int x = TwipsPerPixelX(), y = TwipsPerPixelY();
    return QRect(t.left() / x, t.top() / y, t.width() / x, t.height() / y);
}

QFont frmMain::labelFont(const QFont &font) const {
    // On a see-through window every pixel is either text or the key colour: smoothed edges would show as a halo.
    QFont f = font;
    if (m_ctx.settings.Back_Style == QLatin1String("1")) f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void frmMain::ApplyOptions() {
    const Settings &s = m_ctx.settings;
    m_titleFont = FontFromSettings(s.Title_Font_Name, s.Title_Font_Size, s.Title_Font_Bold, s.Title_Font_Italic,
                                   s.Title_Font_UnderLine);
    m_timeFont = FontFromSettings(s.Time_Font_Name, s.Time_Font_Size, s.Time_Font_Bold, s.Time_Font_Italic,
                                  s.Time_Font_UnderLine);
    // The bold keys of the day classes are not applied: in the grid, bold marks a day with a memo.
    m_weekdayFont = FontFromSettings(s.Weekday_Font_Name, s.Weekday_Font_Size, QString(), s.Weekday_Font_Italic,
                                     s.Weekday_Font_UnderLine);
    m_offdayFont = FontFromSettings(s.Offday_Font_Name, s.Offday_Font_Size, QString(), s.Offday_Font_Italic,
                                    s.Offday_Font_UnderLine);
    m_holidayFont = FontFromSettings(s.Holiday_Font_Name, s.Holiday_Font_Size, QString(), s.Holiday_Font_Italic,
                                     s.Holiday_Font_UnderLine);
    m_titleColor = ColorFromText(s.Title_Font_Color);
    m_timeColor = ColorFromText(s.Time_Font_Color);
    m_weekdayColor = ColorFromText(s.Weekday_Font_Color);
    m_offdayColor = ColorFromText(s.Offday_Font_Color);
    m_holidayColor = ColorFromText(s.Holiday_Font_Color);
    shpToday->setColor(ColorFromText(s.Today_Color));

    lblTitle->setText(FormatDatePattern(m_ctx.displayedMonth, s.Title_Format, m_ctx.locale));
    lblTime->setText(FormatDatePattern(m_ctx.clock().now(), s.Time_Format, m_ctx.locale));
    lblTime->setVisible(SwitchOn(s.Disp_Time));
    lblTime->setToolTip(ClockTooltip(s.Time_Zone, m_ctx.zone));
    m_weekdaySample = s.Day_Format == QString::fromUtf8("日本語") ? QStringLiteral("99") : QStringLiteral("WWW");
    update();
}

QColor frmMain::dayColor(int dayClass) const {
    switch (dayClass) {
    case DayClass::Off:
    case DayClass::Off + DayClass::Memo:
        return m_offdayColor;
    case DayClass::Holiday:
    case DayClass::Holiday + DayClass::Memo:
        return m_holidayColor;
    default:
        return m_weekdayColor;
    }
}

void frmMain::ShowMonth(const QDate &date) {
    const Settings &s = m_ctx.settings;
    lblTitle->setText(FormatDatePattern(date, s.Title_Format, m_ctx.locale));
    setTextColor(lblTitle, m_titleColor);
    setTextColor(lblTime, m_timeColor);

    const QStringList names = s.Day_Format == QString::fromUtf8("日本語")
                                  ? QString::fromUtf8("日,月,火,水,木,金,土").split(u',')
                                  : QStringLiteral("Sun,Mon,Tue,Wed,Thu,Fri,Sat").split(u',');
    int startDay = int(NumberValue(s.StartDay));
    if (startDay < 1 || startDay > 7) startDay = 1;
    for (int d = 0; d < 7; ++d) {
        const int index = (startDay - 1 + d) % 7;
        QLabel *header = lblHeader[size_t(d)];
        header->setText(names[index]);
        setTextColor(header, IsWeeklyOffDay(s.OffDay, index + 1) ? m_offdayColor : m_weekdayColor);
        header->setAccessibleName(names[index]);
        header->show();
    }

    shpToday->hide();
    const QDate today = m_ctx.clock().today();
    for (int i = 0; i < 42; ++i) {
        const GridDay day = ClassifyGridDay(m_ctx, i, date);
        QLabel *label = lblDay[size_t(i)];
        QFont font = label->font();
        font.setBold(day.dayClass >= 4);
        label->setFont(font);
        label->setText(day.date.isValid() ? QString::number(day.date.day()) : QString());
        const QColor color = dayColor(day.dayClass);
        setTextColor(label, color);
        QLabel *rokuyo = lblRokuyo[size_t(i)];
        if (day.date.isValid()) {
            rokuyo->setText(QStringLiteral("  ") + RokuyoName(day.date.year(), day.date.month(), day.date.day()));
            setTextColor(rokuyo, color);
        } else {
            rokuyo->setText(QString());
        }
        if (day.date == today) PlaceTodayMarker(i);
    }
    updateShape();
}

void frmMain::LayoutCalendar(const QDate &date) {
    const Settings &s = m_ctx.settings;
    MonthLayoutInput in;
    in.titleSample = measure(m_titleFont, QStringLiteral("99"));
    in.timeSample = measure(m_timeFont, QStringLiteral("99"));
    in.weekdaySample = measure(m_weekdayFont, m_weekdaySample);
    in.offdaySample = measure(m_offdayFont, QStringLiteral("99"));
    in.holidaySample = measure(m_holidayFont, QStringLiteral("99"));
    in.weekdayPoints = m_weekdayFont.pointSizeF();
    in.offdayPoints = m_offdayFont.pointSizeF();
    in.holidayPoints = m_holidayFont.pointSizeF();
    lblTitle->setFont(labelFont(m_titleFont));
    lblTime->setFont(labelFont(m_timeFont));
    in.titleText = measure(m_titleFont, lblTitle->text());
    in.timeText = measure(m_timeFont, lblTime->text());
    QFont rokuyoFont = m_weekdayFont;
    rokuyoFont.setPointSizeF(std::max({in.weekdayPoints, in.offdayPoints, in.holidayPoints}) / 2);
    in.rokuyoHeight = measure(rokuyoFont, QStringLiteral("  大安")).height();
    in.toolbarHeight = tlbToolbar->stripHeight() * TwipsPerPixelY();
    in.rokuyo = s.Rokuyo == QLatin1String("1");
    in.picturePos = s.Back_PicturePos;

    // The band is fitted to the window as it is without it.
    const QString picture = PictureFilePath(s);
    if (!picture.isEmpty()) {
        QImageReader reader(picture);
        const QSize pixels = reader.size();
        if (pixels.isValid())
            in.picture = FitPicture(QSize(pixels.width() * TwipsPerPixelX(), pixels.height() * TwipsPerPixelY()),
                                    s.Back_PicturePos, BaseWindowSize(in));
    }
    m_geometry = LayoutMonth(in);
    const MonthGeometry &g = m_geometry;

    lblTitle->setGeometry(toPixels(g.title));
    lblTime->setGeometry(toPixels(g.time));
    for (int d = 0; d < 7; ++d) {
        lblHeader[size_t(d)]->setFont(labelFont(d == 0 || d == 6 ? m_offdayFont : m_weekdayFont));
        lblHeader[size_t(d)]->setGeometry(toPixels(g.header[size_t(d)]));
        lblHeader[size_t(d)]->show();
    }
    shpToday->hide();
    const QDate today = m_ctx.clock().today();
    for (int i = 0; i < 42; ++i) {
        const GridDay day = ClassifyGridDay(m_ctx, i, date);
        const QFont &base =
            (day.dayClass == DayClass::Holiday || day.dayClass == DayClass::Holiday + DayClass::Memo)   ? m_holidayFont
            : (day.dayClass == DayClass::Working || day.dayClass == DayClass::Working + DayClass::Memo) ? m_weekdayFont
                                                                                                        : m_offdayFont;
        QFont font = labelFont(base);
        font.setBold(day.dayClass >= 4);
        lblDay[size_t(i)]->setFont(font);
        lblDay[size_t(i)]->setGeometry(toPixels(g.day[size_t(i)]));
        QLabel *rokuyo = lblRokuyo[size_t(i)];
        rokuyo->setVisible(in.rokuyo);
        rokuyo->setFont(labelFont(rokuyoFont));
        rokuyo->setGeometry(toPixels(g.rokuyo[size_t(i)]));
        if (day.date.isValid() && day.date == today) PlaceTodayMarker(i);
    }
    const QPoint toolbar = toPixels(QRect(g.toolbar, QSize())).topLeft();
    tlbToolbar->move(toolbar);
    ApplyToolbarMode(ToolbarEntryOfMode(s.Disp_Mode_ToolBar));

    // Kept on the screen that holds the window.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize screenTwips =
        screen ? QSize(screen->geometry().width() * TwipsPerPixelX(), screen->geometry().height() * TwipsPerPixelY())
               : PrimaryScreenTwips();
    const QPoint stored(int(NumberValue(s.Frame_X)), int(NumberValue(s.Frame_Y)));
    const QPoint current(x() * TwipsPerPixelX(), y() * TwipsPerPixelY());
    const QPoint p = ClampedWindowPosition(stored, current, g.window, screenTwips);
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    move(origin + QPoint(p.x() / TwipsPerPixelX(), p.y() / TwipsPerPixelY()));
    updateShape();
    update();
}

void frmMain::PlaceTodayMarker(int cell) {
    QLabel *label = lblDay[size_t(cell)];
    const QRect marker = TodayMarkerRect(m_geometry, cell, measure(label->font(), label->text()));
    shpToday->setGeometry(toPixels(marker));
    shpToday->raise();
    shpToday->show();
}

void frmMain::ApplyToolbarMode(const QString &entry) {
    Settings &s = m_ctx.settings;
    const QString mode = ToolbarModeOfEntry(entry);
    if (mode.isEmpty()) return;
    s.Disp_Mode_ToolBar = mode;
    tlbToolbar->showButtons(VisibleToolbarButtons(entry, s));
    // The window takes the outline's width, or reaches past a wider toolbar.
    const int frameWidth = toPixels(m_geometry.frame).width();
    const int toolbarRight = tlbToolbar->x() + tlbToolbar->width();
    const int width =
        toolbarRight < frameWidth ? frameWidth : toolbarRight + WindowMetrics::CxFrame + WindowMetrics::CxBorder;
    resize(width, toPixels(m_geometry.frame).height());
    updateShape();
}

void frmMain::runToolbarButton(int index) {
    const QSize before = size();
    QDate &month = m_ctx.displayedMonth;
    switch (index) {
    case 1: {
        const QString next = NextToolbarEntry(m_ctx.settings.Disp_Mode_ToolBar);
        if (!next.isEmpty()) ApplyToolbarMode(next);
        break;
    }
    case 7:
        month = month.addYears(-1);
        ShowMonth(month);
        break;
    case 8:
        month = month.addMonths(-1);
        ShowMonth(month);
        break;
    case 9:
        month = m_ctx.clock().today();
        ShowMonth(month);
        break;
    case 10:
        month = month.addMonths(1);
        ShowMonth(month);
        break;
    case 11:
        month = month.addYears(1);
        ShowMonth(month);
        break;
    case 14:
        close();
        return;
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
        ChangePicture(index - 16);
        break;
    default: // the memo list, import, sticky note and options windows come with their own commands
        break;
    }
    if (size() != before) ApplyToolbarMode(ToolbarEntryOfMode(m_ctx.settings.Disp_Mode_ToolBar));
}

void frmMain::LoadBackgroundPicture() {
    const Settings &s = m_ctx.settings;
    m_pictureRect = QRect();
    m_scaled = QPixmap();
    if (s.Back_PictureDisp == QLatin1String("1") || s.Back_PictureDisp == QLatin1String("2")) {
        const QString path = PictureFilePath(s);
        if (!path.isEmpty()) {
            QImageReader reader(path);
            reader.setAutoTransform(true);
            const QImage image = reader.read();
            if (image.isNull()) {
                m_ctx.prompts().information(pictureErrorText(path, int(reader.error()), reader.errorString()));
            } else {
                const QSize natural(image.width() * TwipsPerPixelX(), image.height() * TwipsPerPixelY());
                const QSize shown = FitPicture(natural, s.Back_PicturePos, m_geometry.frame.size());
                const QPoint at = PictureOrigin(s.Back_PicturePos, shown, m_geometry.frame, m_geometry.window);
                m_pictureRect = toPixels(QRect(at, shown));
                if (!m_pictureRect.isEmpty())
                    m_scaled = QPixmap::fromImage(
                        image.scaled(m_pictureRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            }
            tlbToolbar->setPictureTip(s.Back_PicturePath + s.Back_PictureShowName);
        }
    }
    updateShape();
    update();
}

QString frmMain::pictureErrorText(const QString &path, int number, const QString &description) const {
    Q_UNUSED(path);
    const Settings &s = m_ctx.settings;
    return QString::fromUtf8("エラーが発生した為，画像を表示できません。\r\n画像ファイル：") + s.Back_PicturePath +
           s.Back_PictureShowName + QStringLiteral("\r\nERR(") + QString::number(number) + QStringLiteral(")\r\n") +
           description;
}

void frmMain::ChangePicture(int command) {
    Settings &s = m_ctx.settings;
    if (command == 2) {
        const QString folder =
            m_ctx.prompts().chooseFolder(QString::fromUtf8("画像フォルダの選択"), s.Back_PicturePath);
        if (!folder.isEmpty()) s.Back_PicturePath = PictureFolderSetting(folder);
    }
    s.Back_PictureShowName = SelectFolderPicture(s.Back_PicturePath, s.Back_PictureShowName, PictureStepMode(command));
    QSize band;
    if (const QString path = PictureFilePath(s); !path.isEmpty()) {
        const QSize pixels = QImageReader(path).size();
        if (pixels.isValid())
            band = FitPicture(QSize(pixels.width() * TwipsPerPixelX(), pixels.height() * TwipsPerPixelY()),
                              s.Back_PicturePos, m_geometry.frame.size());
    }
    if (band != m_lastBand) LayoutCalendar(m_ctx.displayedMonth);
    m_lastBand = band;
    LoadBackgroundPicture();
    SaveSettings(m_ctx, QStringLiteral("Picture"));
}

void frmMain::ApplyTransparency() {
    updateShape();
}

void frmMain::activateCalendar() {
    if (m_activationDone) return;
    Settings &s = m_ctx.settings;
    s.Back_PictureShowName = SelectFolderPicture(s.Back_PicturePath, s.Back_PictureShowName, QStringLiteral("NOW"));
    if (m_firstActivation) {
        m_firstActivation = false;
        // At start the stored position is taken as it is.
        move(int(NumberValue(s.Frame_X)) / TwipsPerPixelX(), int(NumberValue(s.Frame_Y)) / TwipsPerPixelY());
        ShowMonth(m_ctx.displayedMonth);
    } else {
        ApplyOptions();
        ShowMonth(m_ctx.displayedMonth);
        LayoutCalendar(m_ctx.displayedMonth);
    }
    LoadBackgroundPicture();
    ApplyToolbarMode(ToolbarEntryOfMode(s.Disp_Mode_ToolBar));
    ApplyTransparency();
    m_activationDone = true;
}

void frmMain::updateShape() {
    const Settings &s = m_ctx.settings;
    const qreal dpr = devicePixelRatioF();
    if (s.Back_Style == QLatin1String("1")) {
        QImage image(size() * dpr, QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        image.fill(ColorFromText(s.Back_Color));
        render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        m_visible = WindowShape::visibleRegion(image, ColorFromText(s.Back_Color).rgb());
        QList<QRect> labels{lblTitle->geometry(), lblTime->geometry()};
        for (QLabel *h : lblHeader) labels << h->geometry();
        for (int i = 0; i < 42; ++i) {
            if (!lblDay[size_t(i)]->text().isEmpty()) labels << lblDay[size_t(i)]->geometry();
            if (lblRokuyo[size_t(i)]->isVisibleTo(this) && !lblRokuyo[size_t(i)]->text().isEmpty())
                labels << lblRokuyo[size_t(i)]->geometry();
        }
        labels << tlbToolbar->geometry();
        QList<QRect> device;
        for (const QRect &r : labels) device << QRect((r.topLeft() * dpr), (r.size() * dpr));
        m_input = WindowShape::inputRegion(m_visible, device);
    } else if (s.Back_Style == QLatin1String("0")) {
        // An opaque window keeps its outline's shape and the toolbar.
        const QRect frame = toPixels(m_geometry.frame);
        QImage mask(size() * dpr, QImage::Format_RGB32);
        mask.setDevicePixelRatio(dpr);
        mask.fill(Qt::black);
        QPainter p(&mask);
        QPainterPath path;
        if (FrameSwitchOn(s.Frame_Conner))
            path.addRoundedRect(QRectF(0, 0, frame.width(), frame.height()), 10, 10);
        else
            path.addRect(QRectF(0, 0, frame.width(), frame.height()));
        p.fillPath(path, Qt::white);
        p.fillRect(QRect(tlbToolbar->pos(), tlbToolbar->size() + QSize(WindowMetrics::CxFrame + WindowMetrics::CxBorder,
                                                                       WindowMetrics::CyBorder)),
                   Qt::white);
        p.end();
        m_visible = WindowShape::visibleRegion(mask, qRgb(0, 0, 0));
        m_input = m_visible;
    } else {
        return;
    }
    if (testAttribute(Qt::WA_WState_Created) && isVisible()) WindowShape::apply(this, m_visible, m_input);
}

void frmMain::paintEvent(QPaintEvent *) {
    const Settings &s = m_ctx.settings;
    QPainter p(this);
    p.fillRect(rect(), ColorFromText(s.Back_Color));
    if (!m_scaled.isNull()) p.drawPixmap(m_pictureRect.topLeft(), m_scaled);
    if (SwitchOn(s.Back_Line)) {
        p.setPen(QPen(ColorFromText(s.Back_Line_Color), 1));
        const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
        for (const QLine &l : m_geometry.lines) p.drawLine(l.x1() / tx, l.y1() / ty, l.x2() / tx, l.y2() / ty);
    }
    if (FrameSwitchOn(s.Frame_Style)) {
        const QRect frame = toPixels(m_geometry.frame);
        p.fillPath(ringPath(frame.width(), frame.height(), FrameSwitchOn(s.Frame_Conner)),
                   ColorFromText(s.Frame_Color));
    }
}

void frmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (m_firstActivation)
        QTimer::singleShot(0, this, &frmMain::activateCalendar);
    else if (!m_visible.isEmpty())
        WindowShape::apply(this, m_visible, m_input);
}

void frmMain::closeEvent(QCloseEvent *event) {
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this) window->close();
    event->accept();
    QCoreApplication::quit();
}
