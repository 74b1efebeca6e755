#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class AppContext;
class frmFusen;
class frmFusenEdit;
class frmMenu;
class NoteLoader;
class QTextDocument;
class QWidget;

// The note windows of the run, one per note by name: brought up at start, replaced when a note is saved, closed when
// it is deleted. Carries out the note commands of the popup menu on the note it was opened on.
class NoteWindows : public QObject {
    Q_OBJECT
public:
    NoteWindows(AppContext &ctx, frmMenu &menu, QWidget *calendar);
    ~NoteWindows() override;

    // Every note whose section places it, read on another thread so that the calendar is up and answers first; the
    // windows come up in name order as their notes are read. Notes that cannot be shown, and notes that are no RTF,
    // are named in one message once all are up.
    void ShowAllNotes();
    bool loading() const;
    frmFusen *window(const QString &name) const;
    QList<frmFusen *> windows() const;
    frmFusenEdit *editor() const;
    // The editor on the current note (a new one when it is empty); an open editor's text is dropped only when the
    // user agrees.
    void edit();

signals:
    // ShowAllNotes has brought up every note it could.
    void allShown();

private:
    void show(const QString &name, std::unique_ptr<QTextDocument> document = {});
    void addCommands();
    void deleteNote(const QString &name);
    void align(int alignment);
    void size(int sizing);

    AppContext &m_ctx;
    frmMenu &m_menu;
    QWidget *m_calendar;
    QMap<QString, QPointer<frmFusen>> m_windows;
    QPointer<frmFusenEdit> m_editor;
    NoteLoader *m_loader = nullptr;
};
