#include "gui/calendar/frmMain.h"

#include "core/calendar/DatePattern.h"
#include "core/calendar/DayClass.h"
#include "core/calendar/Kyureki.h"
#include "core/calendar/TimeZones.h"
#include "core/memos/MemoBook.h"
#include "core/program/AppContext.h"
#include "core/settings/SettingsStore.h"
#include "core/shell/ShortcutSettings.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncScheduler.h"
#include "core/system/Clock.h"
#include "core/system/Prompts.h"
#include "core/system/Twips.h"
#include "core/view/BackgroundPicture.h"
#include "core/view/DayNote.h"
#include "core/view/FontSettings.h"
#include "gui/calendar/ClockLabel.h"
#include "gui/calendar/DesktopWatch.h"
#include "gui/calendar/SeeThrough.h"
#include "gui/calendar/TodayMarker.h"
#include "gui/calendar/Toolbar.h"
#include "gui/calendar/TrayIcon.h"
#include "gui/calendar/WindowShape.h"
#include "gui/calendar/frmMenu.h"
#include "gui/calendar/frmNote.h"
#include "gui/common/SingleWindow.h"
#include "gui/memos/frmImport.h"
#include "gui/memos/frmInput.h"
#include "gui/memos/frmNoteList.h"
#include "gui/notes/NoteWindows.h"
#include "gui/options/frmOption.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, Qt::Alignment alignment) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setColor(QWidget *widget, QPalette::ColorRole role, const QColor &color) {
    QPalette p = widget->palette();
    p.setColor(role, color);
    widget->setPalette(p);
}

} // namespace

frmMain::frmMain(AppContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ctx(ctx), m_band(ctx), m_drag(ctx, *this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ApplicationTitle());
    // Task lists show the icon name where one is set.
    setWindowIconText(ApplicationTitle());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The clock's zone and the toolbar's tips show on the calendar as it sits on the desktop, not only once clicked.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    TimeZoneOffset(m_ctx.settings.Time_Zone, m_ctx.zone);

    lblTitle = makeLabel(this, QStringLiteral("lblTitle"), Qt::AlignLeft | Qt::AlignTop);
    lblTime = new ClockLabel(this);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    for (int d = 0; d < 7; ++d)
        lblHeader[size_t(d)] = makeLabel(this, QStringLiteral("lblHeader%1").arg(d), Qt::AlignHCenter | Qt::AlignTop);
    for (int i = 0; i < 42; ++i) {
        lblRokuyo[size_t(i)] = makeLabel(this, QStringLiteral("lblRokuyo%1").arg(i), Qt::AlignLeft | Qt::AlignTop);
        lblDay[size_t(i)] = makeLabel(this, QStringLiteral("lblDay%1").arg(i), Qt::AlignRight | Qt::AlignTop);
    }
    shpToday = new TodayMarker(this);
    shpToday->hide();
    tlbToolbar = new Toolbar(this);
    connect(tlbToolbar, &Toolbar::triggered, this, [this](Command command) { m_ctx.commands.run(command); });
    connect(tlbToolbar, &Toolbar::modeChosen, this, &frmMain::ApplyToolbarMode);
    // Hover follows the mouse's moves; nothing runs while it stands still.
    setMouseTracking(true);
    for (QLabel *label : findChildren<QLabel *>()) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    m_note = new frmNote(m_ctx);
    m_menu = new frmMenu(m_ctx, this);
    addCommands();
    m_notes = new NoteWindows(m_ctx, *m_menu, this);
    m_tray = new TrayIcon(this);
    connect(m_tray, &TrayIcon::menuRequested, this, [this] { m_menu->popup(QStringLiteral("Nomal"), QCursor::pos()); });
    connect(m_tray, &TrayIcon::toggleRequested, this, [this] {
        setVisible(!isVisible());
        QWidget *focus = m_input_box && m_input_box->isVisible() ? static_cast<QWidget *>(m_input_box.data()) : this;
        if (focus->isVisible()) {
            focus->raise();
            focus->activateWindow();
        }
    });
    m_today = m_ctx.clock().today();
    // Aimed at each next whole second; a coarse timer would skip and repeat seconds.
    m_clock.setSingleShot(true);
    m_clock.setTimerType(Qt::PreciseTimer);
    connect(&m_clock, &QTimer::timeout, this, &frmMain::tick);
    m_desktop = new DesktopWatch(this);
    m_seeThrough = new SeeThrough(
        *this, *m_desktop, [this] { return inputLabelRects(); }, [this] { return opaqueShape(); },
        [this](QPainter &painter, const QRect &area) { paintArea(painter, area); });
    connect(m_seeThrough, &SeeThrough::pointerMoved, this, &frmMain::followPointer);
    // The kind of window is known before it is first made and drawn.
    m_seeThrough->setStyle(m_ctx.settings.seeThrough(), m_ctx.settings.color(&Settings::Back_Color));
    connect(m_seeThrough, &SeeThrough::modeChanged, this, [this] {
        // Smoothed type on a 32-bit window, hard edges on a shaped one; the picture's key pixels likewise.
        ShowMonth(m_ctx.displayedMonth);
        LayoutCalendar(m_ctx.displayedMonth);
        LoadBackgroundPicture();
    });
    connect(&m_ctx.settings, &SettingsModel::changed, this, &frmMain::settingsChanged);
    connect(&m_ctx.memos(), &MemoBook::memoChanged, this, &frmMain::memoChanged);
    connect(&m_ctx.memos(), &MemoBook::dayListsChanged, this, [this] { ShowMonth(m_ctx.displayedMonth); });
    if (SyncScheduler *sync = m_ctx.syncScheduler())
        connect(sync, &SyncScheduler::statusChanged, this, &frmMain::refreshTrayTip);
    if (SyncEngine *engine = m_ctx.syncEngine())
        connect(engine, &SyncEngine::foreignEventsChanged, this, [this] {
            // A note shown is built again with what the calendar holds now.
            if (!m_note->isVisible() || m_hoverDayIndex < 0 || m_hoverDayIndex > 41) return;
            const int cell = std::exchange(m_hoverDayIndex, 99);
            hoverDay(cell);
        });
    connect(m_menu->menu(), &QMenu::aboutToShow, this, [this] { m_note->hide(); });
    // Closed, the menu leaves nothing lit: the next move over a day shows its note again.
    connect(m_menu->menu(), &QMenu::aboutToHide, this, [this] { hoverOver(nullptr); });

    SettingsModel &s = m_ctx.settings;
    s.Back_PictureShowName = SelectFolderPicture(m_band.folder(), s.Back_PictureShowName, QStringLiteral("NOW"));
    ApplyOptions();
    m_ctx.displayedMonth = m_ctx.clock().today();
    ShowMonth(m_ctx.displayedMonth);
    LayoutCalendar(m_ctx.displayedMonth);
    lblTime->setToolTip(ClockTooltip(s.Time_Zone, m_ctx.zone));
    refreshTrayTip();
    tick();
    m_notes->ShowAllNotes();
}

frmMain::~frmMain() {
    delete m_note;
}

QRegion frmMain::visibleRegion() const {
    return m_seeThrough->visible();
}

QRegion frmMain::inputRegion() const {
    return m_seeThrough->input();
}

frmInput *frmMain::input() const {
    return m_input_box.data();
}

QSize frmMain::measure(const QFont &font, const QString &text) const {
    const QFontMetrics fm(font);
    return ToTwips(QSize(fm.horizontalAdvance(text) + 1, fm.height()));
}

QFont frmMain::dayFont(int dayClass) const {
    const int plain = dayClass > DayClass::Holiday ? dayClass - DayClass::Memo : dayClass;
    QFont font = labelFont(plain == DayClass::Holiday   ? m_holidayFont
                           : plain == DayClass::Working ? m_weekdayFont
                                                        : m_offdayFont);
    font.setBold(dayClass > DayClass::Holiday);
    return font;
}

QFont frmMain::labelFont(const QFont &font) const {
    // On a shaped window every pixel is either text or the key colour: smoothed edges would show as a halo.
    QFont f = font;
    if (m_seeThrough->mode() == SeeThrough::Mode::Shaped) f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void frmMain::setTextColor(QLabel *label, const QColor &color) const {
    setColor(label, QPalette::WindowText, m_seeThrough->shown(color));
}

void frmMain::ApplyOptions() {
    const SettingsModel &s = m_ctx.settings;
    m_titleFont = s.font(TextClass::Title);
    m_timeFont = s.font(TextClass::Time);
    m_weekdayFont = s.font(TextClass::Weekday);
    m_offdayFont = s.font(TextClass::Offday);
    m_holidayFont = s.font(TextClass::Holiday);
    m_titleColor = s.textColor(TextClass::Title);
    m_timeColor = s.textColor(TextClass::Time);
    m_weekdayColor = s.textColor(TextClass::Weekday);
    m_offdayColor = s.textColor(TextClass::Offday);
    m_holidayColor = s.textColor(TextClass::Holiday);
    shpToday->setColor(s.color(&Settings::Today_Color));

    lblTitle->setText(FormatDatePattern(m_ctx.displayedMonth, s.Title_Format, m_ctx.locale));
    lblTime->setClockText(clockText());
    lblTime->setVisible(s.on(&Settings::Disp_Time));
    lblTime->setToolTip(ClockTooltip(s.Time_Zone, m_ctx.zone));
    m_weekdaySample = s.japaneseWeekdays() ? QStringLiteral("99") : QStringLiteral("WWW");
    if (m_tray) m_tray->setShown(s.on(&Settings::Disp_TaskTray));
    update();
    ApplyProgramShortcuts(s, ThisProgram(m_ctx.paths(), QCoreApplication::applicationFilePath()));
}

QString frmMain::clockText() const {
    const QDateTime now = m_ctx.clock().now();
    return FormatDatePattern(now.date(), ZoneClockTime(now, m_ctx.zone), m_ctx.settings.Time_Format, m_ctx.locale);
}

void frmMain::tick() {
    const QDateTime now = m_ctx.clock().now();
    if (now.date() != m_today) dateChanged(now.date());
    const QString text = clockText();
    if (text != lblTime->text()) {
        const QRect before = lblTime->geometry();
        lblTime->setClockText(text);
        // The label takes the width of its new text.
        if (lblTime->width() != lblTime->textWidth()) lblTime->resize(lblTime->textWidth(), before.height());
        m_seeThrough->refresh(before | lblTime->geometry());
    }
    m_clock.start(1000 - now.time().msec());
    emit ticked();
}

void frmMain::dateChanged(const QDate &today) {
    const QDate before = m_today;
    m_today = today;
    QDate &month = m_ctx.displayedMonth;
    if (month.year() == before.year() && month.month() == before.month()) month = today;
    ShowMonth(month);
    refreshTrayTip();
}

void frmMain::refreshTrayTip() {
    if (!m_tray) return;
    QString tip = TrayTipText(m_ctx.memos(), m_ctx.settings.japaneseWeekdays(), m_ctx.locale, m_ctx.clock().today());
    // How the last sync went, while sync is on.
    const QString sync = m_ctx.syncScheduler() ? m_ctx.syncScheduler()->statusText() : QString();
    if (!sync.isEmpty()) tip += QStringLiteral("\r\n") + sync;
    m_tray->setTip(tip);
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
    const SettingsModel &s = m_ctx.settings;
    lblTitle->setText(FormatDatePattern(date, s.Title_Format, m_ctx.locale));
    setTextColor(lblTitle, m_titleColor);
    setTextColor(lblTime, m_timeColor);
    lblTime->setBackground(m_seeThrough->mode() == SeeThrough::Mode::Composited ? QColor(Qt::transparent)
                                                                                : s.color(&Settings::Back_Color));

    const QStringList names = s.japaneseWeekdays() ? QString::fromUtf8("日,月,火,水,木,金,土").split(u',')
                                                   : QStringLiteral("Sun,Mon,Tue,Wed,Thu,Fri,Sat").split(u',');
    const int startDay = s.startDay();
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
        const GridDay day = gridDay(i, date);
        QLabel *label = lblDay[size_t(i)];
        // Each month has its own classes in each cell: a holiday's font may differ from a working day's.
        label->setFont(dayFont(day.dayClass));
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
    m_seeThrough->refresh();
}

void frmMain::LayoutCalendar(const QDate &date) {
    const SettingsModel &s = m_ctx.settings;
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
    rokuyoFont.setPointSizeF(RokuyoPoints(in));
    in.rokuyoHeight = measure(rokuyoFont, QStringLiteral("  大安")).height();
    in.toolbarHeight = ToTwipsY(tlbToolbar->stripHeight());
    in.rokuyo = s.on(&Settings::Rokuyo);
    in.picturePos = s.Back_PicturePos;

    // The band is fitted to the window as it is without it.
    if (const QSize band = m_band.fittedSize(BaseWindowSize(in)); band.isValid()) in.picture = band;
    m_geometry = LayoutMonth(in);
    const MonthGeometry &g = m_geometry;

    lblTitle->setGeometry(ToPixels(g.title));
    lblTime->setGeometry(ToPixels(g.time));
    for (int d = 0; d < 7; ++d) {
        lblHeader[size_t(d)]->setFont(labelFont(d == 0 || d == 6 ? m_offdayFont : m_weekdayFont));
        lblHeader[size_t(d)]->setGeometry(ToPixels(g.header[size_t(d)]));
        lblHeader[size_t(d)]->show();
    }
    shpToday->hide();
    const QDate today = m_ctx.clock().today();
    for (int i = 0; i < 42; ++i) {
        const GridDay day = gridDay(i, date);
        lblDay[size_t(i)]->setFont(dayFont(day.dayClass));
        lblDay[size_t(i)]->setGeometry(ToPixels(g.day[size_t(i)]));
        QLabel *rokuyo = lblRokuyo[size_t(i)];
        rokuyo->setVisible(in.rokuyo);
        rokuyo->setFont(labelFont(rokuyoFont));
        rokuyo->setGeometry(ToPixels(g.rokuyo[size_t(i)]));
        if (day.date.isValid() && day.date == today) PlaceTodayMarker(i);
    }
    const QPoint toolbar = ToPixels(g.toolbar);
    tlbToolbar->move(toolbar);
    ApplyToolbarMode(ToolbarEntryOfMode(s.Disp_Mode_ToolBar));

    // Kept on the screen that holds the window.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize screenTwips = screen ? ToTwips(screen->geometry().size()) : PrimaryScreenTwips();
    const QPoint stored = s.position(VirtualScreenTwips());
    const QPoint current = ToTwips(pos());
    const QPoint p = ClampedWindowPosition(stored, current, g.window, screenTwips);
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    move(KeptInWorkArea(origin + ToPixels(p), size(), screen ? screen->availableGeometry() : QRect()));
    m_seeThrough->refresh();
    update();
}

void frmMain::PlaceTodayMarker(int cell) {
    QLabel *label = lblDay[size_t(cell)];
    const QRect marker = TodayMarkerRect(m_geometry, cell, measure(label->font(), label->text()));
    shpToday->setGeometry(ToPixels(marker));
    shpToday->raise();
    shpToday->show();
}

void frmMain::ApplyToolbarMode(const QString &entry) {
    SettingsModel &s = m_ctx.settings;
    const QString mode = ToolbarModeOfEntry(entry);
    if (mode.isEmpty()) return;
    s.Disp_Mode_ToolBar = mode;
    tlbToolbar->showButtons(VisibleToolbarButtons(entry, s));
    // The window takes the outline's width, or reaches past a wider toolbar.
    const int toolbarRight = ToTwipsX(tlbToolbar->x() + tlbToolbar->width());
    resize(ToPixelsX(ToolbarWindowWidth(toolbarRight, m_geometry.frame.width())), ToPixels(m_geometry.frame).height());
    m_seeThrough->refresh();
}

void frmMain::addCommands() {
    const auto on = [this](Command command, std::function<void()> run) {
        m_ctx.commands.handle(command, this, [run = std::move(run)](const CommandTarget &) { run(); });
    };
    on(Command::ToolbarMode, [this] {
        const QString next = NextToolbarEntry(m_ctx.settings.Disp_Mode_ToolBar);
        if (!next.isEmpty()) ApplyToolbarMode(next);
    });
    QDate &month = m_ctx.displayedMonth;
    on(Command::YearBack, [this, &month] { goToMonth(month.addYears(-1)); });
    on(Command::MonthBack, [this, &month] { goToMonth(month.addMonths(-1)); });
    on(Command::ThisMonth, [this] { goToMonth(m_ctx.clock().today()); });
    on(Command::MonthOn, [this, &month] { goToMonth(month.addMonths(1)); });
    on(Command::YearOn, [this, &month] { goToMonth(month.addYears(1)); });
    on(Command::Quit, [this] { close(); });
    AddSingleWindowCommand<frmOption>(m_ctx, Command::Options, this);
    AddSingleWindowCommand<frmNoteList>(m_ctx, Command::MemoList, this);
    AddSingleWindowCommand<frmImport>(m_ctx, Command::Import, this);
    const Command pictures[] = {Command::FirstPicture, Command::PreviousPicture, Command::PictureFolder,
                                Command::NextPicture, Command::LastPicture};
    for (int i = 0; i < 5; ++i) on(pictures[i], [this, i] { ChangePicture(i); });
}

void frmMain::goToMonth(const QDate &month) {
    const QSize before = size();
    m_ctx.displayedMonth = month;
    ShowMonth(month);
    if (size() != before) ApplyToolbarMode(ToolbarEntryOfMode(m_ctx.settings.Disp_Mode_ToolBar));
}

void frmMain::LoadBackgroundPicture() {
    m_band.load(m_geometry);
    tlbToolbar->setPictureTip(m_band.shownPath());
    m_seeThrough->refresh();
    update();
}

void frmMain::ChangePicture(int command) {
    m_band.step(command);
}

void frmMain::pictureChanged() {
    const QSize band = m_band.fittedSize(m_geometry.frame.size());
    if (band != m_lastBand) LayoutCalendar(m_ctx.displayedMonth);
    m_lastBand = band;
    LoadBackgroundPicture();
}

void frmMain::settingsChanged(SettingsGroup group) {
    switch (group) {
    case SettingsGroup::Picture:
        pictureChanged();
        return;
    case SettingsGroup::Move:
        return; // the window is where the move put it
    case SettingsGroup::All:
        // Everything again, as the options dialog applies its changes.
        TimeZoneOffset(m_ctx.settings.Time_Zone, m_ctx.zone);
        clearActivationDone();
        activateCalendar();
        refreshTrayTip();
        return;
    }
}

void frmMain::followPointer(const QPoint &global) {
    // Shaped: X gives the window the mouse only over its drawn pixels, the gaps inside a day's cell not among them.
    // The label under the pointer is lit and so joins the shape before the click comes.
    const bool inside = frameGeometry().contains(global) && isVisible() && !m_drag.active();
    hoverOver(inside ? widgetAt(mapFromGlobal(global)) : nullptr);
}

void frmMain::ApplyTransparency() {
    const SettingsModel &s = m_ctx.settings;
    m_seeThrough->setStyle(s.seeThrough(), s.color(&Settings::Back_Color));
    m_seeThrough->refresh();
}

void frmMain::activateCalendar() {
    if (m_activationDone) return;
    SettingsModel &s = m_ctx.settings;
    s.Back_PictureShowName = SelectFolderPicture(m_band.folder(), s.Back_PictureShowName, QStringLiteral("NOW"));
    if (m_firstActivation) {
        m_firstActivation = false;
        // At start the stored position is taken as it is, as long as the calendar can be reached there.
        const QPoint stored = s.position(VirtualScreenTwips());
        move(OpeningPositionOnScreens(ToPixels(stored), size()));
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

QRegion frmMain::opaqueShape() const {
    // An opaque window keeps its outline's shape and the toolbar.
    const qreal dpr = devicePixelRatioF();
    const QRect frame = ToPixels(m_geometry.frame);
    QRegion shape = WindowShape::outline(frame.size() * dpr, m_ctx.settings.on(&Settings::Frame_Conner));
    const QRect toolbar(tlbToolbar->pos(), tlbToolbar->size() + QSize(WindowMetrics::CxFrame + WindowMetrics::CxBorder,
                                                                      WindowMetrics::CyBorder));
    return shape + WindowShape::toDevice(toolbar, dpr);
}

void frmMain::paintEvent(QPaintEvent *) {
    QPainter p(this);
    paintBackground(p);
}

void frmMain::paintArea(QPainter &painter, const QRect &area) {
    // The window's own paint, then only the children over the area, each on its own: a render of the whole window
    // walks all ninety labels for their pending moves, which was most of a tick of the clock.
    paintBackground(painter);
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || child->isHidden() || !child->geometry().intersects(area)) continue;
        if (child == lblTime) {
            painter.save();
            painter.translate(lblTime->pos());
            // Lit, the clock's whole rectangle is drawn, so that it takes the mouse there without a compositor.
            if (lblTime->autoFillBackground())
                painter.fillRect(lblTime->rect(), lblTime->palette().color(QPalette::Window));
            lblTime->paintText(painter);
            painter.restore();
            continue;
        }
        // Only a lit label fills its background; the rest show the window's.
        const RenderFlags flags =
            child->autoFillBackground() ? DrawWindowBackground | DrawChildren : RenderFlags(DrawChildren);
        // A part of a child is drawn with its own top left at the offset given: a toolbar button's part starts at
        // the button, not at the toolbar's left end.
        const QRect part = child->rect().intersected(area.translated(-child->pos()));
        child->render(&painter, child->pos() + part.topLeft(), QRegion(part), flags);
    }
}

void frmMain::paintBackground(QPainter &p) {
    const SettingsModel &s = m_ctx.settings;
    if (m_seeThrough->mode() == SeeThrough::Mode::Composited) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(rect(), Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        p.fillRect(rect(), s.color(&Settings::Back_Color));
    }
    m_band.paint(p);
    if (s.on(&Settings::Back_Line)) {
        p.setPen(QPen(m_seeThrough->shown(s.color(&Settings::Back_Line_Color)), 1));
        for (const QLine &l : m_geometry.lines) p.drawLine(ToPixels(l.p1()), ToPixels(l.p2()));
    }
    if (s.on(&Settings::Frame_Style)) {
        const QRect frame = ToPixels(m_geometry.frame);
        // The ring is worked out once per size, not at every paint of the clock.
        const QPair<QSize, bool> key{frame.size(), s.on(&Settings::Frame_Conner)};
        if (key != m_ringKey) {
            m_ring = WindowShape::outline(key.first, key.second, true);
            m_ringKey = key;
        }
        p.setClipRegion(m_ring);
        p.fillRect(QRect(QPoint(), frame.size()), m_seeThrough->shown(s.color(&Settings::Frame_Color)));
        p.setClipping(false);
    }
}

void frmMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (m_firstActivation)
        QTimer::singleShot(0, this, &frmMain::activateCalendar);
    else
        m_seeThrough->reapply();
}

void frmMain::closeEvent(QCloseEvent *event) {
    m_clock.stop();
    m_desktop->followPointer(false);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && window->parentWidget() != this) window->close();
    if (m_tray) m_tray->setShown(false);
    event->accept();
    QCoreApplication::quit();
}

QWidget *frmMain::widgetAt(const QPoint &at) const {
    // By the labels' rectangles: a window's shape (a mask where Qt keeps it) leaves out a day's blank pixels, which
    // belong to the day all the same. The today marker lies over its day and lets the mouse through.
    const auto topmostAt = [](const QWidget *parent, const QPoint &p) -> QWidget * {
        const QObjectList &children = parent->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            auto *child = qobject_cast<QWidget *>(*it);
            if (child && !child->isWindow() && !child->isHidden() &&
                !child->testAttribute(Qt::WA_TransparentForMouseEvents) && child->geometry().contains(p))
                return child;
        }
        return nullptr;
    };
    QWidget *child = topmostAt(this, at);
    if (child == tlbToolbar) {
        if (QWidget *button = topmostAt(tlbToolbar, at - tlbToolbar->pos())) return button;
    }
    return child;
}

int frmMain::dayIndexOf(const QObject *label) const {
    for (int i = 0; i < 42; ++i)
        if (lblDay[size_t(i)] == label) return i;
    return -1;
}

bool frmMain::isHighlighted(const QWidget *widget) const {
    return widget->autoFillBackground();
}

void frmMain::setHighlight(QWidget *widget, bool on) {
    if (on == widget->autoFillBackground()) return;
    if (on) {
        const QColor cell = m_seeThrough->shown(m_ctx.settings.color(&Settings::Back_CellColor));
        setColor(widget, QPalette::Window, cell);
        setColor(widget, QPalette::Button, cell);
    }
    widget->setAutoFillBackground(on);
    widget->update();
    m_seeThrough->refresh(QRect(widget->mapTo(this, QPoint()), widget->size()));
}

void frmMain::hoverOver(QWidget *child) {
    auto *label = qobject_cast<QLabel *>(child);
    if (label && label->parentWidget() != this) label = nullptr;
    // Without a compositor the toolbar's buttons light as the cells do, so that their whole face takes the click.
    auto *button = qobject_cast<QToolButton *>(child);
    if (button && (button->parentWidget() != tlbToolbar || !button->isEnabled() ||
                   m_seeThrough->mode() != SeeThrough::Mode::Shaped))
        button = nullptr;
    QWidget *lit = label ? static_cast<QWidget *>(label) : button;
    if (lit == m_hoverLabel) return;
    if (m_hoverLabel) setHighlight(m_hoverLabel, false);
    m_hoverLabel = lit;
    // Blank cells and empty rokuyo labels never light up.
    if (button || (label && !label->text().isEmpty())) setHighlight(lit, true);
    const int day = dayIndexOf(label);
    if (day >= 0) {
        hoverDay(day);
    } else if (m_hoverDayIndex != 99 || m_note->isVisible()) {
        // Off the days: the note goes, and coming back shows it again.
        m_note->hide();
        m_hoverDayIndex = 99;
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *event) {
    // A label keeps the moves over it to itself.
    if (event->type() == QEvent::MouseMove && !m_drag.active() && watched->parent() == this)
        hoverOver(static_cast<QWidget *>(watched));
    return QWidget::eventFilter(watched, event);
}

bool frmMain::event(QEvent *event) {
    // The mouse can arrive without moving inside the window (a window mapped under it, a jump of the pointer).
    // Crossings are not taken at their word: without a compositor every change of the shape under the pointer
    // makes one, and by the time it is read the shape has changed again. A stale leave would put out the cell the
    // pointer rests on, whose shrinking shape makes the next crossing, and so on. Where the pointer is now decides.
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) followPointer(QCursor::pos());
    return QWidget::event(event);
}

void frmMain::hoverDay(int cell) {
    QLabel *label = lblDay[size_t(cell)];
    if (label->text().isEmpty()) {
        m_hoverDayIndex = cell;
        m_note->hide();
        return;
    }
    if (cell == m_hoverDayIndex) return;
    m_hoverDayIndex = cell;
    m_note->hide();
    // The note never covers an open popup menu.
    if (m_menu->menu()->isVisible()) return;
    const QDate date = cellDate(cell);
    const QString text =
        HoverNoteText(m_ctx.memos(), date, m_ctx.syncEngine() ? m_ctx.syncEngine()->foreignEvents(date) : QList<ForeignEvent>());
    if (text.isEmpty()) return;
    m_note->showFor(text, QRect(label->mapToGlobal(QPoint()), label->size()), ToPixels(m_geometry.frame).width(),
                    width());
}

void frmMain::mousePressEvent(QMouseEvent *event) {
    QWidget *child = widgetAt(event->position().toPoint());
    const int day = dayIndexOf(child);
    const QPoint global = event->globalPosition().toPoint();
    if (day >= 0 && !lblDay[size_t(day)]->text().isEmpty()) {
        if (event->button() == Qt::RightButton) {
            m_menu->popup(QStringLiteral("Edit"), global, cellDate(day));
        } else if (event->button() == Qt::LeftButton) {
            m_pressedDay = day;
        }
        return;
    }
    if (day < 0 && event->button() == Qt::RightButton) {
        m_menu->popup(QStringLiteral("Nomal"), global);
        return;
    }
    sub_Move_Start(global);
}

void frmMain::mouseMoveEvent(QMouseEvent *event) {
    if (!m_drag.active()) {
        if (!(event->buttons() & Qt::LeftButton)) hoverOver(widgetAt(event->position().toPoint()));
        return;
    }
    m_note->hide();
    sub_Move_Refresh(event->globalPosition().toPoint());
}

void frmMain::mouseReleaseEvent(QMouseEvent *event) {
    if (m_drag.active()) {
        sub_Move_End(event->globalPosition().toPoint());
        return;
    }
    const int pressed = m_pressedDay;
    m_pressedDay = -1;
    if (pressed >= 0 && event->button() == Qt::LeftButton &&
        lblDay[size_t(pressed)]->geometry().contains(event->position().toPoint()))
        openInput(pressed);
}

void frmMain::moveEvent(QMoveEvent *event) {
    QWidget::moveEvent(event);
    m_drag.moved();
}

void frmMain::sub_Move_Start(QPoint global) {
    m_drag.start(global, ToPixels(m_geometry.frame));
}

void frmMain::sub_Move_Refresh(QPoint global) {
    m_drag.follow(global);
}

void frmMain::sub_Move_End(QPoint global) {
    m_drag.end(global);
}

void frmMain::openInput(int cell) {
    const QDate day = cellDate(cell);
    if (!day.isValid()) return;
    if (m_input_box) m_input_box->close();
    QLabel *label = lblDay[size_t(cell)];
    const InputBoxAnchor anchor{QRect(label->mapToGlobal(QPoint()), label->size()), label->font(),
                                ToPixels(m_geometry.frame).width(), pos()};
    auto *box = new frmInput(m_ctx, day, anchor, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    m_input_box = box;
    box->show();
}

void frmMain::openDay(const QDate &date) {
    if (!date.isValid()) return;
    const QDate &month = m_ctx.displayedMonth;
    if (date.year() != month.year() || date.month() != month.month()) goToMonth(date);
    if (!isVisible()) show();
    raise();
    for (int cell = 0; cell < 42; ++cell)
        if (cellDate(cell) == date) {
            openInput(cell);
            if (m_input_box) {
                m_input_box->raise();
                m_input_box->activateWindow();
            }
            return;
        }
}

GridDay frmMain::gridDay(int cell, const QDate &month) const {
    const SettingsModel &s = m_ctx.settings;
    return ClassifyGridDay(cell, month, s.startDay(), s.OffDay,
                           [this](const QDate &date) { return m_ctx.memos().marks(date); });
}

QDate frmMain::cellDate(int cell) const {
    return cell < 0 || cell > 41 ? QDate() : GridCellDate(cell, m_ctx.displayedMonth, m_ctx.settings.startDay());
}

void frmMain::memoChanged(const QDate &date) {
    const QDate &month = m_ctx.displayedMonth;
    if (date.year() == month.year() && date.month() == month.month()) ShowMonth(month);
    if (date == m_ctx.clock().today()) refreshTrayTip();
    // A note shown for the day is built again from what the day holds now.
    if (m_hoverDayIndex >= 0 && m_hoverDayIndex < 42 && cellDate(m_hoverDayIndex) == date) {
        const int cell = m_hoverDayIndex;
        m_hoverDayIndex = 99;
        if (m_note->isVisible()) hoverDay(cell);
    }
}

QList<QRect> frmMain::inputLabelRects() const {
    QList<QRect> labels{lblTitle->geometry(), lblTime->geometry()};
    for (QLabel *h : lblHeader) labels << h->geometry();
    for (int i = 0; i < 42; ++i) {
        if (!lblDay[size_t(i)]->text().isEmpty()) labels << lblDay[size_t(i)]->geometry();
        if (lblRokuyo[size_t(i)]->isVisibleTo(this) && !lblRokuyo[size_t(i)]->text().isEmpty())
            labels << lblRokuyo[size_t(i)]->geometry();
    }
    labels << tlbToolbar->geometry();
    return labels; // window pixels: the shape turns them into device pixels
}
