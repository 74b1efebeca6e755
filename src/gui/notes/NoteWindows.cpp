#include "gui/notes/NoteWindows.h"

#include "core/notes/NoteArrangement.h"
#include "core/notes/NoteLoader.h"
#include "core/notes/NoteStore.h"
#include "core/program/AppContext.h"
#include "core/settings/SettingValues.h"
#include "core/system/Prompts.h"
#include "core/system/Twips.h"
#include "gui/calendar/frmMenu.h"
#include "gui/common/SingleWindow.h"
#include "gui/notes/frmFusen.h"
#include "gui/notes/frmFusenEdit.h"

#include <QDir>
#include <QFile>
#include <QMenu>

namespace {

// What start-up could not show as the user left it, for one message.
struct NoteProblems {
    QStringList notRegular, tooLarge, unreadable, plainText;

    QString message() const {
        QString text;
        const auto list = [&text](const QString &heading, const QStringList &names) {
            if (names.isEmpty()) return;
            if (!text.isEmpty()) text += QStringLiteral("\r\n");
            text += heading;
            for (const QString &name : names) text += QStringLiteral("\r\n・") + name;
        };
        list(QStringLiteral("次の付箋は通常のファイルではない（リンクなど）ため、表示しません。"), notRegular);
        list(QStringLiteral("次の付箋は 16 MB を超えるため、読み込みません。"), tooLarge);
        list(QStringLiteral("次の付箋は読み込めませんでした。"), unreadable);
        list(QStringLiteral("次の付箋は RTF ではないため、テキストとして表示しています。"), plainText);
        return text;
    }
};

} // namespace

NoteWindows::NoteWindows(AppContext &ctx, frmMenu &menu, QWidget *calendar)
    : QObject(calendar), m_ctx(ctx), m_menu(menu), m_calendar(calendar) {
    connect(&ctx.notes(), &NoteStore::noteSaved, this, [this](const QString &name) { show(name); });
    connect(&ctx.notes(), &NoteStore::noteDeleted, this, [this](const QString &name) {
        if (frmFusen *w = window(name)) w->close();
        m_windows.remove(name);
    });
    addCommands();
}

NoteWindows::~NoteWindows() {
    // The note windows are top-level windows of their own; they end with the calendar.
    for (frmFusen *w : windows()) delete w;
}

void NoteWindows::ShowAllNotes() {
    if (m_loader) return;
    const NoteStore::FolderScan scan = m_ctx.notes().scanFolder();
    QList<std::pair<QString, QString>> files;
    for (const QString &name : scan.notes) files.append({name, m_ctx.notes().filePath(name)});
    auto problems = std::make_shared<NoteProblems>();
    problems->notRegular = scan.notRegular;
    problems->tooLarge = scan.tooLarge;
    m_loader = new NoteLoader(this);
    m_loader->start(
        files,
        [this, problems](NoteLoader::Note note) {
            if (note.status == RegularFileRead::Status::Ok) {
                if (note.format == NoteFormat::PlainText) problems->plainText << note.name;
                show(note.name, std::move(note.document));
            } else if (note.status == RegularFileRead::Status::TooLarge) {
                problems->tooLarge << note.name; // grown since the folder was looked at
            } else if (note.status == RegularFileRead::Status::NotRegular) {
                problems->notRegular << note.name;
            } else {
                problems->unreadable << note.name;
            }
        },
        [this, problems] {
            if (const QString message = problems->message(); !message.isEmpty()) m_ctx.prompts().information(message);
            emit allShown();
        });
}

bool NoteWindows::loading() const {
    return m_loader && !m_loader->done();
}

frmFusen *NoteWindows::window(const QString &name) const {
    return m_windows.value(name);
}

frmFusenEdit *NoteWindows::editor() const {
    return m_editor;
}

QList<frmFusen *> NoteWindows::windows() const {
    QList<frmFusen *> list;
    for (const QPointer<frmFusen> &w : m_windows)
        if (w) list << w;
    return list;
}

void NoteWindows::show(const QString &name, std::unique_ptr<QTextDocument> document) {
    // A saved note comes back in a new window with its new text and settings.
    if (frmFusen *old = window(name)) old->close();
    auto *w = new frmFusen(m_ctx, name, std::move(document));
    connect(w, &frmFusen::menuRequested, this, [this](const QString &note, const QPoint &at) {
        m_ctx.currentNoteName = note;
        m_menu.popup(QStringLiteral("Fusen"), at);
    });
    connect(w, &frmFusen::editRequested, this, [this](const QString &note) {
        m_ctx.currentNoteName = note;
        m_ctx.commands.run(Command::EditNote);
    });
    m_windows.insert(name, w);
    w->show();
}

void NoteWindows::edit() {
    if (m_editor) {
        if (m_ctx.prompts().question(QString::fromUtf8("現在の編集内容を破棄します。よろしいですか？")) !=
            Prompts::Answer::Yes)
            return;
        const QString name = m_ctx.currentNoteName;
        m_editor->close();
        m_ctx.currentNoteName = name;
    }
    m_editor = new frmFusenEdit(m_ctx, m_calendar);
    connect(m_editor, &frmFusenEdit::closedOver, this, [this](const QString &name) {
        if (!window(name) && QFile::exists(m_ctx.notes().filePath(name))) show(name);
    });
    ShowInFront(m_editor);
}

void NoteWindows::addCommands() {
    CommandDispatcher &commands = m_ctx.commands;
    commands.handle(Command::EditNote, this, [this](const CommandTarget &) { edit(); });
    // The calendar's note button: a new note; an open editor keeps its text, which the next save stores anew.
    commands.handle(Command::Notes, this, [this](const CommandTarget &) {
        if (m_editor) {
            m_ctx.currentNoteName.clear();
            ShowInFront(m_editor);
            return;
        }
        m_ctx.currentNoteName.clear();
        edit();
    });
    commands.handle(Command::FixNotePosition, this, [this](const CommandTarget &) {
        const QString &name = m_ctx.currentNoteName;
        const bool fixed = m_ctx.notes().read(name, false).fixed();
        m_ctx.notes().writeKey(name, QStringLiteral("Fusen_Disp_Position"),
                               fixed ? QStringLiteral("False") : QStringLiteral("True"));
        if (frmFusen *w = window(name)) w->sub_Option_Get();
    });
    commands.handle(Command::DeleteNote, this, [this](const CommandTarget &) { deleteNote(m_ctx.currentNoteName); });
    const std::pair<Command, NoteAlignment> alignments[] = {{Command::AlignNotesLeft, NoteAlignment::Left},
                                                            {Command::AlignNotesRight, NoteAlignment::Right},
                                                            {Command::AlignNotesTop, NoteAlignment::Top},
                                                            {Command::AlignNotesBottom, NoteAlignment::Bottom}};
    for (const auto &[command, alignment] : alignments)
        commands.handle(command, this, [this, a = alignment](const CommandTarget &) { align(int(a)); });
    const std::pair<Command, NoteSizing> sizings[] = {{Command::SameNoteWidth, NoteSizing::Width},
                                                      {Command::SameNoteHeight, NoteSizing::Height},
                                                      {Command::SameNoteSize, NoteSizing::Both}};
    for (const auto &[command, sizing] : sizings)
        commands.handle(command, this, [this, s = sizing](const CommandTarget &) { size(int(s)); });
    const std::pair<Command, FolderColor> colours[] = {
        {Command::NoteFolderBlue, FolderColor::Blue},     {Command::NoteFolderGreen, FolderColor::Green},
        {Command::NoteFolderPurple, FolderColor::Purple}, {Command::NoteFolderRed, FolderColor::Red},
        {Command::NoteFolderWhite, FolderColor::White},   {Command::NoteFolderYellow, FolderColor::Yellow},
        {Command::NoteFolderBlack, FolderColor::Black}};
    for (const auto &[command, colour] : colours)
        commands.handle(command, this, [this, c = colour](const CommandTarget &) {
            const QString &name = m_ctx.currentNoteName;
            if (!m_ctx.notes().writeKey(name, QStringLiteral("Fusen_Folder_Color"), FolderColorText(c))) return;
            if (frmFusen *w = window(name)) w->SetFolderColour(FolderColorText(c));
        });
}

void NoteWindows::deleteNote(const QString &name) {
    const QString path = QDir::toNativeSeparators(m_ctx.notes().filePath(name));
    const Prompts::Answer answer = m_ctx.prompts().question(
        QString::fromUtf8(
            "データファイルも削除します。よろしいですか？\r\nいいえを選択するとデータファイルは削除しません。"
            "\r\nデータファイル：") +
            path + QStringLiteral("\r\n"),
        Prompts::Buttons::YesNoCancel);
    if (answer == Prompts::Answer::Cancel) return;
    if (frmFusen *w = window(name)) w->close();
    m_windows.remove(name);
    const bool withFile = answer == Prompts::Answer::Yes;
    m_ctx.notes().deleteNote(name, withFile);
    if (withFile && QFile::exists(m_ctx.notes().filePath(name)))
        m_ctx.prompts().information(
            QString::fromUtf8("データファイルを削除できませんでした。\r\nファイルを使用中でないか"
                              "確認して下さい。\r\n（データファイルは，手動で削除して下さい。）"));
}

void NoteWindows::align(int alignment) {
    QList<PlacedNote> notes;
    for (frmFusen *w : windows()) notes.append({w->noteName(), w->rectTwips(), w->settings().fixed()});
    for (const PlacedNote &moved : AlignNotes(notes, m_ctx.currentNoteName, NoteAlignment(alignment))) {
        frmFusen *w = window(moved.name);
        const QRect was = w->rectTwips();
        w->move(ToPixels(moved.rect.topLeft()));
        if (moved.rect.left() != was.left())
            m_ctx.notes().writeKey(moved.name, QStringLiteral("Fusen_Left"), SingleText(moved.rect.left()));
        if (moved.rect.top() != was.top())
            m_ctx.notes().writeKey(moved.name, QStringLiteral("Fusen_Top"), SingleText(moved.rect.top()));
    }
}

void NoteWindows::size(int sizing) {
    QList<PlacedNote> notes;
    for (frmFusen *w : windows()) {
        // An expanded window's height is its stored text height less the metric sum; the stored height is compared.
        QRect r = w->rectTwips();
        r.setHeight(w->settings().textSize().height());
        notes.append({w->noteName(), r, w->settings().fixed()});
    }
    for (const PlacedNote &sized : SizeNotes(notes, m_ctx.currentNoteName, NoteSizing(sizing))) {
        frmFusen *w = window(sized.name);
        const NoteSizing s = NoteSizing(sizing);
        if (s != NoteSizing::Height)
            m_ctx.notes().writeKey(sized.name, QStringLiteral("Fusen_Width"), SingleText(sized.rect.width()));
        if (s != NoteSizing::Width)
            m_ctx.notes().writeKey(sized.name, QStringLiteral("Fusen_Height"), SingleText(sized.rect.height()));
        // A folded note keeps its strip and shows the new height when opened.
        w->sub_Form_Resize(w->settings().collapsed() ? 1 : 0);
    }
}
