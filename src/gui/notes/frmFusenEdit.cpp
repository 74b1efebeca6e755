#include "gui/notes/frmFusenEdit.h"

#include "core/notes/NoteArrangement.h"
#include "core/notes/NoteDocument.h"
#include "core/notes/NoteStore.h"
#include "core/notes/RtfReader.h"
#include "core/notes/RtfWriter.h"
#include "core/program/AppContext.h"
#include "core/system/AtomicFile.h"
#include "core/system/Clock.h"
#include "core/system/Prompts.h"
#include "core/system/Twips.h"
#include "core/view/FontSettings.h"
#include "gui/notes/FlowLayout.h"
#include "gui/notes/FolderTab.h"
#include "gui/notes/NoteTextEdit.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

// The toolbar's faces: a short sign of each command, drawn here.
QIcon glyphIcon(const QString &text, const QFont &font, const QColor &ink, const QColor &underline = QColor()) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRect(0, 0, 20, underline.isValid() ? 16 : 20), Qt::AlignCenter, text);
    if (underline.isValid()) p.fillRect(QRect(3, 16, 14, 3), underline);
    return QIcon(pixmap);
}

// The desktop icon theme's names of the standard commands.
QString standardIconName(const QString &key) {
    static const std::pair<const char *, const char *> names[] = {
        {"新規作成", "document-new"}, {"開く", "document-open"}, {"保存", "document-save"},
        {"印刷", "document-print"},   {"元に戻す", "edit-undo"}, {"ｺﾋﾟｰ", "edit-copy"},
        {"貼り付け", "edit-paste"},   {"切り取り", "edit-cut"},  {"削除", "edit-delete"},
    };
    for (const auto &[caption, name] : names)
        if (key == QString::fromUtf8(caption)) return QString::fromLatin1(name);
    return QString();
}

const char *const kFolderColors[] = {"青色", "緑色", "紫色", "赤色", "白色", "黄色", "黒色"};

QIcon folderIcon(const QString &colour) {
    FolderTab tab;
    tab.setFolderColor(colour);
    QPixmap pixmap(tab.size());
    pixmap.fill(Qt::transparent);
    tab.render(&pixmap, QPoint(), QRegion(), QWidget::DrawChildren);
    return QIcon(pixmap);
}

} // namespace

frmFusenEdit::frmFusenEdit(AppContext &ctx, QWidget *parent) : QWidget(parent, Qt::Window), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmFusenEdit"));
    setWindowTitle(Utf8("付箋"));
    setAttribute(Qt::WA_DeleteOnClose);

    // The buttons wrap to further rows in a narrow editor instead of hiding behind an overflow arrow.
    tlbToolbar = new QWidget(this);
    tlbToolbar->setObjectName(QStringLiteral("tlbToolbar"));
    auto *flow = new FlowLayout(tlbToolbar);
    const auto addButton = [this, flow](QToolButton *button) {
        button->setAutoRaise(true);
        button->setIconSize(QSize(20, 20));
        button->setFocusPolicy(Qt::NoFocus);
        flow->addWidget(button);
    };
    QFont face = font();
    face.setPointSizeF(10);
    QFont strong = face;
    strong.setBold(true);
    const struct {
        const char *key;
        const char *glyph;
        int style; // 0 plain, 1 bold, 2 italic, 3 underline
    } buttons[] = {
        {"付箋に保存", "付", 1}, {"新規作成", "新", 0}, {"開く", "開", 0},     {"保存", "保", 0},
        {"印刷", "印", 0},       {"終了", "終", 0},     {nullptr, nullptr, 0}, {"元に戻す", "↶", 1},
        {"ｺﾋﾟｰ", "写", 0},       {"貼り付け", "貼", 0}, {"切り取り", "切", 0}, {"削除", "消", 0},
        {nullptr, nullptr, 0},   {"ﾌｫﾝﾄ", "A", 0},      {"太字", "B", 1},      {"斜体", "I", 2},
        {"下線", "U", 3},        {"ﾌｫﾝﾄ色", "A", 1},    {"背景色", "■", 0},
    };
    for (const auto &b : buttons) {
        if (!b.key) {
            auto *line = new QFrame(tlbToolbar);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            line->setFixedSize(8, 26);
            flow->addWidget(line);
            continue;
        }
        QFont f = b.style == 1 ? strong : face;
        f.setItalic(b.style == 2);
        f.setUnderline(b.style == 3);
        const QString key = Utf8(b.key);
        QColor ink = palette().color(QPalette::WindowText);
        if (key == Utf8("付箋に保存")) ink = QColor(0x3a, 0x6e, 0xa5);
        const QIcon own = glyphIcon(Utf8(b.glyph), f, ink, key == Utf8("ﾌｫﾝﾄ色") ? QColor(Qt::red) : QColor());
        // The standard commands look as they do everywhere on this desktop; the program's own signs otherwise.
        const QString themed = standardIconName(key);
        auto *a = new QAction(themed.isEmpty() ? own : QIcon::fromTheme(themed, own), key, tlbToolbar);
        auto *button = new QToolButton(tlbToolbar);
        button->setDefaultAction(a);
        addButton(button);
        a->setObjectName(key);
        a->setToolTip(key);
        connect(a, &QAction::triggered, this, [this, key] { run(key); });
    }
    // Button 20: the folder colour, chosen from its drop-down.
    folderButton = new QToolButton(tlbToolbar);
    folderButton->setObjectName(Utf8("フォルダ色"));
    folderButton->setToolTip(Utf8("フォルダ色"));
    folderButton->setAccessibleName(Utf8("フォルダ色")); // it shows only a picture
    folderButton->setPopupMode(QToolButton::InstantPopup);
    auto *colours = new QMenu(folderButton);
    for (int i = 0; i < 7; ++i) {
        QAction *a = colours->addAction(folderIcon(Utf8(kFolderColors[i])), Utf8(kFolderColors[i]));
        a->setObjectName(Utf8(kFolderColors[i]));
        connect(a, &QAction::triggered, this, [this, i] { setFolderColor(FolderColor(i)); });
    }
    folderButton->setMenu(colours);
    addButton(folderButton);

    // The text area stays right under the toolbar however the toolbar wraps: the layout keeps it there.
    rtbFusen = new NoteTextEdit(this);
    rtbFusen->setObjectName(QStringLiteral("rtbFusen"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tlbToolbar);
    layout->addWidget(rtbFusen);
    resize(ToPixels(QSize(5400, 4200)));

    if (!ctx.currentNoteName.isEmpty()) {
        sub_Fusen_Show(ctx.paths().noteFolderPath, ctx.currentNoteName);
        m_mode = Mode::Mod;
    } else {
        // A new note is named after the moment the editor opened.
        newNote(false);
        m_ctx.currentNoteName = ctx.notes().newNoteName(ctx.clock().now());
    }
}

void frmFusenEdit::sub_Fusen_Show(const QString &folder, const QString &name) {
    const QString path = QDir(folder).filePath(name);
    rtbFusen->clear();
    m_textFile.clear();
    const RegularFileRead read = NoteStore::readFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (read.ok()) {
        if (ReadNoteDocument(read.bytes, *rtbFusen->document()) == NoteFormat::PlainText) {
            // Saved as it is, the file would become RTF: the save asks first.
            m_textFile = QFileInfo(path).absoluteFilePath();
            m_ctx.prompts().information(Utf8("「%1」は RTF ではないため、テキストとして開きました。").arg(shown));
        }
    } else if (read.status == RegularFileRead::Status::NotRegular) {
        m_ctx.prompts().information(Utf8("「%1」は通常のファイルではない（リンクなど）ため、開きません。").arg(shown));
    } else if (read.status == RegularFileRead::Status::TooLarge) {
        m_ctx.prompts().information(Utf8("「%1」は 16 MB を超えるため、開きません。").arg(shown));
    } else if (read.status == RegularFileRead::Status::Unreadable) {
        m_ctx.prompts().information(Utf8("ファイルを読み込めませんでした。\r\n") + shown);
    }
    m_settings = m_ctx.notes().read(name, true);
    // A file without settings keeps the editor's own size and colours.
    const QSize text = m_settings.textSize();
    const QSize form = m_settings.formSize();
    if (form.width() > 0 && form.height() > 0) resize(ToPixels(form));
    if (const std::optional<QPoint> at = m_settings.position()) {
        move(ToPixels(*at));
        m_placed = true;
    }
    if (text.isValid() && text.width() > 0 && !m_settings.Fusen_Back_Color.isEmpty()) {
        QPalette palette = rtbFusen->palette();
        palette.setColor(QPalette::Base, m_settings.backColor());
        rtbFusen->setPalette(palette);
    }
    setFolderColor(m_settings.folderColor().value_or(FolderColor::Blue));
}

void frmFusenEdit::newNote(bool keepText) {
    if (!keepText) rtbFusen->clear();
    m_mode = Mode::Add;
    // Named at the next save.
    m_ctx.currentNoteName.clear();
    m_settings.Fusen_Disp = QStringLiteral("0");
    if (!m_settings.folderColor()) setFolderColor(FolderColor::Blue);
}

void frmFusenEdit::setFolderColor(FolderColor color) {
    m_settings.setFolderColor(color);
    folderButton->setIcon(folderIcon(FolderColorText(color)));
}

bool frmFusenEdit::mayReplace(const QString &path) {
    if (m_textFile.isEmpty() || QFileInfo(path).absoluteFilePath() != m_textFile) return true;
    if (m_ctx.prompts().question(Utf8("「%1」は RTF ではありません。RTF で上書きしてもよろしいですか？")
                                     .arg(QDir::toNativeSeparators(path))) != Prompts::Answer::Yes)
        return false;
    m_textFile.clear();
    return true;
}

bool frmFusenEdit::saveAsNote() {
    NoteStore &store = m_ctx.notes();
    if (m_ctx.currentNoteName.isEmpty()) m_ctx.currentNoteName = store.newNoteName(m_ctx.clock().now());
    const QString name = m_ctx.currentNoteName;
    if (!mayReplace(store.filePath(name))) return false;
    m_settings.setBackColor(rtbFusen->palette().color(QPalette::Base));
    m_settings.setTextSize(ToTwips(rtbFusen->size()));
    m_settings.setFormSize(ToTwips(size()));
    if (m_settings.Fusen_Disp.isEmpty()) m_settings.Fusen_Disp = QStringLiteral("0");
    if (!m_settings.position()) {
        // A new note goes beside the calendar, clear of the other notes, and keeps that place from now on.
        QList<QRect> others;
        for (const QString &other : store.notesToShow()) {
            const NoteSettings s = store.read(other, false);
            if (const std::optional<QPoint> at = s.position()) others << QRect(*at, s.textSize());
        }
        const QWidget *calendar = parentWidget();
        const QScreen *screen = calendar && calendar->screen() ? calendar->screen() : QGuiApplication::primaryScreen();
        const QRect screenTwips = ToTwips(screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
        const QRect calendarTwips = calendar ? ToTwips(calendar->frameGeometry()) : QRect();
        m_settings.setPosition(PlaceNewNote(calendarTwips, others, m_settings.textSize(), screenTwips));
    }
    if (!store.saveNote(name, shownRtf(), m_settings)) return false;
    raise();
    activateWindow();
    return true;
}

void frmFusenEdit::print(QPrinter &printer) const {
    const QTextCursor cursor = rtbFusen->textCursor();
    std::unique_ptr<QTextDocument> shown(rtbFusen->document()->clone());
    if (cursor.hasSelection()) {
        shown->clear();
        QTextCursor(shown.get()).insertFragment(cursor.selection());
    }
    // Laid out on the printer's page at the size it has on the screen: Qt numbers the pages only of a document it
    // has to break into pages itself, and a note is printed as it is shown.
    const qreal toScreen = qreal(logicalDpiX()) / printer.logicalDpiX();
    shown->setPageSize(QSizeF(printer.width(), printer.height()) * toScreen);
    shown->print(&printer);
}

QByteArray frmFusenEdit::shownRtf() const {
    // Text left in the theme's colour gets that colour written down: beside the stored background, a dark theme's
    // light text would otherwise turn black under a light theme, on the dark background.
    std::unique_ptr<QTextDocument> shown(rtbFusen->document()->clone());
    const QColor text = rtbFusen->palette().color(QPalette::Text);
    for (QTextBlock block = shown->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().hasProperty(QTextFormat::ForegroundBrush)) continue;
            QTextCursor cursor(shown.get());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat colour;
            colour.setForeground(text);
            cursor.mergeCharFormat(colour);
        }
    }
    return WriteRtf(*shown);
}

QAction *frmFusenEdit::action(const QString &key) const {
    return tlbToolbar->findChild<QAction *>(key);
}

void frmFusenEdit::run(const QString &key) {
    Prompts &prompts = m_ctx.prompts();
    QTextCursor cursor = rtbFusen->textCursor();
    const QTextCharFormat current = cursor.charFormat();
    const QString filter = Utf8("ﾘｯﾁﾃｷｽﾄ ﾌｧｲﾙ (*.rtf)");
    const auto startFile = [this] {
        const QString folder = m_ctx.paths().noteFolderPath;
        const QString named = QDir(folder).filePath(m_ctx.currentNoteName);
        return !m_ctx.currentNoteName.isEmpty() && QFileInfo(named).isFile()
                   ? named
                   : QDir(folder).filePath(m_ctx.notes().newNoteName(m_ctx.clock().now()));
    };
    if (key == Utf8("付箋に保存")) {
        saveAsNote();
    } else if (key == Utf8("新規作成")) {
        newNote(false);
    } else if (key == Utf8("開く")) {
        const QString path = prompts.openFileName(Utf8("開く"), startFile(), filter);
        if (path.isEmpty()) return;
        const QFileInfo chosen(path);
        m_mode = Mode::Add;
        m_ctx.currentNoteName = chosen.fileName();
        sub_Fusen_Show(chosen.absolutePath(), chosen.fileName());
    } else if (key == Utf8("保存")) {
        QString path = prompts.saveFileName(Utf8("保存"), startFile(), filter);
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".rtf");
        if (!mayReplace(path)) return;
        if (!WriteFileAtomically(path, shownRtf())) {
            prompts.information(Utf8("ファイルを保存できませんでした。\r\n") + QDir::toNativeSeparators(path));
            return;
        }
        m_ctx.currentNoteName = QFileInfo(path).fileName();
        m_settings.setBackColor(rtbFusen->palette().color(QPalette::Base));
        m_settings.setTextSize(ToTwips(rtbFusen->size()));
        m_settings.setFormSize(ToTwips(size()));
        m_ctx.notes().writeAll(m_ctx.currentNoteName, m_settings);
    } else if (key == Utf8("印刷")) {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, cursor.hasSelection());
        if (cursor.hasSelection()) dialog.setPrintRange(QAbstractPrintDialog::Selection);
        if (dialog.exec() == QDialog::Accepted) print(printer);
    } else if (key == Utf8("終了")) {
        close();
    } else if (key == Utf8("元に戻す")) {
        rtbFusen->undo();
    } else if (key == Utf8("ｺﾋﾟｰ")) {
        rtbFusen->copy();
    } else if (key == Utf8("貼り付け")) {
        rtbFusen->paste();
    } else if (key == Utf8("切り取り")) {
        rtbFusen->cut();
    } else if (key == Utf8("削除")) {
        cursor.removeSelectedText();
    } else if (key == Utf8("太字") || key == Utf8("斜体") || key == Utf8("下線")) {
        // A selection of mixed runs takes the opposite of where it starts, for all of it.
        QTextCharFormat format;
        if (key == Utf8("太字"))
            format.setFontWeight(current.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
        else if (key == Utf8("斜体"))
            format.setFontItalic(!current.fontItalic());
        else
            format.setFontUnderline(!current.fontUnderline());
        rtbFusen->mergeCurrentCharFormat(format);
    } else if (key == Utf8("ﾌｫﾝﾄ")) {
        const QFont start = m_settings.Fusen_Font_Name.isEmpty() ? current.font() : m_settings.font();
        const std::optional<QFont> answer = prompts.chooseFont(start);
        if (!answer) return;
        // The face under its stored (Windows) name, which the file then carries too: other programs know that name.
        const QFont chosen = KeptFont(*answer, start);
        QTextCharFormat format;
        format.setFont(chosen);
        rtbFusen->mergeCurrentCharFormat(format);
        m_settings.setFont(chosen);
    } else if (key == Utf8("ﾌｫﾝﾄ色")) {
        const QColor start =
            m_settings.Fusen_Font_Color.isEmpty() ? current.foreground().color() : m_settings.fontColor();
        const std::optional<QColor> chosen = prompts.chooseColor(start);
        if (!chosen) return;
        rtbFusen->setTextColor(*chosen);
        m_settings.setFontColor(*chosen);
    } else if (key == Utf8("背景色")) {
        const std::optional<QColor> chosen = prompts.chooseColor(m_lastBackground);
        if (!chosen) return;
        m_lastBackground = *chosen;
        QPalette palette = rtbFusen->palette();
        palette.setColor(QPalette::Base, *chosen);
        rtbFusen->setPalette(palette);
    }
}

void frmFusenEdit::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    rtbFusen->setFocus();
}

void frmFusenEdit::closeEvent(QCloseEvent *event) {
    // Unsaved changes are dropped; an existing note's window shows it as stored.
    if (m_mode == Mode::Mod && !m_ctx.currentNoteName.isEmpty()) emit closedOver(m_ctx.currentNoteName);
    event->accept();
}
