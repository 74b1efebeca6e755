#include "gui/notes/frmFusen.h"

#include "core/notes/NoteDocument.h"
#include "core/notes/NoteStore.h"
#include "core/notes/RtfReader.h"
#include "core/program/AppContext.h"
#include "core/system/Twips.h"
#include "core/view/MonthLayout.h"
#include "gui/calendar/frmFrame.h"
#include "gui/notes/FolderTab.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// The caption, frame and border of a classic window, in pixels: the stored height counts them, the note shows
// without them.
constexpr int kMetricSum = WindowMetrics::CyFrame + WindowMetrics::CyBorder + WindowMetrics::CyCaption;

} // namespace

frmFusen::frmFusen(AppContext &ctx, const QString &name, std::unique_ptr<QTextDocument> document, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_ctx(ctx), m_name(name) {
    setObjectName(QStringLiteral("frmFusen"));
    setWindowTitle(name);
    setAttribute(Qt::WA_DeleteOnClose);

    rtbFusen = new QTextEdit(this);
    rtbFusen->setObjectName(QStringLiteral("rtbFusen"));
    rtbFusen->setReadOnly(true);
    rtbFusen->setFrameShape(QFrame::NoFrame);
    rtbFusen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rtbFusen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rtbFusen->setTextInteractionFlags(Qt::NoTextInteraction);
    if (!document) {
        document = std::make_unique<QTextDocument>();
        if (const RegularFileRead read = NoteStore::readFile(ctx.notes().filePath(name)); read.ok())
            ReadNoteDocument(read.bytes, *document);
    }
    document->setParent(rtbFusen);
    rtbFusen->setDocument(document.release());

    // The face takes the mouse: drag, double-click to edit, right-click for the menu.
    fraMove = new QWidget(this);
    fraMove->setObjectName(QStringLiteral("fraMove"));
    fraMove->setToolTip(QString::fromUtf8("ダブルクリックで編集できます。"));
    fraMove->installEventFilter(this);

    picButton = new FolderTab(this);
    picButton->setObjectName(QStringLiteral("picButton"));
    connect(picButton, &FolderTab::clicked, this, &frmFusen::toggle);

    sub_Option_Get();
    picButton->setCollapsed(m_settings.collapsed());
    SetFolderColour(m_settings.Fusen_Folder_Color);
    sub_Form_Resize(m_settings.collapsed() ? 1 : 0);
}

frmFusen::~frmFusen() {
    if (m_dragging) QApplication::restoreOverrideCursor();
}

void frmFusen::sub_Option_Get() {
    m_settings = m_ctx.notes().read(m_name, false);
}

void frmFusen::sub_Option_Set() {
    m_ctx.notes().writePlace(m_name, ToTwips(pos()), m_settings.Fusen_Disp);
}

void frmFusen::sub_Form_Resize(int mode) {
    sub_Option_Get();
    if (mode != 0 && mode != 1) return;
    // A note left on a monitor unplugged since, or under a panel, comes back where it can be reached.
    move(OpeningPositionOnScreens(ToPixels(m_settings.position().value_or(QPoint())),
                                  ToPixels(m_settings.textSize()).expandedTo(QSize(1, 1))));
    QPalette palette = rtbFusen->palette();
    palette.setColor(QPalette::Base, m_settings.backColor());
    rtbFusen->setPalette(palette);
    const QSize text = m_settings.textSize();
    const int height = mode == 1 ? picButton->height() : std::max(1, ToPixelsY(text.height() - kMetricSum));
    const int width = std::max(picButton->width(), ToPixelsX(text.width()));
    setFixedSize(width, height);
    rtbFusen->setGeometry(0, 0, width, height);
    fraMove->setGeometry(0, 0, width, height);
    picButton->move(width - picButton->width(), 0);
    picButton->raise();
}

bool frmFusen::SetFolderColour(const QString &name) {
    return picButton->setFolderColor(name);
}

QRect frmFusen::rectTwips() const {
    return ToTwips(geometry());
}

void frmFusen::toggle() {
    const bool collapse = !picButton->collapsed();
    picButton->setCollapsed(collapse);
    m_settings.setCollapsed(collapse);
    sub_Option_Set();
    sub_Form_Resize(collapse ? 1 : 0);
}

void frmFusen::sub_Move_Start(QPoint global) {
    if (m_dragging || m_settings.fixed()) return;
    QApplication::setOverrideCursor(Qt::SizeAllCursor);
    m_origin = global;
    m_outline = std::make_unique<frmFrame>(geometry(), QColor(Qt::gray), false);
    m_outline->hide();
    m_dragging = true;
}

void frmFusen::sub_Move_Refresh(QPoint global) {
    if (!m_dragging || !m_outline) return;
    m_outline->move(pos() + (global - m_origin));
    m_outline->show();
}

void frmFusen::sub_Move_End(QPoint global) {
    if (m_dragging) {
        m_dragging = false;
        if (global != m_origin) move(pos() + (global - m_origin));
        m_outline.reset();
        QApplication::restoreOverrideCursor();
    }
    // Stored also without a move: a press places a note that had no place yet.
    sub_Option_Set();
}

bool frmFusen::eventFilter(QObject *watched, QEvent *event) {
    if (watched != fraMove) return QWidget::eventFilter(watched, event);
    const auto mouse = [event] { return static_cast<QMouseEvent *>(event); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        sub_Option_Get(); // the fixed flag may have changed since
        sub_Move_Start(mouse()->globalPosition().toPoint());
        return true;
    case QEvent::MouseMove:
        sub_Move_Refresh(mouse()->globalPosition().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        sub_Move_End(mouse()->globalPosition().toPoint());
        if (mouse()->button() == Qt::RightButton) emit menuRequested(m_name, mouse()->globalPosition().toPoint());
        return true;
    case QEvent::MouseButtonDblClick:
        emit editRequested(m_name);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
